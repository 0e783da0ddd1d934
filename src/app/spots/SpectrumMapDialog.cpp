#include "SpectrumMapDialog.h"

#include "common/Clock.h"
#include "common/QtText.h"
#include "spots/SpotLabel.h"
#include "spots/SpotsModel.h"
#include "ui/Colours.h"
#include "ui/WaitCursor.h"
#include "ui/WindowScaling.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace brindle {

namespace {

// The window is drawn in twips and stretched to its actual size in each direction: the rows with a
// strip's margin around them.
constexpr double StripLeft = 120;
constexpr double StripTop = 120;
constexpr double StripWidth = 9255;
constexpr double StripHeight = 495;
constexpr double RowStep = 600;
constexpr double AxisX1 = 360;
constexpr double AxisX2 = 9120;
constexpr double AxisTop = 360;
constexpr double DesignWidth = StripLeft + StripWidth + StripLeft;
constexpr double DesignHeight = StripTop + RowStep * (SpectrumRows.size() - 1) + StripHeight + StripTop;

// The band names sit quietly in a corner of their strips, behind any spot there.
const QColor BandCaptionColour { 128, 160, 224 };
constexpr double BandCaptionScale = 0.85;
// On a tall screen the writing grows with the rows, up to half as large again, as long as the band's
// caption and a spot's label (with their few pixels of margin) still fit one above the other over the axis.
constexpr double MaxFontScale = 1.5;
constexpr double MarginsAboveAxis = 6;

int scaled(double twips, double factor)
{
    return static_cast<int>(std::lround(twips * factor));
}

} // namespace

SpectrumMapDialog::SpectrumMapDialog(
    SpotsModel& spots, const Clock& clock, std::function<double()> utcHours, QWidget* parent)
    : QDialog(parent)
    , m_spots(spots)
    , m_clock(clock)
    , m_utcHours(std::move(utcHours))
{
    setObjectName(QStringLiteral("SpectrumMapDialog"));
    setWindowTitle(QStringLiteral(" HF Spectrum Map"));
    setModal(true);
    m_baseFont = font();
    buildRows();
    resize(static_cast<int>(DesignWidth / TwipsPerDesignPixel), static_cast<int>(DesignHeight / TwipsPerDesignPixel));
    placeRows();
    layOutRows();
    fitToWorkArea();

    // Spots arrive, and are withdrawn or worked, while the map is open; a closed map is about to go.
    connect(&m_spots, &SpotsModel::spotAdded, this, [this] {
        // A cluster's read holds spots by the dozen: the map is drawn once they are all in.
        if (isVisible() && !std::exchange(m_drawDue, true)) {
            QTimer::singleShot(0, this, [this] {
                if (m_drawDue && isVisible()) {
                    drawSpots();
                }
            });
        }
    });
    connect(&m_spots, &SpotsModel::spotsChanged, this, [this] {
        if (isVisible()) {
            drawSpots();
        }
    });
}

void SpectrumMapDialog::buildRows()
{
    for (std::size_t r = 0; r < SpectrumRows.size(); ++r) {
        auto* strip = new QLabel(toQString(SpectrumRows[r].band) + QStringLiteral(" m"), this);
        strip->setObjectName(QStringLiteral("spectrumRow_%1").arg(r));
        strip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        strip->setMargin(2);
        setBackColour(strip, SpotLabel::MapBack);
        setTextColour(strip, BandCaptionColour);
        m_rowStrips[r] = strip;
    }
    for (std::size_t r = 0; r < SpectrumRows.size(); ++r) {
        auto* axis = new QWidget(this);
        axis->setObjectName(QStringLiteral("spectrumAxis_%1").arg(r));
        setBackColour(axis, Qt::white);
        m_rowAxes[r] = axis;
    }
    for (std::size_t i = 0; i < m_tickLabels.size(); ++i) {
        auto* tick = new QLabel(this);
        tick->setObjectName(QStringLiteral("spectrumTick_%1").arg(i));
        setTextColour(tick, Qt::white);
        m_tickLabels[i] = tick;
    }
    for (std::size_t i = 0; i < m_spotLabels.size(); ++i) {
        auto* label = new SpotLabel(static_cast<int>(i), this);
        label->setObjectName(QStringLiteral("spectrumSpot_%1").arg(i));
        connect(label, &SpotLabel::tuneRequested, this, &SpectrumMapDialog::tuneToSpot);
        connect(label, &SpotLabel::withdrawRequested, this, &SpectrumMapDialog::withdrawSpot);
        m_spotLabels[i] = label;
    }
    // The newest spot is drawn over the others.
    m_spotLabels.back()->raise();
}

QLine SpectrumMapDialog::rowAxis(int row) const
{
    const double fx = width() / DesignWidth;
    const double fy = height() / DesignHeight;
    const int y = scaled(AxisTop + RowStep * row, fy);
    return { scaled(AxisX1, fx), y, scaled(AxisX2, fx), y };
}

