#include "LogFormat.h"

#include "common/FieldReader.h"
#include "common/Text.h"

namespace brindle {

ParsedLog parseLog(std::string_view content)
{
    ParsedLog parsed;
    FieldReader reader(content);
    FieldReader::Field field;
    for (;;) {
        reader.skipBlankLines();
        if (reader.atEnd()) {
            return parsed;
        }
        QsoRecord record;
        for (int i = 0; i < QsoRecord::FieldCount; ++i) {
            switch (reader.next(field)) {
            case FieldReader::Status::Ok:
                // Quotes span lines, so a hand-edited log or an archive can carry a line break inside a
                // field. The record is otherwise whole: it is kept as the writer would have stored it,
                // and no line break reaches an export.
                if (!isStorableText(field.text)) {
                    field.text = storableText(field.text);
                }
                record.field(i) = std::move(field.text);
                break;
            case FieldReader::Status::PastEnd:
                parsed.failure = LogLoadFailure::ShortRecord;
                return parsed;
            case FieldReader::Status::UnterminatedQuote:
            case FieldReader::Status::TextAfterQuote:
                parsed.failure = LogLoadFailure::StrayQuote;
                return parsed;
            }
        }
        if (!parsed.log.append(std::move(record))) {
            parsed.failure = LogLoadFailure::TooManyRecords;
            return parsed;
        }
    }
}

std::string formatRecord(const QsoRecord& record)
{
    const QsoRecord storable = storableRecord(record);
    std::string line;
    line.reserve(96);
    for (int i = 0; i < QsoRecord::FieldCount; ++i) {
        if (i > 0) {
            line += ',';
        }
        line += '"';
        line += storable.field(i);
        line += '"';
    }
    line += "\r\n";
    return line;
}

std::string formatLog(const ContestLog& log)
{
    std::string content;
    content.reserve(static_cast<std::size_t>(log.count()) * 80);
    for (const QsoRecord& record : log.records()) {
        content += formatRecord(record);
    }
    return content;
}

} // namespace brindle
