#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The commands that make a transceiver move: set its frequency, set its mode. Pure byte building; the rig
// interface writes them, with the pauses they ask for, to the port the poll cycle uses.

// Frequencies on their way to the radio are whole hertz. A single-precision MHz value cannot hold 21.2345
// (it is 21.23450088...), and the radio would be sent 21,234,501 Hz; the operator's text is read exactly.
using Hertz = long long;

// Far beyond any radio, but small enough that hertz, tens of hertz and every digit text stay exact.
inline constexpr Hertz MaxHertz = 10'000'000'000'000; // 10 THz

// The operator's MHz as typed: digits with at most one decimal point, blanks around them. Digits past the
// sixth decimal are rounded, a half to the even neighbour. Nothing for anything else (signs, exponents,
// a second point, no digit at all) or for more than MaxHertz.
std::optional<Hertz> hertzFromText(std::string_view mhzText);
// A frequency the program holds in MHz, to the nearest hertz (a half to the even neighbour); a value that
// is not finite counts as 0, and one beyond ±MaxHertz as that limit.
Hertz hertzFromMHz(double mhz);
// Tens of hertz, the unit of the Yaesu commands: a half goes to the even neighbour.
Hertz tensOfHertz(Hertz hertz);

// The MHz as the Pegasus file takes it: at most seven significant digits, no trailing zeros after the
// point and no point for a whole number ("14.025", "7", "1270").
std::string frequencyText(Hertz hertz);
// The MHz to the hertz, otherwise written the same way ("14.17501").
std::string exactFrequencyText(Hertz hertz);
// A count of 10^-decimals MHz as decimal MHz: trailing zeros after the point dropped, the point kept after
// a whole number only when keepPoint asks for it; below 1 MHz with a "0" in front.
std::string decimalMHzText(long long units, std::size_t decimals, bool keepPoint);

// What the commands take from the rig window besides the rig name.
struct RigCommandContext
{
    // The frequency poll string: its first two characters ("FA") begin the Kenwood and FTdx9000 frequency
    // commands; characters 7 and 8 (counted from 1) are the CI-V bus address of an Icom or Omni VI, as a hex
    // byte ("64" in "FE FE 64 E0 03 FD").
    std::string_view frequencyPoll;
    // The mode poll string: its first three characters ("MD0") begin the FTdx9000 mode command.
    std::string_view modePoll;
    // What the last "IF" reply of a "Kenwood 2" told: 1 is VFO B.
    std::optional<int> vfoDigit;
};

// The mode command of the rig: bytes or text, exactly as written to the port. Nothing when the rig has no
// mode command ("Icom 735", the Ten Tecs but the Omni VI, "Other", "None", a name on no list), when its
// family has no code for the mode (mode texts compared exactly), or when the Icom address is no hex byte.
// The rig name is found as the poll finds it (findRigProfile), in any case.
std::optional<std::string> modeCommand(
    std::string_view rigName, std::string_view mode, const RigCommandContext& context);

// A frequency command and how to deliver it.
struct FrequencyCommand
{
    std::string bytes; // empty for the Pegasus, whose command is a file
    // Waited in turn before writing, so that the rig has digested the mode command.
    std::vector<int> pausesMs;
    // "Ten Tec Pegasus": its control program reads pegasusFileText from PegasusCommandFileName.
    bool toPegasusFile = false;

    bool operator==(const FrequencyCommand&) const = default;
};

// Nothing for a rig without a frequency command ("Other", "None", a name on no list), for a negative
// frequency, for an Icom address that is no hex byte, and for a frequency its fixed-width field cannot hold:
// the radio reads a fixed count of digits or bytes, so a longer number would be read as another frequency
// or leave stray bytes behind, and nothing is better sent. The rig name is found as for modeCommand.
std::optional<FrequencyCommand> frequencyCommand(
    std::string_view rigName, Hertz hertz, const RigCommandContext& context);

// Two lines, CR LF after each: the frequency and the rig's mode text, blanks trimmed.
std::string pegasusFileText(Hertz hertz, std::string_view rigModeText);
inline constexpr std::string_view PegasusCommandFileName = "PEGASUS.IN";

// "Hamlib rigctld" (RigctldRigName): its text protocol, a command a line. The mode is set with passband 0, the rig's
// own default for the mode. Nothing for a frequency below zero or a mode the logger does not use.
std::optional<std::string> rigctldFrequencyCommand(Hertz hertz);
std::optional<std::string> rigctldModeCommand(std::string_view mode);

} // namespace brindle
