#pragma once

#include "common/Result.h"

#include <functional>
#include <string>
#include <utility>

namespace brindle {

// Plays one wave file at a time through the sound card, without waiting for its end: the phone keyer's
// recorded messages and the voice prompts each have one.
class WavePlayer
{
public:
    virtual ~WavePlayer() = default;

    // Starts the file and returns at once; a file still playing is cut off for it. A file that is
    // missing or cannot be played plays nothing, and the Error says why.
    virtual Status play(const std::string& path) = 0;
    // Ends the playing at once.
    virtual void stop() = 0;
    // Ends the playing and lets the sound card go until the next play.
    virtual void close() = 0;
    virtual bool isPlaying() const = 0;

    // Called whenever the player stops playing: at the end of the file (once its last sound has left the
    // sound card), or by stop() or close() (before they return). Not when play() cuts one file off for
    // the next: the playing goes on.
    void setEndedHandler(std::function<void()> handler)
    {
        m_ended = std::move(handler);
    }

protected:
    void reportEnded() const
    {
        if (m_ended) {
            m_ended();
        }
    }

private:
    std::function<void()> m_ended;
};

} // namespace brindle
