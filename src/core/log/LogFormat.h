#pragma once

#include "ContestLog.h"

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// Why the log file could not be loaded. The operator sees one message for all of them; the reason is
// for tests and for whoever reads the code.
enum class LogLoadFailure
{
    Unreadable, // missing, or could not be opened
    ShortRecord, // the data ended inside a record
    StrayQuote, // a double quote inside a field, or one never closed
    TooManyRecords, // more than the log's capacity
    TooManySections, // more distinct sections on one band than a tally holds
};

struct ParsedLog
{
    ContestLog log;
    std::optional<LogLoadFailure> failure;
};

// Reads "log.txt" content: nine fields a record, one record after another. Blank lines between records
// are passed over. Each record is taken as formatRecord stores it: a line end inside quotes is dropped.
ParsedLog parseLog(std::string_view content);

// One record as a line of the log file: nine fields, each in double quotes, separated by commas, ending
// with CR LF. Quotes and line ends inside fields are dropped here, the one place records are written.
std::string formatRecord(const QsoRecord& record);

// The whole file for a log.
std::string formatLog(const ContestLog& log);

} // namespace brindle
