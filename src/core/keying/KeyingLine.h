#pragma once

#include "common/Result.h"

namespace brindle {

// The one line that keys the transmitter: a serial port's RTS or DTR, or the parallel port's strobe.
// A line that cannot be switched says why, so keying never goes silently into nothing.
class KeyingLine
{
public:
    virtual ~KeyingLine() = default;
    virtual Status setKeyDown(bool down) = 0;
};

} // namespace brindle
