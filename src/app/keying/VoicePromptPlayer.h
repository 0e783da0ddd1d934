#pragma once

#include "keying/KeyerControls.h"
#include "keying/VoiceNavigation.h"
#include "keying/WavePlayer.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

namespace brindle {

class SettingsStore;
struct DefaultData;

// The voice prompts: recordings named after the prompts, in the working folder, played one at a time.
// A prompt without a recording is silent, unless the operator chose to have such prompts spoken.
class VoicePromptPlayer final : public QObject, public VoicePrompts
{
    Q_OBJECT

public:
    // speaker says the prompts that have no recording, when the operator wants them said; nothing
    // leaves them silent.
    VoicePromptPlayer(std::string workingDir, SettingsStore& settings, std::unique_ptr<WavePlayer> player,
        std::unique_ptr<PromptSpeaker> speaker, QObject* parent = nullptr);
    ~VoicePromptPlayer() override;

    void attach(ContestSession& session) override;
    void playPrompt(std::string_view name) override;
    void playPromptAfter(std::string_view name) override;
    bool isPlaying() const override;
    bool isPlaying(std::string_view name) const override;

    // Says which level is chosen: "NavDis" for off, "NavEn" for the others; "Call Only" then plays
    // "Call" once "NavEn" has ended.
    void announceLevel(VoiceNavLevel level);
    // The level kept in the default data; nothing for a value that is no level.
    std::optional<VoiceNavLevel> storedLevel() const;
    VoiceNavLevel level() const
    {
        return storedLevel().value_or(VoiceNavLevel::Off);
    }
    const std::string& workingDir() const
    {
        return m_workingDir;
    }

    // Prompts without a recording are spoken; kept in the settings store.
    bool speaksMissingPrompts() const
    {
        return m_speakMissing;
    }
    void setSpeaksMissingPrompts(bool on);

private:
    void start(std::string_view name);
    bool soundsNow() const;
    void playFollowUp();

    std::string m_workingDir;
    SettingsStore& m_settings;
    std::unique_ptr<WavePlayer> m_promptPlayer;
    std::unique_ptr<PromptSpeaker> m_speaker;
    const DefaultData* m_defaults = nullptr;
    bool m_speakMissing = false;
    // The stored level has been announced, as the window does when it first comes into use.
    bool m_announced = false;
    // The prompt last started.
    std::string m_current;
    // The prompt that follows the one playing as part of an announcement, once it has ended; empty
    // for none.
    std::string m_followUp;
    // The prompt asked for to follow whatever plays, after the announcement's own.
    std::string m_afterCurrent;
    // Looks for the end of a prompt that another is to follow.
    QTimer m_followUpTimer;
};

} // namespace brindle
