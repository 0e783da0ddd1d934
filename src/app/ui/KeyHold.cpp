#include "KeyHold.h"

#include "common/Clock.h"

#include <algorithm>

namespace brindle {

KeyHold::KeyHold(const Clock& clock, Replay replay, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_replay(std::move(replay))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &KeyHold::releaseIfDue);
}

void KeyHold::holdUntil(std::int64_t untilMs)
{
    m_untilMs = untilMs;
}

bool KeyHold::active() const
{
    return !m_keys.empty() || m_clock.monotonicMs() < m_untilMs;
}

bool KeyHold::hold(int keyAscii)
{
    if (!active()) {
        return false;
    }
    m_keys.push_back(keyAscii);
    arm();
    return true;
}

void KeyHold::arm()
{
    const std::int64_t remaining = m_untilMs - m_clock.monotonicMs();
    m_timer.start(static_cast<int>(std::clamp<std::int64_t>(remaining, 0, 60'000)));
}

void KeyHold::releaseIfDue()
{
    if (m_clock.monotonicMs() < m_untilMs) {
        arm();
        return;
    }
    m_timer.stop();
    // A replayed key may itself start a new hold (another duplicate): the rest then waits again.
    while (!m_keys.empty() && m_clock.monotonicMs() >= m_untilMs) {
        const int key = m_keys.front();
        m_keys.pop_front();
        m_replay(key);
    }
    if (!m_keys.empty()) {
        arm();
    }
}

} // namespace brindle
