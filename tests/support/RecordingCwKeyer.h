#pragma once

#include "keying/KeyerControls.h"

namespace brindle::test {

// A CW keyer that sends nothing but says it is sending for as long as the test says so, and counts the
// times its unsent text was dropped.
class RecordingCwKeyer final : public NoCwKeyer
{
public:
    bool isSending() const override
    {
        return sending;
    }
    void clearBuffer() override
    {
        ++buffersCleared;
    }

    bool sending = false;
    int buffersCleared = 0;
};

} // namespace brindle::test
