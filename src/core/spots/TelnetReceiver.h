#pragma once

#include "spots/LineSplitter.h"
#include "spots/TelnetProtocol.h"
#include "spots/TelnetPolicy.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// What one read from a Telnet cluster connection gives.
struct TelnetReceived
{
    // Complete lines that begin with "DX" (ignoring case), without their line ends, to hand over in order.
    std::vector<std::string> spots;
    // The node asked for the operator's call in this read. A prompt without a line end may instead come
    // due later: TelnetReceiver::loginPromptDue.
    bool loginPrompt = false;
    // The Telnet protocol's answers to the node's option negotiation, to be sent back as they stand.
    std::string replies;
};

// The spotting window's side of a Telnet cluster connection. The monitor shows what arrives as it arrives,
// unfinished lines and prompts included, so the operator sees a prompt that has no line end; spots are
// taken from whole lines only, however the reads cut them. There is no repeat test: a node sends each spot
// once. With dxOnly set only the spots are shown, a line each. The Telnet protocol's own bytes are taken out
// before anything else sees the text.
class TelnetReceiver
{
public:
    TelnetReceived take(std::string_view received, std::int64_t nowMs, std::string& monitorText, bool dxOnly);
    // The node has asked for the call and waits for it (LoginPromptWatch).
    bool loginPromptDue(std::int64_t nowMs);
    std::optional<std::int64_t> loginPromptDueAtMs() const;
    // The call went out after the node's prompt. A node may go on straight after the prompt without a line
    // end; the prompt is no part of the line that follows, or a spot there would not begin with "DX".
    void promptAnswered();
    // A new connection.
    void reset();

    const LineSplitter& lines() const
    {
        return m_lines;
    }

private:
    TelnetProtocol m_protocol;
    LineSplitter m_lines;
    LoginPromptWatch m_prompt;
};

// The monitor's text for an error the TCP connection reports, by the error numbers the window has always
// shown; "Error number " and the number for any other.
std::string telnetErrorText(int errorNumber);

} // namespace brindle
