#pragma once

#include <string>
#include <vector>

namespace brindle {

class ContestLog;

// The main window's contact list as tab-separated text for other programs to paste: the column headings,
// then the listed rows from the bottom one up, every line ending in CR LF. listedRecords are the record
// numbers of the rows in the order the list shows them; a number no longer in the log shows itself and
// nothing else, as its row does.
std::string clipboardText(const ContestLog& log, const std::vector<int>& listedRecords);

} // namespace brindle
