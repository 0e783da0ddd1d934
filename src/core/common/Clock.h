#pragma once

#include <cstdint>

namespace brindle {

// A calendar date and time of day, as the operator's clock or the UTC clock shows it.
struct DateTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const DateTime&) const = default;
};

// Where the program reads the time. Tests set it; the application reads the computer's clocks.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual DateTime localNow() const = 0;
    virtual DateTime utcNow() const = 0;
    // Milliseconds on a clock that only moves forward, whatever happens to the time of day: for
    // intervals such as the hold after a duplicate.
    virtual std::int64_t monotonicMs() const = 0;
};

} // namespace brindle
