#pragma once

#include <QDialog>

#include <string>

class QPlainTextEdit;
class QPushButton;

namespace brindle {

class FileSystem;

// The help page: the program's help text, "readDX.txt" in the working folder, to read and scroll.
class Form5 : public QDialog
{
    Q_OBJECT

public:
    Form5(const std::string& workingDir, FileSystem& fs, QWidget* parent = nullptr);

    void Command1_Click();

    QPlainTextEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr; // "Close"
};

inline constexpr const char* HelpFileName = "readDX.txt";

} // namespace brindle
