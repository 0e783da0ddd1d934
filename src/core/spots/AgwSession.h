#pragma once

#include "spots/AgwFrame.h"
#include "spots/LineSplitter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The spotting window's caption while no station is connected through the engine.
inline constexpr std::string_view SpottingCaption = "DX Spotting Setup";

// What the spotting window does with one frame from the engine.
struct AgwFrameOutcome
{
    // Appended to the monitor in this order, the monitor trimmed after each.
    std::vector<std::string> monitorTexts;
    // Spots, handed to the spot store in order once the first monitor text is shown. A monitored packet
    // gives at most one, its whole text; a connected station's data may finish several lines at once.
    std::vector<std::string> spotLines;
    int beeps = 0;
    // The window's new caption, when the link to a station began or ended.
    std::optional<std::string> caption;
};

// What a line typed in the send box becomes.
struct AgwSendOutcome
{
    // Requests for the engine, in order.
    std::vector<std::string> requests;
    struct Message
    {
        std::string text;
        std::string title;
    };
    std::optional<Message> message;
};

// The spotting window's side of the AGW Packet Engine: received frames become monitor text and spots,
// typed lines become requests, and the one station a connection is open to is followed from the
// engine's reports. While no station is connected the engine's monitoring is all there is; while one
// is, what it sends arrives as connected data, and the engine's monitored copies of that link's frames
// are left out.
class AgwSession
{
public:
    // The call the requests come from, as it was registered.
    void setOwnCall(std::string_view ownCall);
    // Empty while only monitoring.
    const std::string& connectedStation() const
    {
        return m_connectedStation;
    }

    // One received frame. monitorText is the monitor as it is before anything of this frame is added;
    // dxOnly is the window's "List DX Only" box.
    AgwFrameOutcome take(const AgwFrame& frame, std::string_view monitorText, bool dxOnly);
    // A line from the send box: ":C CALL" asks for a connection, ":D" ends it, anything else is sent to
    // the connected station (and nowhere while none is).
    AgwSendOutcome send(std::string_view text);
    // The connection to the engine is being closed: a connected station is left first. Nothing when no
    // station is connected.
    std::optional<std::string> leaveStation();

private:
    bool isFrameOfOwnLink(const AgwFrame& frame) const;

    // The connected station's data as lines: a node puts several in one frame when it has them, and a
    // frame's length limit may cut one in two.
    AgwFrameOutcome takeLinkData(std::string_view data, std::string body, std::string_view monitorText, bool dxOnly);

    std::string m_ownCall;
    std::string m_connectedStation;
    LineSplitter m_linkLines;
};

// Kinds of frame whose data is text for the monitor: monitored frames ('U' unproto, 'I' information,
// 'S' supervisory, 'T' own transmissions), connected data ('D') and the connection reports ('C', 'd').
bool isAgwTextFrame(char kind);

// The send box's text when it is due to go by itself: a line typed beyond 70 characters goes at the
// next blank, without that blank. Nothing while it is shorter or does not end in a blank.
std::optional<std::string> agwLineDueAtBlank(std::string_view fieldText);

} // namespace brindle
