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

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace brindle
