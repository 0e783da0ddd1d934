#pragma once

#include "log/SectionTable.h"
#include "ui/DesignPanel.h"

#include <array>

class QColor;
class QLabel;

namespace brindle {

class BandTallies;
class ClickableLabel;
struct QsoRecord;

// The multiplier grid: every state and province in its call-area block, painted in the worked colour
// once it has been worked on the current band, with the count of those worked above it.
class MultiplierGridPanel : public DesignPanel
{
    Q_OBJECT

public:
    explicit MultiplierGridPanel(QWidget* canvas);

    // Every section in the remaining colour.
    void showAllRemaining(std::uint32_t remainingBgr);
    // The sections worked on band in the worked colour.
    void paintGrid(const BandTallies& tallies, const std::string& band, std::uint32_t workedBgr);
    // A contact just logged on the current band paints its section.
    void countNewContact(const QsoRecord& record, const std::string& currentBand, std::uint32_t workedBgr);
    void showSectionsWorked(int count);

signals:
    void sectionClicked(const QString& abbreviation);
    // The mouse rests on the label of the section at position (1 … 63).
    void sectionHovered(int position);

private:
    void buildGrid();
    ClickableLabel* sectionLabel(int position) const;
    void markSection(ClickableLabel* label, bool worked, const QColor& colour);

    ClickableLabel* m_sectionsWorkedLabel = nullptr;
    std::array<ClickableLabel*, SectionTable::Size> m_sectionLabels {};
};

} // namespace brindle
