#include "GraphQSO.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/ContestLog.h"
#include "ui/Colours.h"
#include "ui/WindowScaling.h"

#include <QApplication>
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

const QRectF Command1Rect(10, 8, 130, 24);
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

// The cursor shows an hourglass while it lives.
class WaitCursor
{
public:
    WaitCursor()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        QApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

GraphQSO::GraphQSO(const ContestLog& log, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_log(log)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("GraphQSO"));
    setWindowTitle(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    buildForm();
    resize(static_cast<int>(DesignWidth), static_cast<int>(DesignHeight));
    placeControls();
    scaleByWorkAreaRule(*this, screenGeometryOf(*this));
    applyBackground();
    drawGraph();
}

QLabel* GraphQSO::addLabel(const QString& name, const QString& text, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setAlignment(alignment);
    return label;
}

void GraphQSO::buildForm()
{
    Command1 = new QPushButton(QStringLiteral("Black Background"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &GraphQSO::Command1_Click);

    lblBandCaption = addLabel(QStringLiteral("lblBandCaption"), QStringLiteral("Band "), Qt::AlignRight);
    for (std::size_t i = 0; i < GraphBands.size(); ++i) {
        lblBnd[i] = addLabel(QStringLiteral("lblBnd%1").arg(i), toQString(GraphBands[i].band), Qt::AlignLeft);
        setTextColour(lblBnd[i], fromBgr(GraphBands[i].colour));
    }
    for (std::size_t k = 0; k < lblTime.size(); ++k) {
        lblTime[k] = addLabel(QStringLiteral("lblTime%1").arg(k), QString(), Qt::AlignHCenter | Qt::AlignTop);
        lblDate[k] = addLabel(QStringLiteral("lblDate%1").arg(k), QString(), Qt::AlignHCenter | Qt::AlignTop);
    }
    for (std::size_t k = 0; k < lblY.size(); ++k) {
        lblY[k] = addLabel(QStringLiteral("lblY%1").arg(k), QString(), Qt::AlignRight | Qt::AlignVCenter);
    }
}

void GraphQSO::placeControls()
{
    const double fx = width() / DesignWidth;
    const double fy = height() / DesignHeight;
    const auto place = [fx, fy](QWidget* control, const QRectF& design) {
        control->setGeometry(
            QRectF(design.left() * fx, design.top() * fy, design.width() * fx, design.height() * fy).toRect());
    };
    place(Command1, Command1Rect);
    place(lblBandCaption, BandCaptionRect);
    for (std::size_t i = 0; i < lblBnd.size(); ++i) {
        place(lblBnd[i],
            QRectF(LegendLeft + static_cast<double>(i) * LegendStep, BandCaptionRect.top(), LegendWidth,
                BandCaptionRect.height()));
    }
    for (int k = 0; k < RateGraphTimeLabels; ++k) {
        const double left = timeLabelCentre(k) - AxisLabelWidth / 2;
        place(lblTime[static_cast<std::size_t>(k)], QRectF(left, TimeTop, AxisLabelWidth, LabelHeight));
        place(lblDate[static_cast<std::size_t>(k)], QRectF(left, DateTop, AxisLabelWidth, LabelHeight));
    }
    for (int k = 0; k < RateGraphValueLabels; ++k) {
        const double top = valueLabelCentre(k) - LabelHeight / 2;
        place(lblY[static_cast<std::size_t>(k)], QRectF(4, top, FrameLeft - TickLength - 8, LabelHeight));
    }
}

void GraphQSO::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

RateGraphFrame GraphQSO::plotFrame() const
{
    const double fx = width() / DesignWidth;
    const double fy = height() / DesignHeight;
    return { FrameLeft * fx, FrameRight * fx, FrameBottom * fy, FrameTop * fy, StripTop * fy, StripBottom * fy,
        SlotNudge * fx };
}

std::uint32_t GraphQSO::backgroundColour() const
{
    return m_whiteBackground ? GraphWhite : GraphBlack;
}

const RateGraph& GraphQSO::graph() const
{
    return m_graph;
}

void GraphQSO::applyBackground()
{
    const QColor background = fromBgr(backgroundColour());
    const QColor foreground = fromBgr(m_whiteBackground ? GraphBlack : GraphWhite);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    setPalette(palette);
    setTextColour(lblBandCaption, foreground);
    for (std::size_t k = 0; k < lblTime.size(); ++k) {
        setTextColour(lblTime[k], foreground);
        setTextColour(lblDate[k], foreground);
    }
    for (QLabel* label : lblY) {
        setTextColour(label, foreground);
    }
    Command1->setText(m_whiteBackground ? QStringLiteral("White Background") : QStringLiteral("Black Background"));
}

void GraphQSO::Command1_Click()
{
    const WaitCursor wait;
    m_whiteBackground = !m_whiteBackground;
    applyBackground();
    drawGraph();
    repaint();
}

void GraphQSO::drawGraph()
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
        for (std::size_t k = 0; k < lblTime.size(); ++k) {
            lblTime[k]->setText(toQString(m_graph.axis->times[k]));
            lblDate[k]->setText(toQString(m_graph.axis->dates[k]));
        }
    }
    if (m_graph.plot) {
        for (std::size_t k = 0; k < lblY.size(); ++k) {
            lblY[k]->setText(toQString(m_graph.plot->values[k]));
        }
    }
    update();
}

void GraphQSO::paintEvent(QPaintEvent*)
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
