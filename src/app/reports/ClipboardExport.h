#pragma once

#include <vector>

namespace brindle {

class ContestLog;
class OperatorDialogs;

// File › "&Copy Listed Items to Clipboard": the rows of the contact list, given as the record numbers in
// the order the list shows them, onto the clipboard as tab-separated text.
void copyListToClipboard(const ContestLog& log, const std::vector<int>& listedRecords, OperatorDialogs& dialogs);

} // namespace brindle
