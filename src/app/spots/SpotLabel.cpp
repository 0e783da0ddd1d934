#include "SpotLabel.h"

#include "common/DateText.h"
#include "common/QtText.h"
#include "spots/BandMapScale.h"
#include "ui/Colours.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace brindle {

SpotLabel::SpotLabel(int slot, QWidget* parent)
    : QLabel(parent)
    , m_slot(slot)
{
    setAlignment(Qt::AlignCenter);
    // Tab reaches a spot, a click never takes the keyboard: the operator clicks spots while typing a call,
    // and the call field's leave steps must not run on the half-typed call.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    hide();
}

QColor SpotLabel::colourFor(std::uint32_t ageColour, bool worked)
{
    const QColor colour = fromBgr(ageColour);
    if (!worked) {
        return colour;
    }
    // Half way to the strip's blue: still readable, plainly not a station to call.
    return QColor((colour.red() + MapBack.red()) / 2, (colour.green() + MapBack.green()) / 2,
        (colour.blue() + MapBack.blue()) / 2);
}

void SpotLabel::showSpot(
    const SpotRecord& spot, std::uint32_t ageColour, bool worked, double utcHours, const DateTime& now)
{
    const QString tip = toQString(spotTipText(spot.call, spot.freqMHz, *spot.receivedAt, utcHours));
    setText(toQString(spot.mapLabel));
    setToolTip(worked ? tip + QStringLiteral("  worked") : tip);
    const long long minutes = secondsBetween(*spot.receivedAt, now) / 60;
    setAccessibleName(QStringLiteral("%1, %2 MHz, %3 minutes old%4")
                                .arg(toQString(spot.call), toQString(mapFrequencyText(spot.freqMHz)))
                                .arg(std::max(0LL, minutes))
                                .arg(worked ? QStringLiteral(", worked") : QString()));
    setTextColour(this, colourFor(ageColour, worked));
}

void SpotLabel::placeCentredAt(int x, int bottom, QSize size)
{
    setGeometry(x - size.width() / 2, bottom - size.height(), size.width(), size.height());
}

void SpotLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        emit tuneRequested(m_slot);
    } else {
        emit withdrawRequested(m_slot);
    }
    event->accept();
}

void SpotLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit tuneRequested(m_slot);
        return;
    case Qt::Key_Delete:
        emit withdrawRequested(m_slot);
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void SpotLabel::enterEvent(QEnterEvent* event)
{
    emit hovered(m_slot);
    QLabel::enterEvent(event);
}

void SpotLabel::focusInEvent(QFocusEvent* event)
{
    // Reached from the keyboard, the spot is described where the mouse would have shown it.
    emit hovered(m_slot);
    QLabel::focusInEvent(event);
}

void SpotLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace brindle
