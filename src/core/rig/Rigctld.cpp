#include "Rigctld.h"

#include "common/Text.h"
#include "log/Bands.h"
#include "rig/RigReplies.h"

#include <algorithm>
#include <array>
#include <limits>
#include <cmath>
#include <utility>

namespace brindle {

namespace {

// A line the daemon sends is short; anything longer is no reply of its, and is not kept growing.
constexpr std::size_t LongestLine = 256;

} // namespace

std::optional<RigctldAddress> parseRigctldAddress(std::string_view text)
{
    text = trimBlanks(text);
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return std::nullopt;
    }
    const std::optional<long long> port = parseWholeNumber(text.substr(colon + 1));
    if (!port || *port < 1 || *port > 65535) {
        return std::nullopt;
    }
    return RigctldAddress { std::string(text.substr(0, colon)), static_cast<int>(*port) };
}

std::string RigctldProtocol::pollRequest()
{
    if (!m_due.empty()) {
        return {};
    }
    m_due = { Due::Frequency, Due::Mode };
    return "f\nm\n";
}

RigctldProtocol::Reading RigctldProtocol::take(std::string_view received)
{
    Reading reading;
    for (const char c : received) {
        if (c == '\n') {
            takeLine(m_partial, reading);
            m_partial.clear();
        } else if (c != '\r' && m_partial.size() < LongestLine) {
            m_partial += c;
        }
    }
    return reading;
}

void RigctldProtocol::takeLine(std::string_view line, Reading& reading)
{
    line = trimBlanks(line);
    if (m_due.empty()) {
        // Nothing was asked: an answer to no question tells nothing.
        return;
    }
    const Due due = m_due.front();
    if (line.starts_with("RPRT ")) {
        // The whole reply is this line, whatever was due; "RPRT 0" confirms a command and is no answer.
        if (const std::optional<long long> code = parseWholeNumber(line.substr(5)); code && *code < 0) {
            // A code beyond an int is garbage, but still an error.
            reading.error = static_cast<int>(std::max<long long>(*code, std::numeric_limits<int>::min()));
        }
        m_due.pop_front();
        return;
    }
    m_due.pop_front();
    switch (due) {
    case Due::Frequency:
        if (const std::optional<double> hertz = parseDecimal(line); hertz && *hertz >= 0) {
            reading.freqMHz = *hertz / 1e6;
        }
        return;
    case Due::Mode:
        if (!line.empty()) {
            reading.mode = std::string(line);
        }
        m_due.push_front(Due::Passband);
        return;
    case Due::Passband:
        return;
    }
}

void RigctldProtocol::reset()
{
    m_due.clear();
    m_partial.clear();
}

std::optional<std::string_view> rigctldModeText(std::string_view mode)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 12> Modes { {
        { "CW", ModeCW },
        { "CWR", ModeCW },
        { "USB", ModePhone },
        { "LSB", ModePhone },
        { "DSB", ModePhone },
        { "ECSSUSB", ModePhone },
        { "ECSSLSB", ModePhone },
        { "AM", ModeAM },
        { "AMS", ModeAM },
        { "SAM", ModeAM },
        { "FM", ModeFM },
        { "WFM", ModeFM },
    } };
    for (const auto& [rigctld, ours] : Modes) {
        if (equalsIgnoreCase(mode, rigctld)) {
            return ours;
        }
    }
    return std::nullopt;
}

} // namespace brindle
