#include "DesignPanel.h"

namespace brindle {

DesignPanel::DesignPanel(QWidget* canvas, const QRect& canvasRect)
    : QWidget(canvas)
    , m_origin(canvasRect.topLeft())
{
    setGeometry(canvasRect);
}

QLabel* DesignPanel::addLabel(const char* name, const QString& text, int left, int top, int width, int height)
{
    auto* label = new QLabel(text, this);
    if (name) {
        label->setObjectName(QString::fromLatin1(name));
    }
    return place(label, left, top, width, height);
}

} // namespace brindle
