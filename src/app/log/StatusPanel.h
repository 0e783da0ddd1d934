#pragma once

#include "ui/DesignPanel.h"

class QLabel;

namespace brindle {

class ClickableLabel;
struct ClockTexts;
struct DefaultData;

// The strip along the top of the main window: band, contest mode, own call and power, and the
// local and UTC clocks.
class StatusPanel : public DesignPanel
{
    Q_OBJECT

public:
    explicit StatusPanel(QWidget* canvas);

    void showBand(const QString& band);
    // The own station's call and power, and the contest mode.
    void showStation(const DefaultData& defaults);
    void showClocks(const ClockTexts& texts);

signals:
    void bandLabelClicked();

private:
    ClickableLabel* m_bandLabel = nullptr;
    QLabel* m_modeLabel = nullptr;
    QLabel* m_ownCallLabel = nullptr;
    QLabel* m_powerLabel = nullptr;
    QLabel* m_localTimeLabel = nullptr;
    QLabel* m_amPmLabel = nullptr;
    QLabel* m_utcTimeLabel = nullptr;
};

} // namespace brindle
