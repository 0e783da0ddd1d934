#pragma once

#include <QDialog>

#include <string>

class QPlainTextEdit;
class QPushButton;

namespace brindle {

class FileSystem;

// The help page: the program's help text, "readDX.txt" in the working folder, to read and scroll.
class HelpDialog : public QDialog
{
    Q_OBJECT

public:
    HelpDialog(const std::string& workingDir, FileSystem& fs, QWidget* parent = nullptr);

    QPlainTextEdit* m_helpText = nullptr;
    QPushButton* m_closeButton = nullptr;
};

inline constexpr const char* HelpFileName = "readDX.txt";

} // namespace brindle
