#include "OperatorDialogs.h"

#include "ui/Colours.h"
#include "ui/StorableText.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

#include <algorithm>

namespace brindle {

namespace {

// The characters of a line of a wrapped prompt, about.
constexpr int PromptLineLength = 60;

} // namespace

QString qtNameFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        filters << (description.contains(QLatin1Char('(')) ? description
                                                           : description + QStringLiteral(" (") + pattern + ")");
    }
    return filters.join(QStringLiteral(";;"));
}

QString displayLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QtOperatorDialogs::QtOperatorDialogs(QWidget* parent)
    : m_parent(parent)
{
}

void QtOperatorDialogs::setParent(QWidget* parent)
{
    m_parent = parent;
}

OperatorDialogs::Answer QtOperatorDialogs::message(
    const QString& title, const QString& text, Buttons buttons, Icon icon)
{
    static constexpr QMessageBox::Icon icons[] = { QMessageBox::NoIcon, QMessageBox::Information, QMessageBox::Question,
        QMessageBox::Warning, QMessageBox::Critical };
    QMessageBox box(icons[static_cast<int>(icon)], title, displayLineBreaks(text),
        buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, m_parent);
    const int pressed = box.exec();
    if (buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString> QtOperatorDialogs::inputBox(const QString& title, const QString& prompt, const QString& initial)
{
    QInputDialog box(m_parent);
    box.setWindowTitle(title);
    box.setLabelText(displayLineBreaks(prompt));
    box.setTextValue(initial);
    // A long prompt wraps onto a few lines of comfortable length rather than stretching the box across
    // the screen; a short one stays on its line.
    if (auto* promptLabel = box.findChild<QLabel*>()) {
        promptLabel->setWordWrap(true);
        const QFontMetrics metrics = promptLabel->fontMetrics();
        promptLabel->setMinimumWidth(
            std::min(metrics.horizontalAdvance(promptLabel->text()), metrics.averageCharWidth() * PromptLineLength));
    }
    // An answer goes into the files too (an ADIF comment, a power): only what they can hold is taken.
    refuseUnstorableText(box, *this);
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.textValue();
}

std::optional<QString> QtOperatorDialogs::saveFileName(
    const QString& folder, const QString& proposedName, const QString& filter)
{
    // QFileDialog asks before overwriting an existing file unless told not to.
    const QString chosen
        = QFileDialog::getSaveFileName(m_parent, QString(), QDir(folder).filePath(proposedName), qtNameFilter(filter));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

std::optional<QString> QtOperatorDialogs::openFileName(const QString& folder, const QString& filter)
{
    const QString chosen = QFileDialog::getOpenFileName(m_parent, QString(), folder, qtNameFilter(filter));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

std::optional<QString> QtOperatorDialogs::chooseFolder(const QString& folder)
{
    const QString chosen = QFileDialog::getExistingDirectory(m_parent, QString(), folder);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

void QtOperatorDialogs::beep()
{
    QApplication::beep();
}

std::optional<std::uint32_t> QtOperatorDialogs::chooseColour(std::uint32_t initialBgr)
{
    const QColor chosen = QColorDialog::getColor(fromBgr(initialBgr), m_parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return toBgr(chosen);
}

void QtOperatorDialogs::setClipboardText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

void QtOperatorDialogs::runModal(QDialog& dialog)
{
    dialog.exec();
}

} // namespace brindle
