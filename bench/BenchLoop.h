#pragma once

// The window's event loop as the program runs it, and a probe of how late it comes to its timers: the
// longest lateness is what a key pressed then would wait.

#include "BenchFigures.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <vector>

namespace brindle::bench {

// The lateness of a 1 ms timer's ticks on the window's thread.
class LoopProbe
{
public:
    LoopProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const auto now = std::chrono::steady_clock::now();
            if (m_last != std::chrono::steady_clock::time_point {}) {
                m_gaps.push_back(ms(now - m_last) - 1);
            }
            m_last = now;
        });
    }
    // Room for the ticks expected is taken at once, so that the probe's own growth does not show in a
    // memory figure taken meanwhile.
    void start(std::size_t expectedTicks = 0)
    {
        // Written once, so that its pages are the process's before the run rather than during it.
        m_gaps.assign(expectedTicks, 0.0);
        m_gaps.clear();
        m_last = {};
        m_timer.start();
    }
    std::vector<double> stop()
    {
        m_timer.stop();
        return m_gaps;
    }

private:
    QTimer m_timer;
    std::chrono::steady_clock::time_point m_last;
    std::vector<double> m_gaps;
};

// The window's own event loop, as the program runs it: QTest's waits sleep between their rounds,
// which the probe would take for the window's lateness.
inline void runFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Asked every checkMs: a long run checked less often adds less of its own to the processor time measured.
template <class Done> inline bool runUntil(Done done, int timeoutMs, int checkMs = 1)
{
    QEventLoop loop;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    check.start(checkMs);
    QTimer::singleShot(timeoutMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    if (!done()) {
        loop.exec();
    }
    return done();
}

} // namespace brindle::bench
