#pragma once

#include "keying/QtWavePlayer.h"
#include "keying/VoiceNavigation.h"
#include "keying/WaveFile.h"

#include <map>
#include <string>

namespace brindle {

// Says prompts with the flite speech synthesiser, played through a wave player of its own: a spoken
// prompt starts, ends and is cut off exactly as a recorded one is. Each prompt's words are synthesised
// once, when first said, and kept.
class FlitePromptSpeaker final : public PromptSpeaker
{
public:
    FlitePromptSpeaker();
    ~FlitePromptSpeaker() override;

    void say(std::string_view words) override;
    void stop() override;
    bool isSpeaking() const override;

    // The words as the synthesiser speaks them: 16-bit mono. Empty samples when it cannot.
    static WaveAudio synthesise(std::string_view words);

private:
    QtWavePlayer m_player;
    std::map<std::string, WaveAudio, std::less<>> m_spoken;
};

} // namespace brindle
