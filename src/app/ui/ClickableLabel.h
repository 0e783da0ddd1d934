#pragma once

#include <QLabel>

namespace brindle {

// A label that reports a left click, as the band label and the grid's section labels do.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();
    void entered(); // the mouse came to rest on the label

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
};

} // namespace brindle
