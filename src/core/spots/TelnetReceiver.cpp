#include "TelnetReceiver.h"

#include "common/Text.h"
#include "spots/MonitorText.h"

#include <algorithm>
#include <utility>

namespace brindle {

TelnetReceived TelnetReceiver::take(
    std::string_view bytes, std::int64_t nowMs, std::string& monitorText, bool dxOnly)
{
    TelnetReceived result;
    const std::string received = m_protocol.take(bytes, result.replies);
    result.loginPrompt = m_prompt.take(received, nowMs);
    if (!dxOnly) {
        monitorText += received;
        trimMonitor(monitorText);
    }
    for (std::string& line : m_lines.take(received)) {
        if (!startsWithIgnoreCase(line, "DX")) {
            continue;
        }
        if (dxOnly) {
            monitorText += line;
            monitorText += "\r\n";
            trimMonitor(monitorText);
        }
        result.spots.push_back(std::move(line));
    }
    return result;
}

bool TelnetReceiver::loginPromptDue(std::int64_t nowMs)
{
    return m_prompt.due(nowMs);
}

std::optional<std::int64_t> TelnetReceiver::loginPromptDueAtMs() const
{
    return m_prompt.dueAtMs();
}

void TelnetReceiver::promptAnswered()
{
    // An unfinished spot is no prompt: a read may end the prompt's line and begin a spot.
    if (!startsWithIgnoreCase(m_lines.pending(), "DX")) {
        m_lines.endLine();
    }
}

void TelnetReceiver::reset()
{
    m_protocol.reset();
    m_lines.reset();
    m_prompt.reset();
}

std::string telnetErrorText(int errorNumber)
{
    static constexpr std::pair<int, std::string_view> Texts[] = {
        { 7, "ERROR: Out of memory." },
        { 380, "ERROR: The property value is invalid." },
        { 383, "ERROR: The property is read-only." },
        { 394, "ERROR: The property can't be read." },
        { 1004, "ERROR: The operation was canceled." },
        { 10014, "ERROR: The requested address is a broadcast address, but flag is not set." },
        { 10035, "ERROR: Socket is non-blocking and the specified operation will block." },
        { 10036, "ERROR: A blocking Winsock operation in progress." },
        { 10037, "ERROR: The operation is completed. No blocking operation in progress" },
        { 10038, "ERROR: The descriptor is not a socket." },
        { 10040, "ERROR: The datagram is too large to fit into the buffer and is truncated." },
        { 10043, "ERROR: The specified port is not supported." },
        { 10048, "ERROR: Address in use." },
        { 10049, "ERROR: Address not available from the local machine." },
        { 10050, "ERROR: Network subsystem failed." },
        { 10051, "ERROR: The network cannot be reached from this host at this time." },
        { 10052, "ERROR: Connection has timed out when SO_KEEPALIVE is set." },
        { 10053, "ERROR: Connection is aborted due to timeout or other failure." },
        { 10054, "ERROR: The connection is reset by remote side.!" },
        { 10055, "ERROR: No buffer space is available." },
        { 10056, "ERROR: Socket is already connected." },
        { 10057, "ERROR: Socket is not connected." },
        { 10058, "ERROR: Socket has been shut down." },
        { 10060, "ERROR: Socket has been shut down." },
        { 10061, "ERROR: Connection is forcefully rejected." },
        { 10093, "ERROR: WinsockInit should be called first." },
        { 11001, "ERROR: Authoritative answer: Host not found." },
        { 11002, "ERROR: Non-Authoritative answer: Host not found." },
        { 11003, "ERROR: Non-recoverable errors." },
        { 11004, "ERROR: Valid name, no data record of requested type." },
    };
    const auto found = std::find_if(
        std::begin(Texts), std::end(Texts), [errorNumber](const auto& entry) { return entry.first == errorNumber; });
    if (found != std::end(Texts)) {
        return std::string(found->second);
    }
    return "Error number " + std::to_string(errorNumber);
}

} // namespace brindle
