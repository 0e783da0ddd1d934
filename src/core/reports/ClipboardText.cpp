#include "ClipboardText.h"

#include "log/ContactList.h"
#include "log/ContestLog.h"

namespace brindle {

namespace {

constexpr std::string_view LineEnd = "\r\n";

} // namespace

std::string clipboardText(const ContestLog& log, const std::vector<int>& listedRecords)
{
    std::string text;
    for (std::size_t column = 0; column < ContactListColumns.size(); ++column) {
        if (column > 0) {
            text += '\t';
        }
        text += ContactListColumns[column].heading;
    }
    text += LineEnd;

    for (auto row = listedRecords.rbegin(); row != listedRecords.rend(); ++row) {
        const int number = *row;
        const bool inLog = number >= 1 && number <= log.count();
        for (int column = 0; column < static_cast<int>(ContactListColumns.size()); ++column) {
            if (column > 0) {
                text += '\t';
            }
            if (inLog) {
                text += contactListText(log.record(number), number, column);
            } else if (column == 0) {
                text += std::to_string(number);
            }
        }
        text += LineEnd;
    }
    return text;
}

} // namespace brindle
