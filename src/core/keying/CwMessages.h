#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

struct CwSettings;

// Virtual key codes of the function keys as the keyer takes them. F10 has a code of its own: the
// platform reserves F10 for the menu bar.
namespace cwkeys {
inline constexpr int F1 = 112;
inline constexpr int F9 = 120;
inline constexpr int F11 = 122;
inline constexpr int F12 = 123;
inline constexpr int F10 = 124;
} // namespace cwkeys

// The keyer's code for a function key's virtual key code (F1 = 112 … F12 = 123): F10 becomes 124, the
// others stay as they are.
constexpr int keyerCodeOf(int functionKey)
{
    return functionKey == cwkeys::F1 + 9 ? cwkeys::F10 : functionKey;
}

// Which stored message a function key sends: 0 … 8 for F1 … F9, 9 for F10 (code 124), 10 for F11.
// Nothing for any other code, F12 included.
std::optional<std::size_t> messageIndexForKey(int keyCode);

// The message with its wildcards filled, in three passes from left to right: each "$" by the call
// without leading and trailing blanks, each "#" by nothing (no contact number is kept), each "*" by the
// sent report without blanks. A sent report that is exactly "599" or empty first becomes "5NN", and stays
// so in rstSent: the report is keyed the way operators send it.
std::string fillWildcards(std::string_view message, std::string_view call, std::string& rstSent);

// The repeat interval of the F1 message in milliseconds for the "Loop (Sec)" field: a number of seconds
// of at least 0 and below 60. Nothing for anything else: the field then becomes "0".
std::optional<int> repeatIntervalMs(std::string_view seconds);

// The characters of code practice: A to Z, 0 to 9, then ". , ? / -".
inline constexpr std::string_view PracticeCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-";
inline constexpr std::size_t PracticeLetters = 26;

// Groups of random practice characters, each followed by one blank. uniform gives numbers in [0, 1).
template <class Uniform>
std::string randomGroups(int groups, int length, bool lettersOnly, Uniform&& uniform)
{
    const std::size_t range = lettersOnly ? PracticeLetters : PracticeCharacters.size();
    std::string text;
    for (int g = 0; g < groups; ++g) {
        for (int c = 0; c < length; ++c) {
            const auto position = static_cast<std::size_t>(static_cast<double>(range) * uniform());
            text += PracticeCharacters[position < range ? position : range - 1];
        }
        text += ' ';
    }
    return text;
}

} // namespace brindle
