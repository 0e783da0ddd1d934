#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brindle {

// Where Hamlib's rig daemon listens unless the operator says otherwise.
inline constexpr std::string_view DefaultRigctldAddress = "127.0.0.1:4532";

// A "host:port" as the rig window keeps it; nothing when it is not one.
struct RigctldAddress
{
    std::string host;
    int port = 0;
};
std::optional<RigctldAddress> parseRigctldAddress(std::string_view text);

// The poll of Hamlib's rig daemon over its plain text protocol: "f" is answered with the frequency in
// hertz, "m" with the mode and the passband on two lines, and either with "RPRT n" (n below 0) when the
// rig cannot tell. Replies come back in the order asked, in whatever pieces the network delivers them.
class RigctldProtocol
{
public:
    // What a poll learnt: each value only when its reply has come whole.
    struct Reading
    {
        std::optional<double> freqMHz;
        // The rigctld mode as it was sent ("CW", "USB", ...).
        std::optional<std::string> mode;
        // The last "RPRT n" with n below 0 that answered a poll.
        std::optional<int> error;
        // The commands the daemon refused, by the tag they were sent with, and its error code.
        std::vector<std::pair<int, int>> refused;
    };

    // The request of one poll, frequency then mode; empty while the replies to the last are still due,
    // so that a slow daemon is never asked faster than it answers.
    std::string pollRequest();
    // A command that sets something ("F 14025000"), answered by "RPRT n" alone; the tag comes back with a
    // refusal. Sent at once, behind whatever is still due.
    std::string commandRequest(std::string_view command, int tag);
    // Takes what has arrived and returns what it completed.
    Reading take(std::string_view received);
    // The connection went: nothing is due any more, and a half line is dropped.
    void reset();
    // Replies still due.
    std::size_t repliesDue() const
    {
        return m_due.size();
    }

private:
    enum class Due
    {
        Frequency,
        Mode,
        Passband,
        Report, // of a command
    };
    struct Expected
    {
        Due due;
        int tag = 0;
    };
    void takeLine(std::string_view line, Reading& reading);

    std::deque<Expected> m_due;
    std::string m_partial;
};

// What an "RPRT n" error code means, in Hamlib's own words.
std::string rigctldErrorText(int code);

// A rigctld mode as the logger's mode texts: "CW" for CW and CWR, "AM", "FM" (also wide FM), "PH" for
// the sidebands and the other voice modes; nothing for data modes, which leave the mode as it was.
std::optional<std::string_view> rigctldModeText(std::string_view mode);

} // namespace brindle
