#pragma once

#include "keying/KeyingState.h"
#include "keying/MorseSender.h"

#include <array>
#include <string>
#include <string_view>

namespace brindle {

// What the CW keyer window keeps between runs in "cw.txt": the eleven messages, the port and line to
// key, the speed and spacing, and the repeat interval. Numbers are kept as the operator typed them; the
// keyer reads their values when it uses them.
struct CwSettings
{
    static constexpr int MessageCount = 11;
    // F1 … F9, then F10 and F11.
    std::array<std::string, MessageCount> messages;
    std::string port = "0"; // 0: no port
    std::string speed = "13"; // words per minute
    std::string wordSpace = "0";
    CwKeying keying = CwKeying::None;
    std::string parallelAddress = "&H378";
    bool showTextOnMain = false;
    std::string repeatSeconds = "0";

    bool operator==(const CwSettings&) const = default;
};

inline constexpr std::string_view CwSettingsReadName = "cw.txt";
inline constexpr std::string_view CwSettingsWriteName = "CW.txt";
// What F9 holds when the file gives it empty.
inline constexpr std::string_view EmptyF9Message = "VVV DE ";

// The eighteen values in order. A file that ends early, or a value of the wrong kind, stops the reading
// there: the values not read keep their defaults.
CwSettings parseCwSettings(std::string_view content);
std::string formatCwSettings(const CwSettings& settings);

// The stored keying choice; a number that is no choice keys nothing.
CwKeying cwKeyingFromNumber(int number);

// The timing choice as the settings store keeps it: "Timer", "Loop" or "Sleep"; anything else is "Timer".
CwTiming cwTimingFromText(std::string_view text);
std::string_view cwTimingText(CwTiming timing);

// A number field's value as the keyer uses it: the whole number the text starts with ("28", "-3",
// "12.5" gives 12); 0 for text that starts with none.
int leadingWholeNumber(std::string_view text);

// The word-space field after "More" (step 1) or "Less" (step -1): a number moves by the step, any other
// text becomes "0".
std::string stepWordSpace(std::string_view text, int step);
// The word-space field as it may stand: a number below -8 reads "-8", since -8 already leaves nothing of
// a word space but the gap between two characters; any other text stays as it is.
std::string limitWordSpace(std::string_view text);

} // namespace brindle
