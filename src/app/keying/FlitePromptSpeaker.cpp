#include "FlitePromptSpeaker.h"

#include <flite/flite.h>

// The voice library of Debian's flite: American English, 16 kHz.
extern "C" cst_voice* register_cmu_us_kal16(const char* voxdir);

namespace brindle {

namespace {

cst_voice* voice()
{
    static cst_voice* registered = [] {
        flite_init();
        return register_cmu_us_kal16(nullptr);
    }();
    return registered;
}

} // namespace

FlitePromptSpeaker::FlitePromptSpeaker() = default;
FlitePromptSpeaker::~FlitePromptSpeaker() = default;

WaveAudio FlitePromptSpeaker::synthesise(std::string_view words)
{
    WaveAudio audio;
    audio.format = { WaveFormat::Encoding::Int16, 16000, 1 };
    cst_voice* speaker = voice();
    if (!speaker) {
        return audio;
    }
    const std::string text(words);
    cst_wave* wave = flite_text_to_wave(text.c_str(), speaker);
    if (!wave) {
        return audio;
    }
    audio.format.sampleRate = cst_wave_sample_rate(wave);
    audio.format.channels = cst_wave_num_channels(wave);
    const auto* samples = reinterpret_cast<const char*>(cst_wave_samples(wave));
    // Samples are in the machine's byte order, which on the computers this runs on is little-endian.
    audio.samples.assign(samples,
        static_cast<std::size_t>(cst_wave_num_samples(wave)) * static_cast<std::size_t>(audio.format.channels) * 2);
    delete_wave(wave);
    return audio;
}

void FlitePromptSpeaker::say(std::string_view words)
{
    auto spoken = m_spoken.find(words);
    if (spoken == m_spoken.end()) {
        spoken = m_spoken.emplace(std::string(words), synthesise(words)).first;
    }
    if (spoken->second.samples.empty()) {
        m_player.stop();
        return;
    }
    (void)m_player.playAudio(spoken->second, "the spoken prompt");
}

void FlitePromptSpeaker::stop()
{
    m_player.stop();
}

bool FlitePromptSpeaker::isSpeaking() const
{
    return m_player.isPlaying();
}

} // namespace brindle
