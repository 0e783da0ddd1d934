#pragma once

#include "common/Result.h"
#include "rig/RigProfile.h"
#include "rig/RigSettings.h"
#include "serial/SerialPort.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// Poll strings written as hex pairs, "FE FE 64 E0 03 FD": byte k is the pair at the k-th multiple of
// three. Nothing when a pair is no hex number or the text is too short: a rig that gets a wrong byte may
// act on it, so the whole request is better left unsent.
std::optional<std::string> bytesFromHexPairs(std::string_view text, std::size_t count);
// Every pair to the end of the text, for the operator's own strings; a lone last character is no pair.
std::optional<std::string> bytesFromHexPairs(std::string_view text);

// Bytes some rigs want once the port opens and before it closes, before any request or after the last:
// five each way for the Yaesu rigs but the FTdx9000, "X" and CR on opening for the Orion.
std::string openingBytes(RigFamily family);
std::string closingBytes(RigFamily family);
// The Ten Tec front panel and the Orion pace their replies with RTS/CTS.
bool needsRtsCts(RigFamily family);

// Opens the rig's port with the window's settings: any open port closed first, both lines low until the
// power line the settings name is raised, then the rig's opening bytes, handed to the device at once.
Status openRigPort(SerialPort& port, const RigSettings& settings);

// What a read tick hands to the decoders.
struct PollRead
{
    std::string receiveBuffer; // everything received since the last read
    // For the rigs asked for frequency and mode in turn: the last request was for the frequency.
    bool frequencyAsked = false;
    // Whether the decoder is to run: something arrived, or the rig is read from elsewhere (Pegasus).
    bool decode = false;
};

// The poll of one rig, one tick of the poll timer at a time: a send tick writes the rig's requests, the
// next tick reads whatever has arrived since. Nothing here waits for the rig.
class PollCycle
{
public:
    PollCycle(SerialPort& port, RigFamily family, std::string frequencyPoll, std::string modePoll, bool convertToHex);

    // A send tick or a read tick, in turn; the read's outcome after a read tick.
    std::optional<PollRead> tick();
    Status sendTick();
    PollRead readTick();

    bool readNext() const
    {
        return m_readNext;
    }

private:
    // The frequency request, then the mode request on the next send tick; the turn passes also when
    // the string is too short to send, so a broken mode string never stops the frequency polls.
    std::optional<std::string> alternate(std::size_t shortest, std::size_t byteCount, bool asText);
    std::string bothRequests(std::string_view ending) const;

    SerialPort& m_port;
    RigFamily m_family;
    std::string m_frequencyPoll;
    std::string m_modePoll;
    bool m_convertToHex;
    bool m_readNext = false;
    bool m_askModeNext = false;
};

} // namespace brindle
