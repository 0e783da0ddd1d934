#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>

namespace brindle {

class Clock;

// Holds keys typed into a field until a moment has come, then hands them on in the order they were
// typed. The window keeps running meanwhile: nothing is lost and nothing is reordered.
class KeyHold : public QObject
{
    Q_OBJECT

public:
    using Replay = std::function<void(int keyAscii)>;

    KeyHold(const Clock& clock, Replay replay, QObject* parent = nullptr);

    // Keys that arrive before monotonic time `untilMs` are held.
    void holdUntil(std::int64_t untilMs);
    // Holds the key if a hold is on (or keys are still waiting, so that it queues behind them);
    // false when the key may take effect now.
    bool hold(int keyAscii);
    bool active() const;
    // Hands the held keys on once the moment has come; the timer calls it, and so can a test that moved
    // the clock.
    void releaseIfDue();

private:
    void arm();

    const Clock& m_clock;
    Replay m_replay;
    QTimer m_timer;
    std::int64_t m_untilMs = 0;
    std::deque<int> m_keys;
};

} // namespace brindle
