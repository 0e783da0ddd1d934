#include "ContactList.h"

#include "common/DateText.h"
#include "common/Text.h"

#include <algorithm>

namespace brindle {

namespace {

constexpr int RecentCount = 20;

} // namespace

std::vector<int> recentContacts(int count, bool listAll)
{
    const int first = listAll || count < RecentCount ? 1 : count - RecentCount + 1;
    std::vector<int> numbers;
    numbers.reserve(static_cast<std::size_t>(std::max(0, count - first + 1)));
    for (int number = count; number >= first; --number) {
        numbers.push_back(number);
    }
    return numbers;
}

std::string contactListText(const QsoRecord& record, int number, int column)
{
    switch (column) {
    case 0:
        return std::to_string(number);
    case 1:
        return record.call;
    case 2:
        return record.rstRcvd;
    case 3:
        return record.section;
    case 4:
        return record.rstSent;
    case 5:
        if (const auto date = readDate(record.qsoDate)) {
            return twoDigits(date->month) + "/" + twoDigits(date->day);
        }
        return record.qsoDate;
    case 6:
        if (const auto time = readTimeOfDay(record.qsoTime)) {
            return formatHourMinute(*time);
        }
        return record.qsoTime;
    case 7:
        return record.band;
    case 8:
        return record.country;
    default:
        return {};
    }
}

} // namespace brindle
