#include "RateGraphDialog.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/ContestLog.h"
#include "ui/Colours.h"
#include "ui/WaitCursor.h"
#include "ui/WindowScaling.h"

#include <QLabel>
#include <QLineF>
#include <QPainter>
#include <QPushButton>
#include <QRectF>

#include <vector>

namespace brindle {

namespace {

// The window's design size and the places of its plot and labels, in design pixels; everything is
// placed in proportion to the window's actual size.
constexpr double DesignWidth = 630;
constexpr double DesignHeight = 440;
constexpr double FrameLeft = 64;
constexpr double FrameRight = 612;
constexpr double FrameTop = 48;
constexpr double FrameBottom = 350;
constexpr double StripTop = 358;
constexpr double StripBottom = 370;
// Each slot sits 10 twips right of its place.
constexpr double SlotNudge = 10.0 / TwipsPerDesignPixel;
constexpr double TickLength = 4;

const QRectF BackgroundButtonRect(10, 8, 130, 24);
const QRectF BandCaptionRect(336, 11, 36, 18);
constexpr double LegendLeft = 374;
constexpr double LegendStep = 34;
constexpr double LegendWidth = 32;
constexpr double AxisLabelWidth = 44;
constexpr double TimeTop = 378;
constexpr double DateTop = 396;
constexpr double LabelHeight = 16;

double timeLabelCentre(int k)
{
    return FrameLeft + k * (FrameRight - FrameLeft) / (RateGraphTimeLabels - 1);
}

double valueLabelCentre(int k)
{
    return FrameBottom - k * (FrameBottom - FrameTop) / (RateGraphValueLabels - 1);
}

} // namespace

RateGraphDialog::RateGraphDialog(const ContestLog& log, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_log(log)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("RateGraphDialog"));
    setWindowTitle(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    buildForm();
    resize(static_cast<int>(DesignWidth), static_cast<int>(DesignHeight));
    placeControls();
    scaleByWorkAreaRule(*this, screenGeometryOf(*this));
    applyBackground();
    drawGraph();
}

QLabel* RateGraphDialog::addLabel(const QString& name, const QString& text, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setAlignment(alignment);
    return label;
}

void RateGraphDialog::buildForm()
{
    m_backgroundButton = new QPushButton(QStringLiteral("Black Background"), this);
    m_backgroundButton->setObjectName(QStringLiteral("backgroundButton"));
    m_backgroundButton->setAutoDefault(false);
    connect(m_backgroundButton, &QPushButton::clicked, this, &RateGraphDialog::toggleBackground);

    m_bandLegendCaption = addLabel(QStringLiteral("bandLegendCaption"), QStringLiteral("Band "), Qt::AlignRight);
    for (std::size_t i = 0; i < GraphBands.size(); ++i) {
        const QString band = toQString(GraphBands[i].band);
        m_bandLegendLabels[i] = addLabel(QStringLiteral("bandLegend_") + band, band, Qt::AlignLeft);
        setTextColour(m_bandLegendLabels[i], fromBgr(GraphBands[i].colour));
    }
    for (std::size_t k = 0; k < m_timeLabels.size(); ++k) {
        m_timeLabels[k] = addLabel(QStringLiteral("timeLabel_%1").arg(k), QString(), Qt::AlignHCenter | Qt::AlignTop);
        m_dateLabels[k] = addLabel(QStringLiteral("dateLabel_%1").arg(k), QString(), Qt::AlignHCenter | Qt::AlignTop);
    }
    for (std::size_t k = 0; k < m_rateLabels.size(); ++k) {
        m_rateLabels[k] = addLabel(QStringLiteral("rateLabel_%1").arg(k), QString(), Qt::AlignRight | Qt::AlignVCenter);
    }
}

void RateGraphDialog::placeControls()
{
    const double fx = width() / DesignWidth;
    const double fy = height() / DesignHeight;
    const auto place = [fx, fy](QWidget* control, const QRectF& design) {
        control->setGeometry(
            QRectF(design.left() * fx, design.top() * fy, design.width() * fx, design.height() * fy).toRect());
    };
    place(m_backgroundButton, BackgroundButtonRect);
    place(m_bandLegendCaption, BandCaptionRect);
    for (std::size_t i = 0; i < m_bandLegendLabels.size(); ++i) {
        place(m_bandLegendLabels[i],
            QRectF(LegendLeft + static_cast<double>(i) * LegendStep, BandCaptionRect.top(), LegendWidth,
                BandCaptionRect.height()));
    }
    for (int k = 0; k < RateGraphTimeLabels; ++k) {
        const double left = timeLabelCentre(k) - AxisLabelWidth / 2;
        place(m_timeLabels[static_cast<std::size_t>(k)], QRectF(left, TimeTop, AxisLabelWidth, LabelHeight));
        place(m_dateLabels[static_cast<std::size_t>(k)], QRectF(left, DateTop, AxisLabelWidth, LabelHeight));
    }
    for (int k = 0; k < RateGraphValueLabels; ++k) {
        const double top = valueLabelCentre(k) - LabelHeight / 2;
        place(m_rateLabels[static_cast<std::size_t>(k)], QRectF(4, top, FrameLeft - TickLength - 8, LabelHeight));
    }
}

void RateGraphDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

RateGraphFrame RateGraphDialog::plotFrame() const
{
    const double fx = width() / DesignWidth;
    const double fy = height() / DesignHeight;
    return { FrameLeft * fx, FrameRight * fx, FrameBottom * fy, FrameTop * fy, StripTop * fy, StripBottom * fy,
        SlotNudge * fx };
}

std::uint32_t RateGraphDialog::backgroundColour() const
{
    return m_whiteBackground ? GraphWhite : GraphBlack;
}

const RateGraph& RateGraphDialog::graph() const
{
    return m_graph;
}

void RateGraphDialog::applyBackground()
{
    const QColor background = fromBgr(backgroundColour());
    const QColor foreground = fromBgr(m_whiteBackground ? GraphBlack : GraphWhite);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    setPalette(palette);
    setTextColour(m_bandLegendCaption, foreground);
    for (std::size_t k = 0; k < m_timeLabels.size(); ++k) {
        setTextColour(m_timeLabels[k], foreground);
        setTextColour(m_dateLabels[k], foreground);
    }
    for (QLabel* label : m_rateLabels) {
        setTextColour(label, foreground);
    }
    m_backgroundButton->setText(
        m_whiteBackground ? QStringLiteral("White Background") : QStringLiteral("Black Background"));
}

void RateGraphDialog::toggleBackground()
{
    const WaitCursor wait;
    m_whiteBackground = !m_whiteBackground;
    applyBackground();
    drawGraph();
    repaint();
}

void RateGraphDialog::drawGraph()
{
    m_graph = {};
    if (!enoughContactsToGraph(m_log)) {
        const OperatorMessage message = notEnoughContactsMessage();
        m_dialogs.message(toQString(message.title), toQString(message.text));
        update();
        return;
    }
    m_graph = computeRateGraph(m_log, backgroundColour());
    if (m_graph.axis) {
        for (std::size_t k = 0; k < m_timeLabels.size(); ++k) {
            m_timeLabels[k]->setText(toQString(m_graph.axis->times[k]));
            m_dateLabels[k]->setText(toQString(m_graph.axis->dates[k]));
        }
    }
    if (m_graph.plot) {
        for (std::size_t k = 0; k < m_rateLabels.size(); ++k) {
            m_rateLabels[k]->setText(toQString(m_graph.plot->values[k]));
        }
    }
    update();
}

void RateGraphDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), fromBgr(backgroundColour()));
    const RateGraphFrame frame = plotFrame();
    const double fx = width() / DesignWidth;
    const double fy = height() / DesignHeight;

    painter.setPen(fromBgr(m_whiteBackground ? GraphBlack : GraphWhite));
    std::vector<QLineF> frameLines {
        { frame.x0, frame.yt, frame.x1, frame.yt },
        { frame.x1, frame.yt, frame.x1, frame.yb },
        { frame.x1, frame.yb, frame.x0, frame.yb },
        { frame.x0, frame.yb, frame.x0, frame.yt },
    };
    for (int k = 0; k < RateGraphValueLabels; ++k) {
        const double y = valueLabelCentre(k) * fy;
        frameLines.emplace_back(frame.x0 - TickLength * fx, y, frame.x0, y);
    }
    for (int k = 0; k < RateGraphTimeLabels; ++k) {
        const double x = timeLabelCentre(k) * fx;
        frameLines.emplace_back(x, frame.yb, x, frame.yb + TickLength * fy);
    }
    painter.drawLines(frameLines.data(), static_cast<int>(frameLines.size()));

    if (!m_graph.plot) {
        return;
    }
    const RateGraphDrawing drawing = drawRateGraph(frame, *m_graph.plot);
    std::vector<QLineF> curve;
    curve.reserve(drawing.curve.size());
    for (const GraphLine& line : drawing.curve) {
        curve.emplace_back(line.x1, line.y1, line.x2, line.y2);
    }
    painter.setPen(fromBgr(GraphCurveColour));
    painter.drawLines(curve.data(), static_cast<int>(curve.size()));

    painter.setBrush(Qt::NoBrush);
    std::optional<std::uint32_t> penColour;
    for (const GraphBox& box : drawing.strip) {
        if (penColour != box.colour) {
            painter.setPen(fromBgr(box.colour));
            penColour = box.colour;
        }
        painter.drawRect(QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom)));
    }
}

} // namespace brindle
