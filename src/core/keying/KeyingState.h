#pragma once

namespace brindle {

// How CW is keyed: the stored values of the keying choice.
enum class CwKeying
{
    None = 0,
    Rts = 1,
    Dtr = 2,
    ParallelPort = 3,
    WinKey = 5,
};

// What the main window's keys need to know of the CW and phone keyers, and may change. The text still
// to be sent belongs to the CW keyer itself.
struct KeyingState
{
    CwKeying cwKeying = CwKeying::None;
    bool keyboardCwMode = false; // typed text goes on the air instead of into the fields
    bool cwRepeatArmed = false; // F1 repeats
    bool phoneRepeatArmed = false;
    bool winKeyOpen = false;
    int winKeyStatus = 0; // above 0 while the keyer sends
};

} // namespace brindle
