#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace brindle {

// The WinKey keyer's settings as its window shows them and "WK.txt" keeps them. The number fields keep
// what the operator typed; the checks below say what of it goes to the keyer.
struct WinKeySettings
{
    int port = 0; // serial port number; 0: none
    std::string speed = "18";
    std::string weight = "50";
    std::string leadIn = "0";
    std::string tail = "0";
    std::string ratio = "50";
    int pinConfiguration = 6; // WinKeyPins::Tone
    int keyerMode = 0; // WinKeyModes::IambicB

    bool operator==(const WinKeySettings&) const = default;
};

// The keyer's pin configuration and mode register values of the window's buttons.
namespace WinKeyPins {
inline constexpr int Ptt = 5; // "PTT"
inline constexpr int Tone = 6; // "Tone"
inline constexpr int Pin3Key = 4; // "P5 Off, P3 Key Out"
inline constexpr int Pin5Key = 8; // "P5 Key Out, P3 Off"
} // namespace WinKeyPins
namespace WinKeyModes {
inline constexpr int IambicB = 0;
inline constexpr int IambicA = 16;
inline constexpr int Ultimatic = 32;
inline constexpr int Bug = 48;
} // namespace WinKeyModes

inline constexpr std::string_view WinKeySettingsFileName = "WK.txt";

// Eight values; the last two (pins and mode) are read only when present. A value missing or of the wrong
// kind stops the reading there: the values not read keep their defaults.
WinKeySettings parseWinKeySettings(std::string_view content);
// Eight lines, CR LF after each: the port bare, lines 2 to 6 quoted, the pins and mode bare.
std::string formatWinKeySettings(const WinKeySettings& settings);

// What leaving a field does: a value to send to the keyer, and a text the field is to show instead.
struct WinKeyFieldCheck
{
    std::optional<std::uint8_t> send;
    std::optional<std::string> replacement;
};
// A number in the field's range is sent; one outside it stays in the field unsent. Text that is no
// number, or a number that is no byte (0 to 255 once rounded), gives way to the field's default.
WinKeyFieldCheck checkWinKeySpeed(std::string_view text); // 0–99, else "18"
WinKeyFieldCheck checkWinKeyWeight(std::string_view text); // 0–99, else "50"
WinKeyFieldCheck checkWinKeyRatio(std::string_view text); // 33–66, else "50"

// Lead-in and tail go to the keyer together, only when both are bytes; otherwise the field being left
// becomes "0" and nothing is sent.
struct WinKeyLeadTailCheck
{
    std::optional<std::pair<std::uint8_t, std::uint8_t>> send;
    bool resetLeftField = false;
};
WinKeyLeadTailCheck checkWinKeyLeadInAndTail(std::string_view leadIn, std::string_view tail);

// The port a field gives: 0 when it is no byte; text that is no number shows "0".
struct WinKeyPortCheck
{
    int port = 0;
    std::optional<std::string> replacement;
};
WinKeyPortCheck checkWinKeyPort(std::string_view text);

// A number as the keyer takes it: rounded to the nearest whole number (halves to even), 0 to 255.
std::optional<std::uint8_t> winKeyByte(std::string_view text);

} // namespace brindle
