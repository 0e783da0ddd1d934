#include "ClipboardExport.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "reports/ClipboardText.h"

namespace brindle {

void copyListToClipboard(const ContestLog& log, const std::vector<int>& listedRecords, OperatorDialogs& dialogs)
{
    dialogs.setClipboardText(toQString(clipboardText(log, listedRecords)));
}

} // namespace brindle
