#pragma once

#include "common/Clock.h"

namespace brindle::test {

// A clock that shows whatever the test sets; by default a computer whose local time is UTC.
class ManualClock : public Clock
{
public:
    DateTime local { 2026, 2, 21, 14, 5, 30 };
    DateTime utc { 2026, 2, 21, 14, 5, 30 };
    std::int64_t monotonic = 1000000;

    DateTime localNow() const override
    {
        return local;
    }
    DateTime utcNow() const override
    {
        return utc;
    }
    std::int64_t monotonicMs() const override
    {
        return monotonic;
    }
};

} // namespace brindle::test
