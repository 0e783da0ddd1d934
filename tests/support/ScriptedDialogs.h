#pragma once

#include "common/OperatorDialogs.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace brindle::test {

// Operator dialogs that answer from a script and record everything shown, so a window test can check
// titles and texts word for word and never waits on a modal box.
class ScriptedDialogs : public OperatorDialogs
{
public:
    struct Shown
    {
        QString kind; // "message", "input", "save", "open", "colour"
        QString title;
        QString text;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        QString folder;
        QString proposed;
        QString filter;
    };

    // Answers for Yes/No messages, input boxes and file dialogs, taken in order. A Yes/No message with
    // no scripted answer fails the test: every question must be expected.
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<std::optional<QString>> files;

    // What the operator does in one of the program's modal windows; the window is shown, not executed.
    std::function<void(QDialog&)> onModal;

    // What the colour chooser returns, in order; nothing is a cancel.
    std::deque<std::optional<std::uint32_t>> colours;

    std::vector<Shown> shown;
    int beeps = 0;
    QString clipboard;

    Answer message(const QString& title, const QString& text, Buttons buttons, Icon icon) override
    {
        shown.push_back({ QStringLiteral("message"), title, text, buttons, icon, {}, {}, {} });
        if (buttons == Buttons::Ok) {
            return Answer::Ok;
        }
        return take(answers, "Yes/No answer");
    }

    std::optional<QString> inputBox(const QString& title, const QString& prompt, const QString& initial) override
    {
        shown.push_back({ QStringLiteral("input"), title, prompt, Buttons::Ok, Icon::None, {}, initial, {} });
        return take(inputs, "input");
    }

    std::optional<QString> saveFileName(
        const QString& folder, const QString& proposedName, const QString& filter) override
    {
        shown.push_back({ QStringLiteral("save"), {}, {}, Buttons::Ok, Icon::None, folder, proposedName, filter });
        return take(files, "file name");
    }

    std::optional<QString> openFileName(const QString& folder, const QString& filter) override
    {
        shown.push_back({ QStringLiteral("open"), {}, {}, Buttons::Ok, Icon::None, folder, {}, filter });
        return take(files, "file name");
    }

    std::optional<QString> chooseFolder(const QString& folder) override
    {
        shown.push_back({ QStringLiteral("folder"), {}, {}, Buttons::Ok, Icon::None, folder, {}, {} });
        return take(files, "folder");
    }

    void beep() override
    {
        ++beeps;
    }

    std::optional<std::uint32_t> chooseColour(std::uint32_t initialBgr) override
    {
        shown.push_back(
            { QStringLiteral("colour"), {}, QString::number(initialBgr), Buttons::Ok, Icon::None, {}, {}, {} });
        return take(colours, "colour");
    }

    void setClipboardText(const QString& text) override
    {
        clipboard = text;
    }

    void runModal(QDialog& dialog) override
    {
        if (!onModal) {
            throw std::logic_error("unexpected modal window: " + dialog.objectName().toStdString());
        }
        dialog.show();
        onModal(dialog);
    }

    QStringList titles() const
    {
        QStringList result;
        for (const Shown& s : shown) {
            result << s.title;
        }
        return result;
    }

private:
    template <class T> static T take(std::deque<T>& queue, const char* what)
    {
        if (queue.empty()) {
            throw std::logic_error(std::string("unexpected dialog: no scripted ") + what);
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

} // namespace brindle::test
