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

// The line the CW settings choose, opened when the first character needs it and kept open after.
class KeyingLineSource
{
public:
    virtual ~KeyingLineSource() = default;
    // The line, opened if it was not; an Error says which port and why not, in words the operator can
    // act on.
    virtual Result<KeyingLine*> openLine() = 0;
    // Leaves the key up and lets the port go.
    virtual void closeLine() = 0;
};

} // namespace brindle
