#pragma once

#include "ui/DesignPanel.h"

class QLabel;
class QPushButton;
class QTimer;

namespace brindle {

class Clock;
class MessageLine;
class SessionController;
struct ContestSession;

// Score, rates and operating time, with the button that starts and stops the operating clock.
class ScorePanel : public DesignPanel
{
    Q_OBJECT

public:
    ScorePanel(QWidget* canvas, ContestSession& session, const Clock& clock, SessionController& controller,
        MessageLine& messages);

    void showScore();
    void showRates();
    // The finished on-periods, as the clock shows them while it is stopped.
    void showOperatingTime();
    // Once a second: the operating time while the clock runs.
    void updateOperatingTime();
    void toggleTimeOn();
    void startOperatingClock();
    // Keeps the running period and saves it; nothing when the clock is stopped.
    void stopOperatingClock();
    // The rates' own once-a-minute refresh.
    void startRateTimer();

signals:
    // The multipliers worked on the current band, for the grid's count.
    void currentBandMultipliersCounted(int count);
    void callFocusWanted();

private:
    ContestSession& m_session;
    const Clock& m_clock;
    SessionController& m_controller;
    MessageLine& m_messages;
    QLabel* m_totalContactsLabel = nullptr;
    QLabel* m_qsoPointsLabel = nullptr;
    QLabel* m_multipliersLabel = nullptr;
    QLabel* m_scoreLabel = nullptr;
    QLabel* m_rate20Label = nullptr;
    QLabel* m_rate60Label = nullptr;
    QLabel* m_operatingTimeLabel = nullptr;
    QPushButton* m_timeOnButton = nullptr;
    QTimer* m_rateTimer = nullptr;
};

} // namespace brindle
