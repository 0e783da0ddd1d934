#pragma once

#include "spots/BandMapScale.h"
#include "spots/SpotLabelSizes.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QLabel;
class QTableView;

namespace brindle {

class Clock;
class SpotLabel;
class SpotsModel;

// The band map: the current band's stretch on a dark blue strip, five frequencies under its axis, and a
// label for each spot on it at its frequency, coloured by its age, newest drawn first. A spot older than
// an hour ends the drawing: it and every older one stay off. Label i always shows store slot i.
class BandMapWidget : public QWidget
{
    Q_OBJECT

public:
    explicit BandMapWidget(QWidget* parent);

    // The axis's range and its tick texts for the band, zoomed to the spots on it.
    MapScale scaleBandMap(const SpotsModel& spots, const std::string& band);
    void drawBandMap(const SpotsModel& spots, const std::string& band, const DateTime& now, double utcHours);

    SpotLabel* spotLabel(int slot) const
    {
        return m_spotLabels.at(static_cast<std::size_t>(slot));
    }
    QLabel* tick(int number) const
    {
        return m_ticks.at(static_cast<std::size_t>(number));
    }
    // The axis's ends and height in the widget.
    int axisLeft() const;
    int axisRight() const;
    int axisY() const;

signals:
    void tuneRequested(int slot);
    void withdrawRequested(int slot);
    void spotHovered(int slot);
    void clicked();
    void doubleClicked();
    // The strip changed size: its labels are to be placed afresh.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void placeTicks();
    int gap() const;

    std::array<QLabel*, 5> m_ticks {};
    std::array<SpotLabel*, 50> m_spotLabels {};
    SpotLabelSizes m_labelSizes;
};

// The strip along the bottom of the main window that shows the spots: the list of the latest spots, or
// the band map of the current band. Which one, and whether there is a strip at all, the spotting window
// decides.
class SpotPanel : public QWidget
{
    Q_OBJECT

public:
    struct Context
    {
        std::function<std::string()> band;
        std::function<double()> utcHours;
    };

    SpotPanel(QWidget* canvas, SpotsModel& spots, const Clock& clock, Context context);

    // The list, or the band map.
    void showList(bool list);
    bool showsBandMap() const;
    // The band map drawn afresh from the store, when it is shown.
    void drawBandMap();
    // The same once the window's thread is free: a cluster's read holds spots by the dozen, and the map
    // need only be drawn for the last of them.
    void drawBandMapSoon();
    // The axis's scale for the current band.
    void scaleBandMap();
    // The main window came to the front.
    void refreshBandMap();

    QTableView* spotList() const
    {
        return m_spotList;
    }
    BandMapWidget* bandMap() const
    {
        return m_bandMap;
    }

signals:
    // A click on the list: the row's call, and its frequency when it is a number.
    void listSpotClicked(const QString& call, std::optional<float> freqMHz);
    // The right button on a map label, or Enter on it: tune, put the call in and move on.
    void mapSpotChosen(const QString& call, float freqMHz);
    // What a map label says about itself, for the possible-duplicates box.
    void spotDescribed(const QString& text);
    void spottingWanted();
    void spectrumMapWanted();

private:
    void describe(int slot);

    SpotsModel& m_spots;
    const Clock& m_clock;
    Context m_context;
    QTableView* m_spotList = nullptr;
    BandMapWidget* m_bandMap = nullptr;
    bool m_drawDue = false;
};

} // namespace brindle
