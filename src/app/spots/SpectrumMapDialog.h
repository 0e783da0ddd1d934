#pragma once

#include "spots/BandMapScale.h"
#include "spots/SpotLabelSizes.h"

#include <QDialog>
#include <QFont>
#include <QLine>

#include <array>
#include <functional>

class QLabel;

namespace brindle {

class Clock;
class SpotLabel;
class SpotsModel;

// The spots of every band at once: a dark blue row per band from 160 m to 2 m, each with its own axis
// zoomed to the spots on it, five frequencies under it and the spots standing on it, coloured by their
// age. Label i always shows store slot i; a spot an hour old ends the drawing on every row, so it and
// every older spot stay off. The right button on a spot tunes to it and closes the map; any other
// button withdraws the spot from both maps. Built afresh for each opening; it fills the work area.
class SpectrumMapDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int RowCount = static_cast<int>(SpectrumRows.size());
    static constexpr int TicksPerRow = 5;

    SpectrumMapDialog(
        SpotsModel& spots, const Clock& clock, std::function<double()> utcHours, QWidget* parent = nullptr);

    // Every spot label drawn afresh from the store, on rows scaled afresh.
    void drawSpots();
    // Each row's range zoomed to its spots, and its tick texts and places; the ranges shown, by row.
    std::array<MapRange, SpectrumRows.size()> layOutRows();
    // The window's frame fills the work area; the rows follow its size.
    void fitToWorkArea();
    // The right button on a spot: spotChosen, then the map closes.
    void tuneToSpot(int slot);
    // Any other button: the spot leaves both maps.
    void withdrawSpot(int slot);

    QLabel* rowStrip(int row) const
    {
        return m_rowStrips.at(static_cast<std::size_t>(row));
    }
    // The white axis of a row, from its low end to its high end, in the window.
    QLine rowAxis(int row) const;
    QLabel* tickLabel(int number) const // row r owns 5r to 5r + 4
    {
        return m_tickLabels.at(static_cast<std::size_t>(number));
    }
    SpotLabel* spotLabel(int slot) const
    {
        return m_spotLabels.at(static_cast<std::size_t>(slot));
    }

signals:
    // The operator chose a spot: tune the rig to it, whatever rig, and put its call into the call field.
    void spotChosen(const QString& call, float freqMHz);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildRows();
    void placeRows();
    void scaleFonts();

    SpotsModel& m_spots;
    const Clock& m_clock;
    std::function<double()> m_utcHours;
    QFont m_baseFont;
    bool m_drawDue = false;
    std::array<QLabel*, SpectrumRows.size()> m_rowStrips {};
    std::array<QWidget*, SpectrumRows.size()> m_rowAxes {};
    std::array<QLabel*, SpectrumRows.size() * TicksPerRow> m_tickLabels {};
    std::array<SpotLabel*, SpotStore::SlotCount> m_spotLabels {};
    SpotLabelSizes m_labelSizes;
};

} // namespace brindle
