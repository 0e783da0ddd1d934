#include "PollCycle.h"

#include <charconv>

namespace brindle {

namespace {

constexpr std::size_t PairStep = 3;

std::optional<char> hexPair(std::string_view text, std::size_t at)
{
    if (at + 2 > text.size()) {
        return std::nullopt;
    }
    unsigned value = 0;
    const char* first = text.data() + at;
    const auto [end, ec] = std::from_chars(first, first + 2, value, 16);
    if (ec != std::errc() || end != first + 2) {
        return std::nullopt;
    }
    return static_cast<char>(value);
}

// The text a request needs at least before it is sent: the last pair's second character.
constexpr std::size_t hexLength(std::size_t byteCount)
{
    return PairStep * byteCount - 1;
}

} // namespace

std::optional<std::string> bytesFromHexPairs(std::string_view text, std::size_t count)
{
    std::string bytes;
    for (std::size_t k = 0; k < count; ++k) {
        const std::optional<char> byte = hexPair(text, PairStep * k);
        if (!byte) {
            return std::nullopt;
        }
        bytes += *byte;
    }
    return bytes;
}

std::optional<std::string> bytesFromHexPairs(std::string_view text)
{
    return bytesFromHexPairs(text, (text.size() + PairStep - 1) / PairStep);
}

std::string openingBytes(RigFamily family)
{
    if (family == RigFamily::Yaesu) {
        return std::string(5, '\0');
    }
    if (family == RigFamily::Orion) {
        return "X\r";
    }
    return {};
}

std::string closingBytes(RigFamily family)
{
    if (family == RigFamily::Yaesu) {
        return std::string(4, '\0') + '\x80';
    }
    return {};
}

bool needsRtsCts(RigFamily family)
{
    return family == RigFamily::FrontPanel || family == RigFamily::Orion;
}

Status openRigPort(SerialPort& port, const RigSettings& settings)
{
    const std::optional<LineSettings> line = parseLineSettings(lineSettingsText(settings));
    if (!line) {
        return Error { "The line settings " + lineSettingsText(settings) + " are no serial port's." };
    }
    if (port.isOpen()) {
        port.close();
    }
    const RigFamily family = rigFamily(settings.rigName);
    port.setPortNumber(settings.port);
    // Set either way: a port object that served the Orion before would otherwise still wait for CTS.
    port.setHandshaking(needsRtsCts(family) ? Handshaking::RtsCts : Handshaking::None);
    port.setLineSettings(*line);
    Status status = port.setDtr(false);
    if (status) {
        status = port.setRts(false);
    }
    if (status) {
        status = port.open();
    }
    if (!status) {
        return status;
    }
    // Some interfaces draw their supply from a control line.
    if (settings.power == "R") {
        status = port.setRts(true);
    } else if (settings.power == "D") {
        status = port.setDtr(true);
    }
    if (!status) {
        return status;
    }
    const std::string opening = openingBytes(family);
    if (opening.empty()) {
        return {};
    }
    status = port.write(opening);
    // The first poll follows at once, and would find these still queued and send nothing.
    if (status) {
        port.flush();
    }
    return status;
}

PollCycle::PollCycle(
    SerialPort& port, RigFamily family, std::string frequencyPoll, std::string modePoll, bool convertToHex)
    : m_port(port)
    , m_family(family)
    , m_frequencyPoll(std::move(frequencyPoll))
    , m_modePoll(std::move(modePoll))
    , m_convertToHex(convertToHex)
{
}

std::optional<PollRead> PollCycle::tick()
{
    if (m_readNext) {
        return readTick();
    }
    // A failed write shows as no reply; the next send tick tries again.
    (void)sendTick();
    return std::nullopt;
}

std::optional<std::string> PollCycle::alternate(std::size_t shortest, std::size_t byteCount, bool asText)
{
    const std::string& request = m_askModeNext ? m_modePoll : m_frequencyPoll;
    m_askModeNext = !m_askModeNext;
    if (request.size() < shortest) {
        return std::nullopt;
    }
    return asText ? std::optional<std::string>(request) : bytesFromHexPairs(request, byteCount);
}

std::string PollCycle::bothRequests(std::string_view ending) const
{
    std::string out;
    for (const std::string* request : { &m_frequencyPoll, &m_modePoll }) {
        if (request->empty()) {
            continue;
        }
        if (!m_convertToHex || m_family != RigFamily::Other) {
            out += *request;
            out += ending;
            continue;
        }
        const std::optional<std::string> bytes = bytesFromHexPairs(*request);
        if (!bytes) {
            return {};
        }
        out += *bytes;
    }
    return out;
}

Status PollCycle::sendTick()
{
    m_readNext = true;
    if (m_port.bytesToWrite() > 0) {
        return {};
    }
    std::optional<std::string> out;
    switch (m_family) {
    case RigFamily::Kenwood:
    case RigFamily::Other:
        out = bothRequests("");
        break;
    case RigFamily::Orion:
        out = bothRequests("\r");
        break;
    case RigFamily::Icom:
        out = alternate(hexLength(6), 6, false);
        break;
    case RigFamily::FrontPanel:
        out = alternate(hexLength(3), 3, false);
        break;
    case RigFamily::Ftdx9000:
        out = alternate(2, 0, true);
        break;
    case RigFamily::Yaesu:
        if (m_frequencyPoll.size() >= hexLength(5)) {
            out = bytesFromHexPairs(m_frequencyPoll, 5);
        }
        break;
    case RigFamily::None:
    case RigFamily::Pegasus:
    case RigFamily::Rigctld:
        break;
    }
    if (!out || out->empty()) {
        return {};
    }
    return m_port.write(*out);
}

PollRead PollCycle::readTick()
{
    m_readNext = false;
    PollRead read;
    read.frequencyAsked = m_askModeNext;
    if (m_family == RigFamily::Pegasus) {
        read.decode = true;
        return read;
    }
    read.receiveBuffer = m_port.readAll();
    read.decode = !read.receiveBuffer.empty();
    return read;
}

} // namespace brindle
