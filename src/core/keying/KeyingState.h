#pragma once

#include <string>

namespace brindle {

// What the main window's keys need to know of the CW and phone keyers, and may change.
struct KeyingState
{
    // 0 none, 1 RTS line, 2 DTR line, 3 parallel port, 5 WinKey.
    int cwKeyingOption = 0;
    std::string cwBuffer; // the text still to be sent
    bool cwSending = false;
    bool keyboardCwMode = false; // typed text goes on the air instead of into the fields
    bool cwRepeatArmed = false; // F1 repeats
    bool phoneRepeatArmed = false;
    bool winKeyOpen = false;
    int winKeyStatus = 0; // above 0 while the keyer sends
};

} // namespace brindle
