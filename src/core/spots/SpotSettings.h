#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// Where spots come from. The file and the window's list keep the source as text: "None", "TNC", "Telnet"
// or "AGW Packet Engine", compared ignoring case.
enum class SpotSource
{
    None,
    Tnc,
    Telnet,
    Agw,
};

// The source a stored text names; nothing for any other text, the empty one a window has before a source
// was loaded or chosen included: that is a source other than None that opens nothing.
std::optional<SpotSource> spotSourceOf(std::string_view text);
// The list's text for a source, as it is stored.
std::string_view spotSourceText(SpotSource source);

inline constexpr std::string_view SpotSettingsFileName = "PackSpot.txt";
inline constexpr std::string_view DefaultAgwAddress = "127.0.0.1:8000";
inline constexpr int LowestSpotPort = 1;
inline constexpr int HighestSpotPort = 10;

// The spotting window's values as "PackSpot.txt" keeps them, a value a line:
//   1  serial speed, "1200" … "19200"           8  hex flag, 0 or 1
//   2  parity, "O", "N" or "E"                  9  handshaking, 1 none, 2 Xon Xoff, 3 RTS, 4 RTS OnOff
//   3  data bits, "7" or "8"                   10  "List DX Only", 0 or 1 (written, never read back)
//   4  stop bits, "1" or "2"                   11  list mode: #TRUE# "List", #FALSE# "Band Map"
//   5  serial port number, 1 to 10             12  the TNC's command-mode character, in hex ("03")
//   6  power line: "N" none, "R" RTS, "D" DTR  13  Telnet port, as typed
//   7  the source, as its text                 14  Telnet host, as typed
// Values the fourteen lines have no room for follow them; a file written before they existed ends
// after line 14 and leaves them as they are:
//  15  the AGW Packet Engine's address, host:port
//  16  the call to log in to a Telnet node with; empty: the own call
//  17  reconnect a lost Telnet connection by itself: #TRUE# or #FALSE#
//  18  keep an idle Telnet connection alive: #TRUE# or #FALSE#
//  19  answer a Telnet node's login prompt by itself: #TRUE# or #FALSE#
// The option values are kept as text, the way the window's buttons carry them.
struct SpotSettings
{
    std::string speed = "19200";
    std::string parity = "N";
    std::string dataBits = "8";
    std::string stopBits = "1";
    int port = 1;
    std::string power = "N";
    std::string source; // nothing chosen yet
    bool hexFlag = false;
    int handshaking = 1;
    bool dxOnly = false;
    bool listMode = false;
    std::string commandChar;
    std::string telnetPort;
    std::string telnetHost;

    std::string agwAddress = std::string(DefaultAgwAddress);
    std::string telnetLoginCall;
    bool autoReconnect = false;
    bool keepAlive = false;
    // Off for a node that wants something other than a call at its prompt: the operator types it.
    bool autoLogin = true;

    bool operator==(const SpotSettings&) const = default;
};

// Reads the file over the values the window holds now: each value read replaces its own, and the reading
// stops silently where the file ends or a value is damaged (of the wrong kind, a port outside 1–10,
// handshaking outside 1–4), so everything from there on keeps its current value. "List DX Only" is read
// but never applied: the box starts cleared whatever the file says.
SpotSettings parseSpotSettings(std::string_view content, SpotSettings current);
// Nineteen lines, CR LF after each.
std::string formatSpotSettings(const SpotSettings& settings);

// Speed, parity, data bits and stop bits as the TNC's port takes them: "9600,N,8,1".
std::string lineSettingsText(const SpotSettings& settings);

} // namespace brindle
