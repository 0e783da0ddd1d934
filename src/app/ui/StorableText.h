#pragma once

class QWidget;

namespace brindle {

class OperatorDialogs;

// How a window's texts are kept in its file.
enum class StoredAs
{
    Plain,
    // Inside double quotes, which therefore cannot stand in the text: the file would end the value there.
    Quoted,
};

// The program's files hold 8-bit text, so a character outside Latin-1 cannot be stored: it would
// become a "?". Every text field under window refuses such a character as it is typed or pasted, with a
// beep, so what the operator sees is what is kept; fields kept in quotes refuse a double quote too.
void refuseUnstorableText(QWidget& window, OperatorDialogs& dialogs, StoredAs stored = StoredAs::Plain);

} // namespace brindle
