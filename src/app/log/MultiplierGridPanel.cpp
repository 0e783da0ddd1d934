#include "MultiplierGridPanel.h"

#include "common/QtText.h"
#include "common/Text.h"
#include "log/BandTally.h"
#include "log/QsoRecord.h"
#include "ui/ClickableLabel.h"
#include "ui/Colours.h"

#include <algorithm>

namespace brindle {

namespace {

// Named by the area each heads; the blocks run 1 to 9, 0, then Canada.
constexpr std::array<std::string_view, 11> AreaHeadingNames
    = { "areaHeading_1", "areaHeading_2", "areaHeading_3", "areaHeading_4", "areaHeading_5", "areaHeading_6",
          "areaHeading_7", "areaHeading_8", "areaHeading_9", "areaHeading_0", "areaHeading_Canada" };

} // namespace

MultiplierGridPanel::MultiplierGridPanel(QWidget* canvas)
    : DesignPanel(canvas, QRect(0, 316, 640, 164))
{
    addLabel("sectionsWorkedCaption", QStringLiteral("States / Provinces worked on current band:"), 8, 318, 206);
    m_sectionsWorkedLabel = place(new ClickableLabel(QStringLiteral("0"), this), 214, 318, 30, 14);
    m_sectionsWorkedLabel->setObjectName(QStringLiteral("sectionsWorkedLabel"));
    buildGrid();
}

void MultiplierGridPanel::buildGrid()
{
    // Eleven blocks, one a call area and the last Canada, whose fourteen sections take two columns.
    constexpr int Left = 8;
    constexpr int Top = 336;
    constexpr int ColumnWidth = 52;
    constexpr int RowHeight = 13;
    const auto& areas = SectionTable::areas();
    for (std::size_t block = 0; block < areas.size(); ++block) {
        const int width = block + 1 == areas.size() ? 2 * ColumnWidth : ColumnWidth;
        auto* heading = addLabel(AreaHeadingNames[block].data(), toQString(areas[block]),
            Left + static_cast<int>(block) * ColumnWidth, Top, width, RowHeight);
        heading->setAlignment(Qt::AlignCenter);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }
    constexpr int RowsPerColumn = 8;
    std::array<int, 11> filled {};
    for (int i = 1; i <= SectionTable::Size; ++i) {
        const Section& section = SectionTable::at(i);
        const auto block
            = static_cast<std::size_t>(std::find(areas.begin(), areas.end(), section.area) - areas.begin());
        const int index = filled[block]++;
        const int column = static_cast<int>(block) + index / RowsPerColumn;
        const int row = index % RowsPerColumn;
        auto* label = place(new ClickableLabel(toQString(section.abbreviation), this), Left + column * ColumnWidth,
            Top + RowHeight + row * RowHeight, ColumnWidth, RowHeight);
        label->setObjectName(QStringLiteral("sectionLabel_") + toQString(section.abbreviation));
        label->setToolTip(toQString(section.fullName));
        label->setAlignment(Qt::AlignCenter);
        m_sectionLabels[static_cast<std::size_t>(i - 1)] = label;
        const QString abbreviation = toQString(section.abbreviation);
        connect(label, &ClickableLabel::clicked, this, [this, abbreviation] { emit sectionClicked(abbreviation); });
        connect(label, &ClickableLabel::entered, this, [this, i] { emit sectionHovered(i); });
    }
}

ClickableLabel* MultiplierGridPanel::sectionLabel(int position) const
{
    return m_sectionLabels[static_cast<std::size_t>(position - 1)];
}

void MultiplierGridPanel::markSection(ClickableLabel* label, bool worked, const QColor& colour)
{
    setTextColour(label, colour);
    // The colour says it to the eye; the name says it to a listener.
    label->setAccessibleName(label->text() + (worked ? QStringLiteral(" worked") : QStringLiteral(" needed")));
}

void MultiplierGridPanel::showAllRemaining(std::uint32_t remainingBgr)
{
    const QColor remaining = fromBgr(remainingBgr);
    for (ClickableLabel* label : m_sectionLabels) {
        markSection(label, false, remaining);
    }
}

void MultiplierGridPanel::paintGrid(const BandTallies& tallies, const std::string& band, std::uint32_t workedBgr)
{
    const BandTally* tally = tallies.forBand(band);
    if (!tally) {
        return;
    }
    const QColor worked = fromBgr(workedBgr);
    for (const std::string& section : tally->sections) {
        if (const auto position = SectionTable::positionOf(section)) {
            markSection(sectionLabel(*position), true, worked);
        }
    }
}

void MultiplierGridPanel::countNewContact(
    const QsoRecord& record, const std::string& currentBand, std::uint32_t workedBgr)
{
    // The log has counted the contact into its band's tally already; the grid shows a new section.
    if (!equalsIgnoreCase(record.band, currentBand)) {
        return;
    }
    if (const auto position = SectionTable::positionOf(record.section)) {
        markSection(sectionLabel(*position), true, fromBgr(workedBgr));
    }
}

void MultiplierGridPanel::showSectionsWorked(int count)
{
    m_sectionsWorkedLabel->setText(QString::number(count));
}

} // namespace brindle
