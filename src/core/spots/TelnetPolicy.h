#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// Notices a cluster node asking for the operator's call, so that the call can be sent for them. Nodes ask
// with "login:" (DXSpider), "Please enter your call:" (AR-Cluster, CC Cluster, the Reverse Beacon Network)
// and the like, in any case, usually without a line end; the prompt may come split across reads. A line
// is the prompt when it holds "please enter your call", or ends, but for blanks, in "login:", "call:" or
// "callsign:".
//
// A read can end anywhere in a line, so "Last login:" at the end of one may be the start of a greeting:
// such a line is taken for the prompt when a line end follows it, or once the node has been quiet for
// QuietMs after it, as a node waiting for an answer is.
//
// It answers once per connection: a node that asks again has refused the call, and sending the same call
// back would only repeat the refusal for ever.
class LoginPromptWatch
{
public:
    // Prompts are short; a line longer than this is a greeting or a spot, never the prompt.
    static constexpr std::size_t LongestPromptLine = 200;
    static constexpr std::int64_t QuietMs = 300;

    // One read, at nowMs: true when it completes the prompt.
    bool take(std::string_view received, std::int64_t nowMs);
    // When a line that may be the prompt counts as it if nothing more arrives: for the caller's timer.
    std::optional<std::int64_t> dueAtMs() const;
    // True once that time has come without more text; the prompt has then arrived.
    bool due(std::int64_t nowMs);
    bool prompted() const
    {
        return m_prompted;
    }
    // A new connection.
    void reset();

private:
    enum class LineKind
    {
        Other,
        Prompt,
        PromptIfLast, // a prompt's ending, unless more of the line follows
    };
    LineKind lineKind() const;

    std::string m_line; // the current line so far, while it is short enough to be the prompt
    bool m_lineTooLong = false;
    bool m_prompted = false;
    std::optional<std::int64_t> m_dueAtMs;
};

// How long to wait before connecting again after a connection failed or was lost: 2 s, doubled after each
// failure up to a minute, so that a node that is down is not hammered and one that comes back is soon
// reached again. A connection that lasted (a minute or more) starts the sequence afresh; one dropped at
// once by a node that accepts and then refuses does not.
class ReconnectBackoff
{
public:
    static constexpr std::int64_t FirstDelayMs = 2'000;
    static constexpr std::int64_t LongestDelayMs = 60'000;
    static constexpr std::int64_t LastingConnectionMs = 60'000;

    void connected(std::int64_t nowMs);
    // The connection failed or ended at nowMs: the wait before the next attempt.
    std::int64_t lost(std::int64_t nowMs);
    // The operator opened or closed the connection by hand.
    void reset();

private:
    std::int64_t m_nextDelayMs = FirstDelayMs;
    std::int64_t m_connectedAtMs = 0;
    bool m_connected = false;
};

// Sends a line end over a connection silent for five minutes, both ways. Routers drop idle TCP
// connections without telling either end, and some nodes log idle users out; a spot feed in a quiet hour
// is often silent that long.
class IdleKeepAlive
{
public:
    static constexpr std::int64_t IdleMs = 5 * 60 * 1'000;
    static constexpr std::string_view Text = "\r";

    // Anything received or sent, the connection's start included.
    void traffic(std::int64_t nowMs);
    // When Text is due if nothing passes before then: for the caller's single-shot timer.
    std::int64_t dueAtMs() const
    {
        return m_lastTrafficMs + IdleMs;
    }
    // True when Text is to be sent now; the sending counts as traffic.
    bool due(std::int64_t nowMs);

private:
    std::int64_t m_lastTrafficMs = 0;
};

} // namespace brindle
