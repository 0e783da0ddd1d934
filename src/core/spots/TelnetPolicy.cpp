#include "TelnetPolicy.h"

#include "common/Text.h"

#include <algorithm>
#include <array>

namespace brindle {

namespace {

bool endsWithIgnoreCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && equalsIgnoreCase(text.substr(text.size() - end.size()), end);
}

} // namespace

void LoginPromptWatch::reset()
{
    *this = LoginPromptWatch {};
}

LoginPromptWatch::LineKind LoginPromptWatch::lineKind() const
{
    if (m_lineTooLong) {
        return LineKind::Other;
    }
    if (findIgnoreCase(m_line, "please enter your call") != std::string_view::npos) {
        return LineKind::Prompt;
    }
    std::string_view line = m_line;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    static constexpr std::array<std::string_view, 3> Endings { "login:", "call:", "callsign:" };
    const bool promptEnding = std::any_of(
        Endings.begin(), Endings.end(), [line](std::string_view end) { return endsWithIgnoreCase(line, end); });
    return promptEnding ? LineKind::PromptIfLast : LineKind::Other;
}

bool LoginPromptWatch::take(std::string_view received, std::int64_t nowMs)
{
    if (m_prompted || received.empty()) {
        return false;
    }
    m_dueAtMs.reset();
    for (const char c : received) {
        if (c == '\r' || c == '\n') {
            if (lineKind() != LineKind::Other) {
                m_prompted = true;
                return true;
            }
            m_line.clear();
            m_lineTooLong = false;
        } else if (c != '\0' && !m_lineTooLong) {
            if (m_line.size() == LongestPromptLine) {
                m_lineTooLong = true;
                m_line.clear();
            } else {
                m_line += c;
            }
        }
    }
    switch (lineKind()) {
    case LineKind::Prompt:
        m_prompted = true;
        return true;
    case LineKind::PromptIfLast:
        m_dueAtMs = nowMs + QuietMs;
        return false;
    case LineKind::Other:
        return false;
    }
    return false;
}

std::optional<std::int64_t> LoginPromptWatch::dueAtMs() const
{
    return m_dueAtMs;
}

bool LoginPromptWatch::due(std::int64_t nowMs)
{
    if (!m_dueAtMs || nowMs < *m_dueAtMs) {
        return false;
    }
    m_dueAtMs.reset();
    m_prompted = true;
    return true;
}

void ReconnectBackoff::connected(std::int64_t nowMs)
{
    m_connected = true;
    m_connectedAtMs = nowMs;
}

std::int64_t ReconnectBackoff::lost(std::int64_t nowMs)
{
    if (m_connected && nowMs - m_connectedAtMs >= LastingConnectionMs) {
        m_nextDelayMs = FirstDelayMs;
    }
    m_connected = false;
    const std::int64_t delay = m_nextDelayMs;
    m_nextDelayMs = std::min(delay * 2, LongestDelayMs);
    return delay;
}

void ReconnectBackoff::reset()
{
    *this = ReconnectBackoff {};
}

void IdleKeepAlive::traffic(std::int64_t nowMs)
{
    m_lastTrafficMs = std::max(m_lastTrafficMs, nowMs);
}

bool IdleKeepAlive::due(std::int64_t nowMs)
{
    if (nowMs < dueAtMs()) {
        return false;
    }
    m_lastTrafficMs = nowMs;
    return true;
}

} // namespace brindle
