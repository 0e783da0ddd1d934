#pragma once

#include "keying/VoiceNavigation.h"
#include "keying/WavePlayer.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace brindle::test {

// A wave player that plays nothing and notes what it was asked to: a file plays until the test ends it
// (finish()) or the keyer stops it. A file that does not exist fails as the real player's does.
class RecordingWavePlayer final : public WavePlayer
{
public:
    Status play(const std::string& path) override
    {
        played.push_back(path);
        if (!std::filesystem::is_regular_file(path) || refused.contains(path)) {
            stop();
            return Error { path + ": No such file or directory", true };
        }
        m_playing = true;
        m_current = path;
        return {};
    }
    void stop() override
    {
        ++stops;
        end();
    }
    void close() override
    {
        ++closes;
        end();
    }
    bool isPlaying() const override
    {
        return m_playing;
    }

    // The file playing comes to its end.
    void finish()
    {
        end();
    }
    // What plays now; empty when nothing does.
    std::string current() const
    {
        return m_playing ? m_current : std::string();
    }

    std::vector<std::string> played;
    // Files that exist but cannot be played (not wave files).
    std::set<std::string> refused;
    int stops = 0;
    int closes = 0;

private:
    void end()
    {
        if (m_playing) {
            m_playing = false;
            m_current.clear();
            reportEnded();
        }
    }

    bool m_playing = false;
    std::string m_current;
};

// A speaker that says nothing and notes the words; they are being said until the test ends them.
class RecordingPromptSpeaker final : public PromptSpeaker
{
public:
    void say(std::string_view words) override
    {
        said.emplace_back(words);
        m_speaking = true;
    }
    void stop() override
    {
        m_speaking = false;
    }
    bool isSpeaking() const override
    {
        return m_speaking;
    }
    void finish()
    {
        m_speaking = false;
    }

    std::vector<std::string> said;

private:
    bool m_speaking = false;
};

} // namespace brindle::test
