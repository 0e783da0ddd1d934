#pragma once

#include "keying/MorseSender.h"

#include <functional>
#include <map>
#include <mutex>

namespace brindle::test {

// A keying clock that jumps to each deadline at once, so a sender's edges land exactly where its timing
// puts them and a test of a long message takes no time. Things meant to happen while a character is on
// the air (a speed change, the thread being held up) are planned at a moment of this clock and happen
// when a wait passes it.
class SteppedKeyingClock final : public KeyingClock
{
public:
    Clock::time_point now() override
    {
        std::lock_guard lock(m_mutex);
        return m_now;
    }
    void waitUntil(Clock::time_point deadline) override
    {
        advanceTo(deadline);
    }
    void sleepFor(std::chrono::milliseconds length) override
    {
        advanceTo(now() + length);
    }

    // Runs the action when a wait first reaches this many milliseconds after the start.
    void at(double ms, std::function<void()> action)
    {
        std::lock_guard lock(m_mutex);
        m_planned.emplace(start() + toDuration(ms), std::move(action));
    }
    // A thread held up by the system: the wait that passes this moment ends this much later.
    void holdUpAt(double ms, double forMs)
    {
        at(ms, [this, forMs] { m_now += toDuration(forMs); });
    }

    static Clock::time_point start()
    {
        return Clock::time_point {};
    }
    double msSinceStart(Clock::time_point at) const
    {
        return std::chrono::duration<double, std::milli>(at - start()).count();
    }

private:
    static Clock::duration toDuration(double ms)
    {
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(ms));
    }
    void advanceTo(Clock::time_point deadline)
    {
        std::unique_lock lock(m_mutex);
        while (!m_planned.empty() && m_planned.begin()->first <= deadline) {
            auto next = m_planned.extract(m_planned.begin());
            m_now = std::max(m_now, next.key());
            next.mapped()(); // under the lock: a hold-up moves m_now itself
        }
        m_now = std::max(m_now, deadline);
    }

    std::mutex m_mutex;
    Clock::time_point m_now = start();
    std::multimap<Clock::time_point, std::function<void()>> m_planned;
};

} // namespace brindle::test
