#include "CwMessagesWindow.h"

#include "common/QtText.h"
#include "keying/CwKeyer.h"
#include "keying/CwMessages.h"
#include "ui/ClickableLabel.h"
#include "ui/KeyRouting.h"
#include "ui/WindowScaling.h"

#include <QEvent>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

namespace brindle {

namespace {

constexpr std::size_t KeyboardLine = CwMessagesWindow::LineCount - 1;

} // namespace

CwMessagesWindow::CwMessagesWindow(CwKeyer& keyer, KeyPreview& keys, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_keyer(keyer)
{
    setObjectName(QStringLiteral("CwMessagesWindow"));
    setWindowTitle(QStringLiteral("CW Strings"));
    resize(designRect(0, 0, 4800, 4500).size());
    auto* layout = new QVBoxLayout(this);
    auto* lines = new QGridLayout;
    for (std::size_t i = 0; i < LineCount; ++i) {
        const QString key = QStringLiteral("F%1").arg(i + 1);
        auto* caption = new ClickableLabel(key, this);
        caption->setObjectName(QStringLiteral("keyCaption_") + key);
        auto* message = new ClickableLabel(this);
        message->setObjectName(QStringLiteral("messageLabel_") + key);
        // A message is shown as typed, whatever it looks like.
        message->setTextFormat(Qt::PlainText);
        for (ClickableLabel* label : { caption, message }) {
            label->setCursor(Qt::PointingHandCursor);
            connect(label, &ClickableLabel::clicked, this, [this, i] { sendMessageOfLine(i); });
        }
        lines->addWidget(caption, static_cast<int>(i), 0);
        lines->addWidget(message, static_cast<int>(i), 1);
        m_keyCaptions[i] = caption;
        m_messageLabels[i] = message;
    }
    lines->setColumnStretch(1, 1);
    m_messageLabels[KeyboardLine]->setText(QStringLiteral("Keyboard"));
    layout->addLayout(lines);
    layout->addStretch();
    layout->addWidget(new QLabel(QStringLiteral("Press Ctrl W to Show this form."), this));

    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("doneButton"));
    connect(m_doneButton, &QPushButton::clicked, this, &QWidget::showMinimized);
    layout->addWidget(m_doneButton, 0, Qt::AlignHCenter);

    // Done is the one control that takes the focus, so every key pressed here meets the main window's
    // handling first: function keys, the speed arrows, Esc, Ctrl shortcuts and keyboard CW.
    setFocusProxy(m_doneButton);
    m_keys = new KeyRouter(this, &keys);
    m_keys->preview(m_doneButton);

    scaleByScreenRule(*this, screenGeometryOf(*this));
}

void CwMessagesWindow::showEvent(QShowEvent* event)
{
    showMessages();
    QWidget::showEvent(event);
}

void CwMessagesWindow::changeEvent(QEvent* event)
{
    // The messages may have been changed in the CW keyer window meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        showMessages();
    }
    QWidget::changeEvent(event);
}

void CwMessagesWindow::showMessages()
{
    const CwSettings& settings = m_keyer.settings();
    for (std::size_t i = 0; i < settings.messages.size(); ++i) {
        m_messageLabels[i]->setText(toQString(settings.messages[i]));
    }
}

void CwMessagesWindow::sendMessageOfLine(std::size_t index)
{
    if (m_keyer.settings().keying == CwKeying::None || index == KeyboardLine) {
        return;
    }
    m_keyer.sendMessage(keyerCodeOf(cwkeys::F1 + static_cast<int>(index)));
}

} // namespace brindle
