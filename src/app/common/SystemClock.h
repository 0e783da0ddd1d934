#pragma once

#include "common/Clock.h"

namespace brindle {

// The computer's clocks.
class SystemClock : public Clock
{
public:
    DateTime localNow() const override;
    DateTime utcNow() const override;
    std::int64_t monotonicMs() const override;
};

} // namespace brindle
