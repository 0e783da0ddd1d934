#include "MessageLine.h"

#include "ui/Announce.h"
#include "ui/Colours.h"

#include <QLabel>

namespace brindle {

MessageLine::MessageLine(QLabel* label)
    : m_label(label)
{
    setColour(MessageBackColour);
}

void MessageLine::show(const QString& text)
{
    setText(text);
}

void MessageLine::showDuplicate(const QString& text)
{
    setText(text);
    setColour(DuplicateBackColour);
}

void MessageLine::showSpotted(const QString& text)
{
    setText(text);
    setColour(SpottedBackColour);
}

void MessageLine::showKeyboardCw(const QString& text)
{
    setText(text);
    setColour(KeyboardCwBackColour);
}

void MessageLine::setText(const QString& text)
{
    m_label->setText(text);
    // A notice longer than the window is wide (a device's path, a remedy) can still be read whole.
    m_label->setToolTip(text.trimmed());
    // A duplicate, a missing field, an invalid section: the operator hears each as it appears.
    if (!text.trimmed().isEmpty()) {
        announce(m_label);
    }
}

void MessageLine::reset()
{
    m_label->setText(QStringLiteral(" "));
    m_label->setToolTip({});
    setColour(MessageBackColour);
}

void MessageLine::clear()
{
    m_label->clear();
    m_label->setToolTip({});
    setColour(MessageBackColour);
}

void MessageLine::restoreColour()
{
    setColour(MessageBackColour);
}

void MessageLine::setColour(std::uint32_t bgr)
{
    setBackColour(m_label, fromBgr(bgr));
}

} // namespace brindle
