#pragma once

#include "keying/CwBuffer.h"
#include "keying/CwSettings.h"
#include "keying/KeyerControls.h"
#include "keying/MorseEngine.h"

#include <QThread>
#include <QTimer>

#include <string>

namespace brindle {

struct ContestSession;
struct OperatingState;
class FileSystem;
class OperatorDialogs;
class SettingsStore;

// The CW keyer: its settings, the text waiting to be keyed, and the engine that keys it on a thread of
// its own. The main window's keys reach it through CwKeyerControl.
class CwKeyer final : public CwKeyerControl
{
    Q_OBJECT

public:
    CwKeyer(FileSystem& fs, std::string workingDir, SettingsStore& settings, OperatorDialogs& dialogs,
        MorseEngine::LineSourceMaker makeLineSource, QObject* parent = nullptr);
    ~CwKeyer() override;

    void attach(ContestSession& session) override;
    // "cw.txt" in the working folder, and the timing choice and loop count of the settings store.
    void loadSettings() override;

    bool isSending() const override;
    void clearBuffer() override;
    void sendMessage(int keyCode) override;
    void speedUp() override;
    void slowDown() override;
    std::string speedText() const override;
    void stopRepeat() override;
    void typeCharacter(char character) override;
    bool takeBackCharacter() override;

    // Puts text after whatever is waiting and starts sending when nothing is.
    void appendText(std::string_view text);
    // Text is waiting that the engine has not taken yet.
    bool hasWaitingText() const;
    // Closes the CW port and opens it again as the settings now say, telling the operator when it fails.
    void openCwPort();

    const CwSettings& settings() const
    {
        return m_settings;
    }
    // Takes new settings: the engine keys with them from its next unit.
    void applySettings(const CwSettings& settings);
    CwTiming timing() const;
    void setTiming(CwTiming timing);
    void setLoopsPer60Ms(double loops);
    // "Done" of the CW keyer window: the settings file, written whole or not at all, and the timing choice
    // and loop count in the settings store.
    Status saveCwSettings();
    // The keying thread got real-time priority: edges stay on time however busy the computer is.
    bool hasRealTimePriority() const;
    double loopsPer60Ms() const;

private:
    void startEngine();
    void setSpeed(int wordsPerMinute);
    void reportUnavailableLine(const QString& reason);
    void reportKeyingFailure(const QString& reason);
    void finishSending();
    // The settings file as it is named in the working folder, whatever the case of its letters.
    std::string settingsFilePath() const;

    FileSystem& m_fs;
    std::string m_workingDir;
    SettingsStore& m_store;
    OperatorDialogs& m_dialogs;
    KeyingState* m_keying = nullptr;
    OperatingState* m_state = nullptr;
    // Between the end of the F1 message and its next sending.
    QTimer* m_repeatTimer = nullptr;
    CwSettings m_settings;
    CwBuffer m_buffer;
    CwEngineSettings m_engineSettings;
    QThread m_thread;
    MorseEngine* m_engine = nullptr;
};

} // namespace brindle
