#pragma once

class QWidget;

namespace brindle {

class OperatorDialogs;

// The program's files hold 8-bit text, so a character outside Latin-1 cannot be stored: it would
// become a "?". Every text field under window refuses such a character as it is typed or pasted, with a
// beep, so what the operator sees is what is kept.
void refuseUnstorableText(QWidget& window, OperatorDialogs& dialogs);

} // namespace brindle
