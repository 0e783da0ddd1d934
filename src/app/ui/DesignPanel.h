#pragma once

#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

namespace brindle {

// A group of controls of a window drawn on the design canvas (DesignCanvas, in WindowScaling.h). The
// panel stands at its own rectangle of the canvas, and its controls are placed by their canvas
// coordinates, so a control keeps the same numbers whichever panel holds it. The scaling rules know a
// panel: they move and size it as a control and its controls inside it by the same factors, so each
// control lands where it would have as a direct child of the window.
class DesignPanel : public QWidget
{
    Q_OBJECT

public:
    DesignPanel(QWidget* canvas, const QRect& canvasRect);

    // Places a control of this panel at its rectangle on the canvas.
    template <class W> W* place(W* control, int left, int top, int width, int height)
    {
        control->setGeometry(left - m_origin.x(), top - m_origin.y(), width, height);
        return control;
    }

    // A label of this panel at its rectangle on the canvas; name may be empty for a fixed caption
    // nothing looks up.
    QLabel* addLabel(const char* name, const QString& text, int left, int top, int width, int height = 14);

private:
    QPoint m_origin;
};

} // namespace brindle
