#include "SpotPanel.h"

#include "common/Clock.h"
#include "common/DateText.h"
#include "common/QtText.h"
#include "spots/SpotLabel.h"
#include "spots/SpotLine.h"
#include "spots/SpotsModel.h"
#include "ui/Colours.h"
#include "ui/WindowScaling.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedLayout>
#include <QTableView>
#include <QTimer>

#include <cmath>
#include <utility>

namespace brindle {

namespace {

// The spot list's columns in twips of the design, as wide as the window is at its design size.
constexpr std::array<int, SpotListModel::ColumnCount> ColumnTwips { 1040, 880, 2000, 0, 3400, 520, 600, 520 };

} // namespace

BandMapWidget::BandMapWidget(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("bandMapArea"));
    setAccessibleName(QStringLiteral("Band map"));
    // The labels, which inherit it, are short Latin calls: shaping them was most of what drawing the map cost
    // while a cluster floods it, and leaving it out changes nothing a reader could see.
    QFont unshaped;
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    setFont(unshaped);
    for (std::size_t i = 0; i < m_ticks.size(); ++i) {
        m_ticks[i] = new QLabel(this);
        m_ticks[i]->setObjectName(QStringLiteral("bandMapTick_%1").arg(i));
        setTextColour(m_ticks[i], Qt::white);
    }
    for (std::size_t i = 0; i < m_spotLabels.size(); ++i) {
        auto* label = new SpotLabel(static_cast<int>(i), this);
        label->setObjectName(QStringLiteral("bandMapSpot_%1").arg(i));
        connect(label, &SpotLabel::tuneRequested, this, &BandMapWidget::tuneRequested);
        connect(label, &SpotLabel::withdrawRequested, this, &BandMapWidget::withdrawRequested);
        connect(label, &SpotLabel::hovered, this, &BandMapWidget::spotHovered);
        m_spotLabels[i] = label;
    }
    // The newest spot is drawn over the others.
    m_spotLabels.back()->raise();
}

int BandMapWidget::axisLeft() const
{
    // Half a label in from each end, so that a spot at a band's edge is still whole.
    return fontMetrics().horizontalAdvance(QStringLiteral("WW9W")) / 2 + 2;
}

int BandMapWidget::axisRight() const
{
    return width() - axisLeft();
}

int BandMapWidget::axisY() const
{
    return height() / 2;
}

int BandMapWidget::gap() const
{
    return std::max(1, static_cast<int>(std::lround(window()->height() * 0.004)));
}

MapScale BandMapWidget::scaleBandMap(const SpotsModel& spots, const std::string& band)
{
    const MapScale scale = mapScale(zoomRowRange(bandMapEdges(band), zoomFrequencies(spots.store())));
    for (std::size_t i = 0; i < m_ticks.size(); ++i) {
        m_ticks[i]->setText(toQString(scale.ticks[i]));
        m_ticks[i]->adjustSize();
    }
    placeTicks();
    return scale;
}

void BandMapWidget::placeTicks()
{
    const int x1 = axisLeft();
    const int x2 = axisRight();
    for (std::size_t i = 0; i < m_ticks.size(); ++i) {
        QLabel* tick = m_ticks[i];
        const int centre = x1 + static_cast<int>(std::lround(static_cast<double>(i) * 0.25 * (x2 - x1)));
        tick->move(std::clamp(centre - tick->width() / 2, 0, std::max(0, width() - tick->width())), axisY() + gap());
    }
}

void BandMapWidget::drawBandMap(const SpotsModel& spots, const std::string& band, const DateTime& now, double utcHours)
{
    const MapScale scale = scaleBandMap(spots, band);
    const int x1 = axisLeft();
    const int x2 = axisRight();
    // A label that stays on the map is not taken off it first: each hiding and showing is repainted, and
    // told to a screen reader.
    std::array<bool, SpotStore::SlotCount> placedSlots {};
    for (const SpotPlacement& placed : bandMapPlacements(spots.store(), scale.shown, now)) {
        SpotLabel& label = *m_spotLabels.at(static_cast<std::size_t>(placed.slot));
        label.showSpot(spots.store().slot(placed.slot), placed.colour, spots.isWorked(placed.slot), utcHours, now);
        m_labelSizes.place(label, x1 + static_cast<int>(std::lround(placed.fraction * (x2 - x1))), axisY() - gap());
        label.show();
        placedSlots.at(static_cast<std::size_t>(placed.slot)) = true;
    }
    for (std::size_t slot = 0; slot < m_spotLabels.size(); ++slot) {
        if (!placedSlots[slot]) {
            m_spotLabels[slot]->hide();
        }
    }
}

void BandMapWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), SpotLabel::MapBack);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawLine(axisLeft(), axisY(), axisRight(), axisY());
}

void BandMapWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeTicks();
    emit resized();
}

void BandMapWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
}

void BandMapWidget::mouseDoubleClickEvent(QMouseEvent*)
{
    emit doubleClicked();
}

SpotPanel::SpotPanel(QWidget* canvas, SpotsModel& spots, const Clock& clock, Context context)
    : QWidget(canvas)
    , m_spots(spots)
    , m_clock(clock)
    , m_context(std::move(context))
{
    setObjectName(QStringLiteral("spotPanel"));
    auto* layout = new QStackedLayout(this);
    m_spotList = new QTableView(this);
    m_spotList->setObjectName(QStringLiteral("spotList"));
    m_spotList->setModel(&spots.list());
    m_spotList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_spotList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_spotList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_spotList->verticalHeader()->hide();
    m_spotList->setShowGrid(false);
    m_spotList->setWordWrap(false);
    for (int column = 0; column < SpotListModel::ColumnCount; ++column) {
        m_spotList->setColumnWidth(column, designRect(0, 0, ColumnTwips[static_cast<std::size_t>(column)], 0).width());
    }
    m_spotList->verticalHeader()->setDefaultSectionSize(m_spotList->fontMetrics().height() + 2);
    m_bandMap = new BandMapWidget(this);
    layout->addWidget(m_spotList);
    layout->addWidget(m_bandMap);

    connect(m_spotList, &QTableView::clicked, this, [this](const QModelIndex& index) {
        const SpotListRow& row = m_spots.list().row(index.row());
        const std::optional<double> freq = spotNumberValue(row.frequency);
        emit listSpotClicked(toQString(row.call), freq ? std::optional<float>(static_cast<float>(*freq)) : std::nullopt);
    });
    connect(m_spotList, &QTableView::doubleClicked, this, &SpotPanel::spectrumMapWanted);
    connect(m_bandMap, &BandMapWidget::clicked, this, &SpotPanel::spottingWanted);
    connect(m_bandMap, &BandMapWidget::doubleClicked, this, &SpotPanel::spectrumMapWanted);
    connect(m_bandMap, &BandMapWidget::resized, this, &SpotPanel::drawBandMap);
    connect(m_bandMap, &BandMapWidget::spotHovered, this, &SpotPanel::describe);
    connect(m_bandMap, &BandMapWidget::withdrawRequested, this, [this](int slot) {
        m_spots.withdraw(slot);
        drawBandMap();
    });
    connect(m_bandMap, &BandMapWidget::tuneRequested, this, [this](int slot) {
        const SpotRecord& spot = m_spots.store().slot(slot);
        emit mapSpotChosen(toQString(spot.call), spot.freqMHz);
    });
    hide();
}

void SpotPanel::showList(bool list)
{
    static_cast<QStackedLayout*>(layout())->setCurrentWidget(list ? static_cast<QWidget*>(m_spotList) : m_bandMap);
    if (!list) {
        drawBandMap();
    }
}

bool SpotPanel::showsBandMap() const
{
    return isVisible() && m_bandMap->isVisible();
}

void SpotPanel::drawBandMapSoon()
{
    if (std::exchange(m_drawDue, true)) {
        return;
    }
    QTimer::singleShot(0, this, [this] {
        if (m_drawDue) {
            drawBandMap();
        }
    });
}

void SpotPanel::drawBandMap()
{
    m_drawDue = false;
    if (!showsBandMap()) {
        return;
    }
    m_bandMap->drawBandMap(m_spots, m_context.band(), m_clock.localNow(), m_context.utcHours());
}

void SpotPanel::scaleBandMap()
{
    if (isVisible()) {
        m_bandMap->scaleBandMap(m_spots, m_context.band());
    }
}

void SpotPanel::refreshBandMap()
{
    drawBandMap();
}

void SpotPanel::describe(int slot)
{
    const SpotRecord& spot = m_spots.store().slot(slot);
    if (spot.receivedAt) {
        emit spotDescribed(m_bandMap->spotLabel(slot)->toolTip());
    }
}

} // namespace brindle
