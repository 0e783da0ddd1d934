#pragma once

#include "rig/Rigctld.h"

#include <string>
#include <string_view>

namespace brindle {

// Where the rig's mode comes from.
enum class ModeBy
{
    Rig = 1,
    Frequency = 2,
    Ignore = 3, // "Don't Use"
};

// The rig window's values as "RigCntrl.txt" keeps them. The option values are kept as text, the way the
// window's buttons carry them: a value that matches no button selects none, and is written back as read.
struct RigSettings
{
    std::string rigName = "None";
    int port = 1; // 1–10
    std::string baud = "56000"; // without the padding the file gives it
    std::string parity = "N"; // N, O or E
    std::string dataBits = "8";
    std::string stopBits = "1";
    std::string power = "N"; // N: none, R: RTS, D: DTR
    std::string pollRate = "M"; // F, M, S or R
    std::string frequencyPoll;
    std::string modePoll;
    bool convertToHex = false;
    bool useFrequency = false;
    ModeBy modeBy = ModeBy::Rig;
    std::string rigctldAddress = std::string(DefaultRigctldAddress); // host:port of "Hamlib rigctld"

    bool operator==(const RigSettings&) const = default;
};

inline constexpr std::string_view RigSettingsFileName = "RigCntrl.txt";
inline constexpr int LowestRigPort = 1;
inline constexpr int HighestRigPort = 10;

// Reads the file over the settings the window holds now: each value read replaces its own, and the
// reading stops silently where the file ends, a value is of the wrong kind, or the port number is outside
// 1–10, so everything from there on keeps its current value. The network rig's address, the one value
// after the fourteen, is read only when the file has it.
RigSettings parseRigSettings(std::string_view content, RigSettings current);
// Fifteen lines, CR LF after each; the baud is padded with spaces to five characters.
std::string formatRigSettings(const RigSettings& settings);

// Baud, parity, data bits and stop bits as the serial port takes them: "4800,N,8,2".
std::string lineSettingsText(const RigSettings& settings);

} // namespace brindle
