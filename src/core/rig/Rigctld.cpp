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
    m_due = { { Due::Frequency }, { Due::Mode } };
    return "f\nm\n";
}

std::string RigctldProtocol::commandRequest(std::string_view command, int tag)
{
    m_due.push_back({ Due::Report, tag });
    return std::string(command) + "\n";
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
    const Expected expected = m_due.front();
    if (line.starts_with("RPRT ")) {
        // The whole reply is this line, whatever was due; "RPRT 0" confirms a command and is no answer.
        if (const std::optional<long long> code = parseWholeNumber(line.substr(5)); code && *code < 0) {
            // A code beyond an int is garbage, but still an error.
            const int error = static_cast<int>(std::max<long long>(*code, std::numeric_limits<int>::min()));
            if (expected.due == Due::Report) {
                reading.refused.emplace_back(expected.tag, error);
            } else {
                reading.error = error;
            }
        }
        m_due.pop_front();
        return;
    }
    m_due.pop_front();
    switch (expected.due) {
    case Due::Frequency:
        if (const std::optional<double> hertz = parseDecimal(line); hertz && *hertz >= 0) {
            reading.freqMHz = *hertz / 1e6;
        }
        return;
    case Due::Mode:
        if (!line.empty()) {
            reading.mode = std::string(line);
        }
        m_due.push_front({ Due::Passband });
        return;
    case Due::Passband:
    case Due::Report: // a daemon that says more than "RPRT n" to a command
        return;
    }
}

void RigctldProtocol::reset()
{
    m_due.clear();
    m_partial.clear();
}

std::string rigctldErrorText(int code)
{
    static constexpr std::array<std::string_view, 21> Errors { "Command completed successfully",
        "Invalid parameter", "Invalid configuration", "Memory shortage", "Feature not implemented",
        "Communication timed out", "IO error", "Internal Hamlib error", "Protocol error",
        "Command rejected by the rig", "Command performed, but arg truncated", "Feature not available",
        "Target VFO unaccessible", "Communication bus error", "Communication bus collision",
        "NULL RIG handle or invalid pointer parameter", "Invalid VFO", "Argument out of domain of func",
        "Function deprecated", "Security error", "Rig is not powered on" };
    const long long index = code < 0 ? -static_cast<long long>(code) : code;
    const std::string said = "rigctld: RPRT " + std::to_string(code);
    return index < static_cast<long long>(Errors.size()) ? said + " (" + std::string(Errors[static_cast<std::size_t>(index)]) + ")"
                                                          : said;
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
