#pragma once

#include <array>
#include <string>
#include <string_view>

namespace brindle {

// The line that keys the transmitter while a message plays: the stored values of the window's choice.
enum class PttLine
{
    Rts = 0,
    Dtr = 1,
    Parallel = 2,
};

inline constexpr std::string_view PhoneSettingsFileName = "wave2.txt";
inline constexpr int PhoneMessageCount = 9;

// What the phone keyer window keeps between runs in "wave2.txt": the recorded message of each key, the
// port and line for PTT, and the pause before F1 repeats. Numbers are kept as the operator typed them.
struct PhoneSettings
{
    std::array<std::string, PhoneMessageCount> waveFiles; // F1 … F9, empty = no message
    std::string pttPort = "0"; // serial port number for PTT; 0 = none
    PttLine pttLine = PttLine::Rts;
    std::string loopSeconds = "0";
    std::string parallelAddress = "&H378";

    bool operator==(const PhoneSettings&) const = default;
};

// The thirteen values in order: nine wave file paths, the PTT port, the PTT line bare, the loop seconds and
// the parallel address. A file that ends early or is damaged stops the reading there: the values not read
// keep their defaults. A PTT line other than 0, 1 or 2 is RTS. Values come back as the file can keep
// them (no quotes or line ends, paths without blanks around them), so what is read is written unchanged.
PhoneSettings parsePhoneSettings(std::string_view text);
// Thirteen lines, CR LF after each: all quoted but the PTT line.
std::string formatPhoneSettings(const PhoneSettings& settings);

// The PTT port field's number: text that is not a whole number gives 0 (no port). "3" → 3, " 2 " → 2,
// "x" → 0, "-1" → 0 (below 1 is no port).
int pttPortNumber(std::string_view text);

} // namespace brindle
