#pragma once

#include "ui/DesignPanel.h"

class QLabel;
class QPushButton;

namespace brindle {

class ContestLog;

// The possible-duplicates box: the calls a partial call matches, or a section's tally, with the button
// that turns the partial search on and off.
class DupePanel : public DesignPanel
{
    Q_OBJECT

public:
    explicit DupePanel(QWidget* canvas);

    // Calls found by the partial search, on the list colour; an empty text empties the box.
    void showList(const QString& text);
    // Any other text, on the box's own colour.
    void showText(const QString& text);
    void clear();
    // The own call spotted, and the spot's record, on white.
    void showSpotted(const QString& text);
    // The contacts of the section at position, per band.
    void showSectionTally(const ContestLog& log, int position);
    void showPartialSearch(bool on);

signals:
    void partialSearchToggled();

private:
    void nameSearchButton(bool on);

    QLabel* m_possibleDupesLabel = nullptr;
    QPushButton* m_partialSearchButton = nullptr;
};

} // namespace brindle
