#include "MorseSender.h"

#include "keying/MorseTable.h"

#include <cmath>
#include <thread>

namespace brindle {

namespace {

using namespace std::chrono;

// How long before a deadline the "Timer" wait stops sleeping and watches the clock: more than the
// scheduler's usual lateness in waking a thread on a busy computer, so the edge itself never waits for
// a wake-up. The cost is this much of a core at every unit.
constexpr auto SpinMargin = microseconds(1500);

// Counting as the "Loop" timing and its calibration count: the counter lives in memory so the compiler
// keeps every step.
void countTo(double steps)
{
    volatile double counter = 0;
    while (counter < steps) {
        counter = counter + 1;
    }
}

class SystemKeyingClock final : public KeyingClock
{
public:
    Clock::time_point now() override
    {
        return Clock::now();
    }
    void waitUntil(Clock::time_point deadline) override
    {
        if (deadline - Clock::now() > SpinMargin) {
            std::this_thread::sleep_until(deadline - SpinMargin);
        }
        while (Clock::now() < deadline) {
        }
    }
    void sleepFor(milliseconds length) override
    {
        std::this_thread::sleep_for(length);
    }
};

} // namespace

KeyingClock& systemKeyingClock()
{
    static SystemKeyingClock clock;
    return clock;
}

double calibrateLoop()
{
    constexpr double Steps = 5'000'000;
    const auto start = steady_clock::now();
    countTo(Steps);
    const double ms = duration<double, std::milli>(steady_clock::now() - start).count();
    // A clock that did not move (it cannot on any computer this runs on) must not give infinity.
    return std::nearbyint(Steps / std::max(ms, 0.001) * 60.0);
}

double shortenedLoop(double loopsPer60Ms)
{
    return std::nearbyint(loopsPer60Ms * 0.9);
}

double lengthenedLoop(double loopsPer60Ms)
{
    return std::nearbyint(loopsPer60Ms * 1.111111111111);
}

MorseSender::MorseSender(KeyingLine& line, const LiveCwSettings& settings, KeyingClock& clock)
    : m_line(line)
    , m_settings(settings)
    , m_clock(clock)
{
}

void MorseSender::startNewRun()
{
    m_timingRun = false;
    m_lineState = LineState::Unknown;
}

bool MorseSender::setLine(bool down)
{
    const LineState wanted = down ? LineState::Down : LineState::Up;
    if (m_lineState == wanted) {
        return true;
    }
    if (Status set = m_line.setKeyDown(down); !set) {
        m_failure = set.error();
        m_lineState = LineState::Unknown;
        if (down) {
            // Whatever state the line was left in, it must not stay keyed.
            (void)m_line.setKeyDown(false);
        }
        return false;
    }
    m_lineState = wanted;
    return true;
}

MorseSender::Outcome MorseSender::sendCharacter(char character)
{
    if (character == LogContactCharacter) {
        return Outcome::LogContact;
    }
    const std::string units = keyedUnits(character, m_settings.wordSpace.load());
    if (units.empty()) {
        return Outcome::Sent;
    }
    for (const char unit : units) {
        if (m_settings.abandon.load()) {
            setLine(false);
            return Outcome::Abandoned;
        }
        const int wpm = m_settings.wordsPerMinute.load();
        if (wpm < 1) {
            setLine(false);
            return Outcome::NoSpeed;
        }
        if (!setLine(unit == '1')) {
            return Outcome::LineFailed;
        }
        waitOneUnit(wpm);
    }
    return Outcome::Sent;
}

void MorseSender::waitOneUnit(int wordsPerMinute)
{
    const double ms = unitMs(wordsPerMinute);
    switch (m_settings.timing.load()) {
    case CwTiming::Timer: {
        const auto unit = duration_cast<Clock::duration>(duration<double, std::milli>(ms));
        const auto now = m_clock.now();
        // A run starts now; a thread held up for more than a unit starts afresh rather than rushing
        // the next elements to catch up.
        if (!m_timingRun || now > m_deadline + unit) {
            m_deadline = now;
            m_timingRun = true;
        }
        m_deadline += unit;
        m_clock.waitUntil(m_deadline);
        break;
    }
    case CwTiming::Sleep:
        m_clock.sleepFor(milliseconds(std::lrint(ms)));
        break;
    case CwTiming::Loop:
        // 60 ms is one unit at 20 WPM.
        countTo(m_settings.loopsPer60Ms.load() / wordsPerMinute * 20);
        break;
    }
}

} // namespace brindle
