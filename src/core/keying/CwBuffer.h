#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// The text waiting to be keyed, shared between the window that types or replaces it and the thread that
// keys it one character at a time. It also knows whether a sender is working through it, so that the
// decision "start a sender" and the sender's "nothing left, I stop" can never both miss new text.
class CwBuffer
{
public:
    // Adds text at the end. True when no sender is working through the buffer and the caller must start
    // one; from then on the buffer counts as being sent.
    bool append(std::string_view text);
    // Puts text in place of whatever was still waiting; true as for append.
    bool replace(std::string_view text);
    // Drops the text not yet taken; a character already taken is finished by its sender.
    void clear();
    // Takes back the last character not yet taken; false when there was none.
    bool takeBackLast();

    // For the sender: the next character, or nothing, and then the buffer no longer counts as being sent.
    std::optional<char> takeNext();
    // Whether a sender is working through the buffer (a character may still be on the air after clear()).
    bool isSending() const;
    std::string text() const;

private:
    bool claimSender();

    mutable std::mutex m_mutex;
    std::string m_text;
    bool m_sending = false;
};

} // namespace brindle
