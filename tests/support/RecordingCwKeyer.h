#pragma once

#include "keying/KeyerControls.h"

namespace brindle::test {

// A CW keyer that sends nothing but says it is sending for as long as the test says so, and counts the
// times its unsent text was dropped.
class RecordingCwKeyer final : public CwKeyerControl
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
    void sendMessage(int) override
    {
    }
    void speedUp() override
    {
    }
    void slowDown() override
    {
    }
    void typeCharacter(char) override
    {
    }
    bool takeBackCharacter() override
    {
        return false;
    }

    bool sending = false;
    int buffersCleared = 0;
};

} // namespace brindle::test
