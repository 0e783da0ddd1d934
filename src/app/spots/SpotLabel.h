#pragma once

#include "spots/SpotStore.h"

#include <QColor>
#include <QLabel>

#include <cstdint>

namespace brindle {

// One spot on a map: the spot's short label at its frequency, its age in its colour. The right button
// tunes to it, any other withdraws it, and neither takes the keyboard from where the operator types; from
// the keyboard (Tab reaches it) Enter or Space tunes and Delete withdraws. The tip and the accessible name say the call, frequency and time.
class SpotLabel : public QLabel
{
    Q_OBJECT

public:
    SpotLabel(int slot, QWidget* parent);

    // The strip the maps draw their spots on.
    static inline const QColor MapBack { 0, 0, 128 };
    // A spot's text colour by its age colour (0x00BBGGRR); a worked spot's is dimmed.
    static QColor colourFor(std::uint32_t ageColour, bool worked);

    // The spot's label, tip, accessible name and colour.
    void showSpot(const SpotRecord& spot, std::uint32_t ageColour, bool worked, double utcHours, const DateTime& now);

    int slot() const
    {
        return m_slot;
    }
    // The label, at the size its text takes (SpotLabelSizes knows it), centred on x with its bottom at y
    // (the axis, less any gap).
    void placeCentredAt(int x, int bottom, QSize size);

signals:
    void tuneRequested(int slot);
    void withdrawRequested(int slot);
    void hovered(int slot);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_slot;
};

} // namespace brindle