void SpectrumMapDialog::scaleFonts()
{
    const double roomAboveAxis = (AxisTop - StripTop) * height() / DesignHeight;
    const double grown
        = (roomAboveAxis - MarginsAboveAxis) / ((1 + BandCaptionScale) * QFontMetricsF(m_baseFont).height());
    QFont font = m_baseFont;
    font.setPointSizeF(m_baseFont.pointSizeF() * std::clamp(grown, 1.0, MaxFontScale));
    // As on the band map: the labels' short Latin calls need no shaping, which is most of a redraw's cost.
    font.setStyleStrategy(QFont::PreferNoShaping);
    setFont(font);
    QFont captionFont = font;
    captionFont.setPointSizeF(font.pointSizeF() * BandCaptionScale);
    for (QLabel* strip : m_rowStrips) {
        strip->setFont(captionFont);
    }
}

void SpectrumMapDialog::placeRows()
{
    scaleFonts();
    const double fx = width() / DesignWidth;
    const double fy = height() / DesignHeight;
    for (int r = 0; r < RowCount; ++r) {
        const int top = scaled(StripTop + RowStep * r, fy);
        m_rowStrips[static_cast<std::size_t>(r)]->setGeometry(
            scaled(StripLeft, fx), top, scaled(StripWidth, fx), scaled(StripTop + RowStep * r + StripHeight, fy) - top);
        const QLine axis = rowAxis(r);
        m_rowAxes[static_cast<std::size_t>(r)]->setGeometry(axis.x1(), axis.y1(), axis.x2() - axis.x1() + 1, 1);
    }
}

std::array<MapRange, SpectrumRows.size()> SpectrumMapDialog::layOutRows()
{
    const std::vector<float> frequencies = zoomFrequencies(m_spots.store());
    const int gap = static_cast<int>(std::lround(height() * 0.004));
    std::array<MapRange, SpectrumRows.size()> shown {};
    for (int r = 0; r < RowCount; ++r) {
        const MapScale scale = mapScale(zoomRowRange(SpectrumRows[static_cast<std::size_t>(r)].edges, frequencies));
        shown[static_cast<std::size_t>(r)] = scale.shown;
        const QLine axis = rowAxis(r);
        for (int t = 0; t < TicksPerRow; ++t) {
            QLabel* tick = tickLabel(TicksPerRow * r + t);
            tick->setText(toQString(scale.ticks[static_cast<std::size_t>(t)]));
            tick->adjustSize();
            const int centre = axis.x1() + static_cast<int>(std::lround(t * 0.25 * (axis.x2() - axis.x1())));
            tick->move(centre - tick->width() / 2, axis.y1() + gap);
        }
    }
    return shown;
}

void SpectrumMapDialog::drawSpots()
{
    m_drawDue = false;
    const WaitCursor wait;
    const std::array<MapRange, SpectrumRows.size()> shown = layOutRows();
    const DateTime now = m_clock.localNow();
    const double utcHours = m_utcHours();
    // As on the band map, a label that stays is never hidden and shown again.
    std::array<bool, SpotStore::SlotCount> placedSlots {};
    for (const SpotPlacement& placed : spectrumPlacements(m_spots.store(), shown, now)) {
        SpotLabel& label = *spotLabel(placed.slot);
        label.showSpot(m_spots.store().slot(placed.slot), placed.colour, m_spots.isWorked(placed.slot), utcHours, now);
        // Straight on the axis: the rows are too close for the band map's gap.
        const QLine axis = rowAxis(static_cast<int>(placed.row));
        m_labelSizes.place(
            label, axis.x1() + static_cast<int>(std::lround(placed.fraction * (axis.x2() - axis.x1()))), axis.y1());
        label.show();
        placedSlots.at(static_cast<std::size_t>(placed.slot)) = true;
    }
    for (std::size_t slot = 0; slot < m_spotLabels.size(); ++slot) {
        if (!placedSlots[slot]) {
            m_spotLabels[slot]->hide();
        }
    }
}

void SpectrumMapDialog::fitToWorkArea()
{
    fillWorkArea(*this, screenGeometryOf(*this));
}

void SpectrumMapDialog::tuneToSpot(int slot)
{
    const SpotRecord& spot = m_spots.store().slot(slot);
    emit spotChosen(toQString(spot.call), spot.freqMHz);
    accept();
}

void SpectrumMapDialog::withdrawSpot(int slot)
{
    // The store's change redraws the map, and the main window's band map with it.
    m_spots.withdraw(slot);
}

bool SpectrumMapDialog::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        drawSpots();
    }
    return QDialog::event(event);
}

void SpectrumMapDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    drawSpots();
}

void SpectrumMapDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeRows();
    if (isVisible()) {
        drawSpots();
    } else {
        layOutRows();
    }
}

} // namespace brindle
