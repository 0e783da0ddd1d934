#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QDialog;
class QWidget;

namespace brindle {

// Every modal question and message the operator sees goes through here, so that windows can be driven
// by tests with scripted answers and nothing ever blocks a test run.
class OperatorDialogs
{
public:
    enum class Buttons
    {
        Ok,
        YesNo,
    };
    enum class Icon
    {
        None,
        Information,
        Question,
        Warning,
        Critical,
    };
    enum class Answer
    {
        Ok,
        Yes,
        No,
    };

    virtual ~OperatorDialogs() = default;

    virtual Answer message(
        const QString& title, const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None)
        = 0;
    // The typed text, or nothing when the operator cancels.
    virtual std::optional<QString> inputBox(const QString& title, const QString& prompt, const QString& initial) = 0;
    // filter is written "Description | pattern", as the file dialogs are described to the operator.
    virtual std::optional<QString> saveFileName(
        const QString& folder, const QString& proposedName, const QString& filter)
        = 0;
    virtual std::optional<QString> openFileName(const QString& folder, const QString& filter) = 0;
    // A folder, starting from folder; nothing when the operator cancels.
    virtual std::optional<QString> chooseFolder(const QString& folder) = 0;
    virtual void beep() = 0;
    // The platform's colour chooser in its full form, starting from a colour (0x00BBGGRR); nothing when
    // the operator cancels.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initialBgr) = 0;
    // Puts text on the clipboard for other programs to paste.
    virtual void setClipboardText(const QString& text) = 0;
    // Shows one of the program's own modal windows and returns when it closes.
    virtual void runModal(QDialog& dialog) = 0;
};

// The real dialogs, modal to a parent window.
class QtOperatorDialogs : public OperatorDialogs
{
public:
    explicit QtOperatorDialogs(QWidget* parent = nullptr);
    void setParent(QWidget* parent);

    Answer message(const QString& title, const QString& text, Buttons buttons, Icon icon) override;
    std::optional<QString> inputBox(const QString& title, const QString& prompt, const QString& initial) override;
    std::optional<QString> saveFileName(
        const QString& folder, const QString& proposedName, const QString& filter) override;
    std::optional<QString> openFileName(const QString& folder, const QString& filter) override;
    std::optional<QString> chooseFolder(const QString& folder) override;
    void beep() override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initialBgr) override;
    void setClipboardText(const QString& text) override;
    void runModal(QDialog& dialog) override;

private:
    QWidget* m_parent;
};

// "Log Files (*.log) | *.log" as a Qt name filter: "Log Files (*.log)".
QString qtNameFilter(const QString& filter);

// CR LF and lone CR as the line breaks Qt's widgets draw.
QString displayLineBreaks(QString text);

} // namespace brindle
