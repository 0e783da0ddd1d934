#include "ClickableLabel.h"

#include <QMouseEvent>

namespace brindle {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::enterEvent(QEnterEvent* event)
{
    emit entered();
    QLabel::enterEvent(event);
}

} // namespace brindle
