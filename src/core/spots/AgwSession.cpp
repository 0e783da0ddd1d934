#include "AgwSession.h"

#include "common/Text.h"
#include "spots/MonitorText.h"

#include <string_view>

namespace brindle {

namespace {

constexpr std::size_t LongLineLength = 70;

std::string withCrLfLineEnds(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            result += "\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

// The engine ends its texts with the NUL of a C string and counts it in the length: it is not text.
std::string_view withoutClosingNuls(std::string_view data)
{
    while (!data.empty() && data.back() == '\0') {
        data.remove_suffix(1);
    }
    return data;
}

bool beginsWithDx(std::string_view text)
{
    return startsWithIgnoreCase(text, "DX");
}

std::string caption(std::string_view station)
{
    return station.empty() ? std::string(SpottingCaption)
                           : std::string(SpottingCaption) + " - Connected to " + std::string(station);
}

} // namespace

bool isAgwTextFrame(char kind)
{
    return std::string_view("UISTDCd").find(kind) != std::string_view::npos;
}

void AgwSession::setOwnCall(std::string_view ownCall)
{
    m_ownCall = std::string(trimBlanks(ownCall));
}

AgwFrameOutcome AgwSession::take(const AgwFrame& frame, std::string_view monitorText, bool dxOnly)
{
    AgwFrameOutcome outcome;
    if (!isAgwTextFrame(frame.kind) || isFrameOfOwnLink(frame)) {
        return outcome;
    }
    const std::string_view data = withoutClosingNuls(frame.data);
    const std::string header = withCrLfLineEnds(std::string(1, frame.kind) + frame.callFrom + " " + std::string(data));
    std::string body = withCrLfLineEnds(data);
    if (m_connectedStation.empty()) {
        // A monitored frame's first line is the engine's description of the packet, not its text.
        if (const std::size_t lineFeed = body.find('\n'); lineFeed != std::string::npos) {
            body.erase(0, lineFeed + 1);
        }
        body = std::string(trimBlanks(body));
    }
    if (body == "\r\n") {
        body.clear();
    } else if (body.size() > 4 && body.ends_with("\r\n\r\n")) {
        body.resize(body.size() - 2);
    }

    const bool fromConnectedStation
        = !m_connectedStation.empty() && equalsIgnoreCase(frame.callFrom, m_connectedStation);
    if (frame.kind == 'D' && fromConnectedStation) {
        return takeLinkData(data, std::move(body), monitorText, dxOnly);
    }
    const std::size_t dxAt = findIgnoreCase(body, "DX");
    if (!isRepeatOfRecentText(monitorText, body) && (dxAt == 0 || dxAt == 1)) {
        outcome.monitorTexts.push_back(body);
        outcome.spotLines.push_back(body);
    }
    if (fromConnectedStation && !dxOnly && !beginsWithDx(body)) {
        outcome.monitorTexts.push_back(body);
    }
    if (m_connectedStation.empty() && !dxOnly && findIgnoreCase(header, "DX ") == std::string::npos
        && !beginsWithDx(body)) {
        outcome.monitorTexts.push_back(header);
    }

    if (frame.kind == 'd' && fromConnectedStation) {
        outcome.beeps = 2;
        outcome.monitorTexts.push_back("\r\n** Disconnected from " + m_connectedStation + " **\r\n");
        m_connectedStation.clear();
        outcome.caption = caption(m_connectedStation);
    } else if (frame.kind == 'C' && m_connectedStation.empty()) {
        m_connectedStation = frame.callFrom;
        m_linkLines.reset();
        outcome.monitorTexts.push_back("** Connected to " + m_connectedStation + " **");
        outcome.caption = caption(m_connectedStation);
        outcome.beeps = 1;
    }
    return outcome;
}

AgwFrameOutcome AgwSession::takeLinkData(
    std::string_view data, std::string body, std::string_view monitorText, bool dxOnly)
{
    AgwFrameOutcome outcome;
    // The start of a line the last frame cut short is on show already; it is no earlier copy of the line.
    std::string_view before = monitorText;
    if (const std::string& begun = m_linkLines.pending(); !begun.empty() && before.ends_with(begun)) {
        before.remove_suffix(begun.size());
    }
    for (std::string& line : m_linkLines.take(data)) {
        if (beginsWithDx(line) && !isRepeatOfRecentText(before, line)) {
            outcome.spotLines.push_back(std::move(line) + "\r\n");
        }
    }
    if (dxOnly) {
        outcome.monitorTexts = outcome.spotLines;
    } else if (!outcome.spotLines.empty() || !beginsWithDx(body) || !isRepeatOfRecentText(monitorText, body)) {
        // Shown as it arrives, like a Telnet node's text; only a spot already shown is not shown again.
        outcome.monitorTexts.push_back(std::move(body));
    }
    return outcome;
}

// With monitoring on, the engine also reports every frame of the link to the connected station: its
// information frames ('I', each just before the same text comes as connected data), the acknowledgements
// and link control ('S') and our own transmissions ('T'). The connected data is what the station said.
// Shown, these copies would put its text in the monitor twice, headed by the engine's description (and
// the binary of its link control); worse, being there first, they would make each of its spots look like
// a repeat. A packet node's repeats over other paths are not on this link and still count.
bool AgwSession::isFrameOfOwnLink(const AgwFrame& frame) const
{
    if (m_connectedStation.empty() || std::string_view("IST").find(frame.kind) == std::string_view::npos) {
        return false;
    }
    return (equalsIgnoreCase(frame.callFrom, m_connectedStation) && equalsIgnoreCase(frame.callTo, m_ownCall))
        || (equalsIgnoreCase(frame.callFrom, m_ownCall) && equalsIgnoreCase(frame.callTo, m_connectedStation));
}

AgwSendOutcome AgwSession::send(std::string_view text)
{
    AgwSendOutcome outcome;
    if (text.starts_with(':')) {
        const std::string letter = toUpperAscii(text.substr(1, 1));
        const std::string argument = toUpperAscii(trimBlanks(text.substr(std::min<std::size_t>(2, text.size()))));
        if (letter == "D") {
            if (!m_connectedStation.empty()) {
                outcome.requests.push_back(agwDisconnectRequest(m_ownCall, m_connectedStation));
            }
        } else if (letter == "C") {
            if (argument.empty()) {
                outcome.message = AgwSendOutcome::Message { "You must enter a call sign to connect to such as :C KORVA",
                    "Call sign Required" };
            } else {
                outcome.requests.push_back(agwConnectRequest(m_ownCall, argument));
            }
        }
    } else if (!m_connectedStation.empty()) {
        outcome.requests.push_back(agwDataRequest(m_ownCall, m_connectedStation, std::string(text) + "\r"));
    }
    return outcome;
}

std::optional<std::string> AgwSession::leaveStation()
{
    if (m_connectedStation.empty()) {
        return std::nullopt;
    }
    std::string request = agwDisconnectRequest(m_ownCall, m_connectedStation);
    m_connectedStation.clear();
    return request;
}

std::optional<std::string> agwLineDueAtBlank(std::string_view fieldText)
{
    if (fieldText.size() <= LongLineLength || fieldText.back() != ' ') {
        return std::nullopt;
    }
    return std::string(fieldText.substr(0, fieldText.size() - 1));
}

} // namespace brindle
