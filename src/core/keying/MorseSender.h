#pragma once

#include "keying/KeyingLine.h"

#include <atomic>
#include <chrono>
#include <string>

namespace brindle {

// How one unit is timed.
enum class CwTiming
{
    Timer, // to a deadline on the monotonic clock
    Loop, // by counting, calibrated for this computer
    Sleep, // by sleeping whole milliseconds
};

// The settings the sender reads afresh for every unit, so a change of speed takes effect at the next
// unit even in the middle of a character. The window thread writes them while the keying thread reads.
struct LiveCwSettings
{
    std::atomic<int> wordsPerMinute { 13 };
    std::atomic<int> wordSpace { 0 };
    std::atomic<CwTiming> timing { CwTiming::Timer };
    std::atomic<double> loopsPer60Ms { 0 };
    // Set when the program ends: the character on the air stops at the next unit, key up, instead of
    // holding the end for a long word space at a slow speed.
    std::atomic<bool> abandon { false };
};

// Where the sender's time comes from and how it waits. The keying thread uses the computer's
// monotonic clock; a clock that is moved by hand lets every edge of a timing be checked exactly.
class KeyingClock
{
public:
    using Clock = std::chrono::steady_clock;

    virtual ~KeyingClock() = default;
    virtual Clock::time_point now() = 0;
    // Returns at the deadline, as close to it as the clock can: the "Timer" timing.
    virtual void waitUntil(Clock::time_point deadline) = 0;
    // Returns after at least this long: the "Sleep" timing.
    virtual void sleepFor(std::chrono::milliseconds length) = 0;
};

// The computer's monotonic clock, waiting to a deadline by sleeping and then watching the clock.
KeyingClock& systemKeyingClock();

// Counting steps that last 60 ms on this computer: the "Loop" timing's calibration, to the nearest whole
// number. Takes some milliseconds of one core.
double calibrateLoop();
// "Speed up CW" and "Slow Down CW" of the "Loop" timing: a tenth fewer counting steps a unit, or as many
// more as give that tenth back, to the nearest whole number (halves to even, as the calibration rounds).
double shortenedLoop(double loopsPer60Ms);
double lengthenedLoop(double loopsPer60Ms);

// Keys characters on a line, one whole character per call: nothing interrupts a character, so the line
// is always up between calls. Used by one thread at a time.
class MorseSender
{
public:
    enum class Outcome
    {
        Sent, // keyed, or skipped without keying
        LogContact, // the log character: nothing keyed
        NoSpeed, // the speed is below 1 WPM: nothing keyed
        LineFailed, // the line could not be switched: the rest of the character is abandoned
        Abandoned, // the program is ending: the key is up
    };

    MorseSender(KeyingLine& line, const LiveCwSettings& settings, KeyingClock& clock = systemKeyingClock());

    Outcome sendCharacter(char character);
    // Why the last LineFailed happened.
    const Error& lineFailure() const
    {
        return m_failure;
    }
    // The next unit starts a new run of text: its timing starts when it is keyed, not where the last
    // run's units ended.
    void startNewRun();

private:
    using Clock = KeyingClock::Clock;

    bool setLine(bool down);
    void waitOneUnit(int wordsPerMinute);

    KeyingLine& m_line;
    const LiveCwSettings& m_settings;
    KeyingClock& m_clock;
    Error m_failure;
    // The line's state as last set; unknown at the start of a run.
    enum class LineState
    {
        Unknown,
        Up,
        Down,
    } m_lineState
        = LineState::Unknown;
    // The end of the last unit timed by "Timer"; each unit's deadline follows from the one before, so
    // no error adds up over a message.
    Clock::time_point m_deadline;
    bool m_timingRun = false;
};

} // namespace brindle
