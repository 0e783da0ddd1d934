#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace brindle::form1 {

// The main window is drawn on the design canvas, 640 × 480 design pixels (9,600 × 7,200 twips), and
// scaled to the screen at start-up. These place its controls there.

template <class W> W* placed(W* widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    return widget;
}

inline QLabel* label(
    QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height = 14)
{
    auto* shown = new QLabel(text, parent);
    if (name) {
        shown->setObjectName(QString::fromLatin1(name));
    }
    return placed(shown, left, top, width, height);
}

inline constexpr int DesignWidth = 640;
inline constexpr int DesignHeight = 480;

} // namespace brindle::form1
