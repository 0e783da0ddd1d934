#include "VoicePromptPlayer.h"

#include "common/FileSystem.h"
#include "log/ContestSession.h"
#include "station/SettingsStore.h"

namespace brindle {

namespace {

// How often the end of a prompt is looked for when another is to follow it.
constexpr int FollowUpPollMs = 20;

} // namespace

VoicePromptPlayer::VoicePromptPlayer(std::string workingDir, SettingsStore& settings,
    std::unique_ptr<WavePlayer> player, std::unique_ptr<PromptSpeaker> speaker, QObject* parent)
    : QObject(parent)
    , m_workingDir(std::move(workingDir))
    , m_settings(settings)
    , m_promptPlayer(std::move(player))
    , m_speaker(std::move(speaker))
{
    m_speakMissing = m_settings.get(settingkeys::SpeakMissingPrompts, "0") == "1";
    m_followUpTimer.setInterval(FollowUpPollMs);
    connect(&m_followUpTimer, &QTimer::timeout, this, &VoicePromptPlayer::playFollowUp);
}

VoicePromptPlayer::~VoicePromptPlayer()
{
    m_promptPlayer->close();
    if (m_speaker) {
        m_speaker->stop();
    }
}

void VoicePromptPlayer::attach(ContestSession& session)
{
    m_defaults = &session.defaults;
}

std::optional<VoiceNavLevel> VoicePromptPlayer::storedLevel() const
{
    const std::uint8_t stored = m_defaults ? m_defaults->voiceNavLevel : 0;
    if (stored > static_cast<std::uint8_t>(VoiceNavLevel::AllFields)) {
        return std::nullopt;
    }
    return static_cast<VoiceNavLevel>(stored);
}

void VoicePromptPlayer::setSpeaksMissingPrompts(bool on)
{
    m_speakMissing = on;
    m_settings.save(settingkeys::SpeakMissingPrompts, on ? "1" : "0");
}

void VoicePromptPlayer::playPrompt(std::string_view name)
{
    m_followUpTimer.stop();
    m_followUp.clear();
    m_afterCurrent.clear();
    if (!std::exchange(m_announced, true) && level() == VoiceNavLevel::CallOnly) {
        // The first prompt brings voice navigation into use, which says first that it is on. Off and
        // all fields would be cut off before a sound by the prompt asked for.
        start(prompts::NavigationOn);
        m_followUp = name;
        m_followUpTimer.start();
        return;
    }
    start(name);
}

void VoicePromptPlayer::playPromptAfter(std::string_view name)
{
    if (!isPlaying()) {
        playPrompt(name);
        return;
    }
    // The latest asked for is the one that follows: the focus may have moved on meanwhile.
    m_afterCurrent = name;
    m_followUpTimer.start();
}

void VoicePromptPlayer::announceLevel(VoiceNavLevel level)
{
    m_announced = true;
    switch (level) {
    case VoiceNavLevel::Off:
        playPrompt(prompts::NavigationOff);
        return;
    case VoiceNavLevel::CallOnly:
        playPrompt(prompts::NavigationOn);
        m_followUp = prompts::Call;
        m_followUpTimer.start();
        return;
    case VoiceNavLevel::AllFields:
        playPrompt(prompts::NavigationOn);
        return;
    }
}

bool VoicePromptPlayer::soundsNow() const
{
    return m_promptPlayer->isPlaying() || (m_speaker && m_speaker->isSpeaking());
}

bool VoicePromptPlayer::isPlaying() const
{
    return soundsNow() || !m_followUp.empty() || !m_afterCurrent.empty();
}

bool VoicePromptPlayer::isPlaying(std::string_view name) const
{
    return (m_current == name && soundsNow()) || m_followUp == name || m_afterCurrent == name;
}

void VoicePromptPlayer::start(std::string_view name)
{
    m_current = name;
    const Status played = m_promptPlayer->play(joinPath(m_workingDir, promptFileName(name)));
    if (!m_speaker) {
        return;
    }
    // A recording, when there is one, always wins over the spoken words.
    m_speaker->stop();
    const std::string_view words = promptWords(name);
    if (!played && m_speakMissing && !words.empty()) {
        m_speaker->say(words);
    }
}

void VoicePromptPlayer::playFollowUp()
{
    if (soundsNow()) {
        return;
    }
    // What belongs to the announcement goes first; the prompt asked for meanwhile comes after it.
    std::string next = std::exchange(m_followUp, {});
    if (next.empty()) {
        next = std::exchange(m_afterCurrent, {});
    }
    if (m_afterCurrent.empty()) {
        m_followUpTimer.stop();
    }
    if (!next.empty()) {
        start(next);
    }
}

} // namespace brindle
