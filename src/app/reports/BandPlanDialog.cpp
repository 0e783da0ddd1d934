#include "BandPlanDialog.h"

#include "common/FileSystem.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "ui/Colours.h"
#include "ui/WindowScaling.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace brindle {

namespace {

// The window is laid out on a 640 × 480 design canvas and placed in proportion to its actual size.
constexpr double DesignWidth = 640;
constexpr double DesignHeight = 480;
const QRectF HeadingRect(0, 6, 640, 30);
constexpr double ButtonsLeft = 64;
constexpr double ButtonsTop = 44;
constexpr double ButtonWidth = 72;
constexpr double ButtonStep = 78;
constexpr double ButtonHeight = 24;
const QRectF HeaderLineRect(8, 78, 624, 2);
const QRectF CwLegendRect(64, 420, 60, 18);
const QRectF PhoneLegendRect(130, 420, 60, 18);
const QRectF EffectiveDateRect(64, 444, 400, 18);

// Fonts grow with the screen, by at most half as much again.
constexpr double MaxFontScale = 1.5;
constexpr double SegmentPointSize = 7;

const QString EffectivePrefix = QStringLiteral("Frequencies Effective: ");

// The chart's own labels carry these prefixes, so that drawing another class can find and remove them.
const QString BarPrefix = QStringLiteral("bandBar_");
const QString SegmentPrefix = QStringLiteral("segment_");
const QString BandNamePrefix = QStringLiteral("bandName_");

void colourLabel(QLabel* label, std::uint32_t back, std::uint32_t text)
{
    setBackColour(label, fromBgr(back));
    setTextColour(label, fromBgr(text));
}

constexpr std::uint32_t Black = 0x00000000;
constexpr std::uint32_t White = 0x00FFFFFF;

} // namespace

BandPlanDialog::BandPlanDialog(FileSystem& fs, const std::string& workingDir, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("BandPlanDialog"));
    setWindowTitle(QStringLiteral("Frequency Privileges"));
    const ScreenGeometry screen = screenGeometryOf(*this);
    m_fontScale = std::min(screen.screen.width() / static_cast<double>(DesignCanvas.width()), MaxFontScale);
    // Every caption grows as the segments' do; the controls built next take the window's font.
    QFont scaled = font();
    scaled.setPointSizeF(scaled.pointSizeF() * m_fontScale);
    setFont(scaled);
    buildForm();
    resize(static_cast<int>(DesignWidth), static_cast<int>(DesignHeight));
    placeControls();
    fillWorkArea(*this, screen);
    placeControls();

    colourLabel(m_cwLegendCaption, CwSegmentColour, White);
    colourLabel(m_phoneLegendCaption, PhoneSegmentColour, Black);
    const BandPlanReading reading = readBandPlan(fs, workingDir);
    if (!reading.complete) {
        const OperatorMessage message = bandDataNotAvailableMessage();
        m_dialogs.message(toQString(message.title), toQString(message.text));
        return;
    }
    m_plan = reading.plan;
    m_effectiveDateLabel->setText(EffectivePrefix + toQString(m_plan.effective));
    showClass(LicenceClasses.size() - 1);
}

void BandPlanDialog::buildForm()
{
    m_headingLabel = new QLabel(this);
    m_headingLabel->setObjectName(QStringLiteral("headingLabel"));
    m_headingLabel->setAlignment(Qt::AlignCenter);
    QFont headingFont = m_headingLabel->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.6);
    m_headingLabel->setFont(headingFont);

    for (std::size_t i = 0; i < LicenceClasses.size(); ++i) {
        auto* button = new QPushButton(toQString(LicenceClasses[i].button), this);
        button->setObjectName(QStringLiteral("classButton_") + toQString(LicenceClasses[i].code));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { showClass(i); });
        m_classButtons[i] = button;
    }
    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("doneButton"));
    m_doneButton->setAutoDefault(false);
    connect(m_doneButton, &QPushButton::clicked, this, &QDialog::accept);

    m_headerLine = new QFrame(this);
    m_headerLine->setObjectName(QStringLiteral("headerLine"));
    m_headerLine->setFrameShape(QFrame::HLine);
    m_headerLine->setFrameShadow(QFrame::Sunken);

    const auto legend = [this](const char* name, const char* caption) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Box);
        return label;
    };
    m_cwLegendCaption = legend("cwLegendCaption", "CW");
    m_phoneLegendCaption = legend("phoneLegendCaption", "Phone");
    m_effectiveDateLabel = new QLabel(this);
    m_effectiveDateLabel->setObjectName(QStringLiteral("effectiveDateLabel"));
}

void BandPlanDialog::placeControls()
{
    const double fx = width() / DesignWidth;
    const double fy = height() / DesignHeight;
    const auto place = [fx, fy](QWidget* control, const QRectF& design) {
        control->setGeometry(
            QRectF(design.left() * fx, design.top() * fy, design.width() * fx, design.height() * fy).toRect());
    };
    place(m_headingLabel, HeadingRect);
    for (std::size_t i = 0; i <= m_classButtons.size(); ++i) {
        QPushButton* button = i < m_classButtons.size() ? m_classButtons[i] : m_doneButton;
        place(button, QRectF(ButtonsLeft + static_cast<double>(i) * ButtonStep, ButtonsTop, ButtonWidth, ButtonHeight));
    }
    place(m_headerLine, HeaderLineRect);
    place(m_cwLegendCaption, CwLegendRect);
    place(m_phoneLegendCaption, PhoneLegendRect);
    place(m_effectiveDateLabel, EffectiveDateRect);
}

void BandPlanDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeControls();
    // The chart is laid out on the window's size: a new size lays it out again.
    if (!m_class.empty()) {
        drawChart(m_class);
    }
}

const BandPlan& BandPlanDialog::plan() const
{
    return m_plan;
}

const std::string& BandPlanDialog::currentClass() const
{
    return m_class;
}

void BandPlanDialog::showClass(std::size_t index)
{
    const LicenceClass& licence = LicenceClasses[index];
    m_headingLabel->setText(toQString(licence.heading));
    drawChart(std::string(licence.code));
}

void BandPlanDialog::removeChartLabels()
{
    for (QLabel* label : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString name = label->objectName();
        if (name.startsWith(BarPrefix) || name.startsWith(SegmentPrefix) || name.startsWith(BandNamePrefix)) {
            delete label;
        }
    }
}

QLabel* BandPlanDialog::addChartLabel(const QString& name, const QString& caption, const ChartBox& box)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setGeometry(QRectF(box.left, box.top, box.width, box.height).toRect());
    label->setFrameShape(QFrame::Box);
    label->show();
    return label;
}

void BandPlanDialog::drawChart(const std::string& licenceClass)
{
    removeChartLabels();
    m_class = licenceClass;
    const double fy = height() / DesignHeight;
    const ChartArea area { static_cast<double>(width()), static_cast<double>(height()), HeaderLineRect.bottom() * fy };
    const BandPlanChart chart = layoutBandPlanChart(m_plan.records, licenceClass, area);

    QFont segmentFont = font();
    segmentFont.setStretch(QFont::Condensed);
    segmentFont.setPointSizeF(SegmentPointSize * m_fontScale);
    int segmentNumber = 0;
    for (std::size_t r = 0; r < chart.rows.size(); ++r) {
        const ChartRow& row = chart.rows[r];
        const QString number = QString::number(r + 1);
        const QString band = toQString(row.band);

        QLabel* name = addChartLabel(BandNamePrefix + number, band, row.nameBox);
        colourLabel(name, BandNameColour, Black);
        name->setAlignment(Qt::AlignCenter);
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);

        QLabel* bar = addChartLabel(BarPrefix + number, band, row.bar);
        colourLabel(bar, Black, White);
        bar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        bar->setToolTip(toQString(row.barToolTip));

        for (const ChartSegment& segment : row.segments) {
            QLabel* label = addChartLabel(
                SegmentPrefix + QString::number(++segmentNumber), toQString(segment.caption), segment.box);
            if (segment.cw) {
                colourLabel(label, CwSegmentColour, White);
            } else {
                colourLabel(label, PhoneSegmentColour, Black);
            }
            label->setFont(segmentFont);
            label->setAlignment(Qt::AlignCenter);
            label->setToolTip(toQString(segment.toolTip));
            label->raise();
        }
    }
}

} // namespace brindle
