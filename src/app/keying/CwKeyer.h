#pragma once

#include "keying/CwBuffer.h"
#include "keying/CwSettings.h"
#include "keying/KeyerControls.h"
#include "keying/KeyingLines.h"
#include "keying/MorseEngine.h"
#include "keying/WinKeySettings.h"
#include "keying/WinKeyer.h"
#include "serial/PortArbiter.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <string>

namespace brindle {

struct ContestSession;
struct DefaultData;
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
    // The WinKey keyer's port numbers stand for the devices winKeyDevices names; by default those of the
    // operator's port map.
    CwKeyer(FileSystem& fs, std::string workingDir, SettingsStore& settings, OperatorDialogs& dialogs,
        KeyingLineMaker makeLineSource, PortDeviceLookup winKeyDevices = systemPortDevices(),
        QObject* parent = nullptr);
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
    // The CW port and the WinKey keyer's are handed over with the phone keyer's through ports; until
    // this is called, only between the two of them.
    void usePortArbiter(PortArbiter& ports);

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

    // The WinKey keyer, its settings ("WK.txt" in the given folder: the program's data folder) and the
    // text handed to it.
    void setWinKeySettingsFolder(std::string folder);
    WinKeyer& winKeyer()
    {
        return *m_winKeyer;
    }
    const WinKeySettings& winKeySettings() const
    {
        return m_winKeySettings;
    }
    void setWinKeySettings(const WinKeySettings& settings);
    // Reads "WK.txt" (its defaults when it is missing); the speed is the CW speed.
    void loadWinKeySettings();
    // Writes "WK.txt", whole or not at all.
    Status saveWinKeySettings();
    // Releases the CW port (the keyer may sit on the same one) and opens the keyer on its port. When the
    // keyer does not answer the operator is told; when it opens, it gets the settings.
    void openWinKey();
    // Speed, weight, lead-in and tail, and ratio as far as their fields are valid; then the pins and mode.
    void sendWinKeySettings();
    // Puts text after whatever is waiting for the keyer and starts handing it over when nothing is.
    void appendForWinKey(std::string_view text);
    // The station's own call, as the test text signs it.
    std::string ownCall() const;
    // How long the hand-over waits on a keyer whose buffer stays full before it gives up and says so.
    void setWinKeyPatience(int ms)
    {
        m_winKeyPatienceMs = ms;
    }

signals:
    // A WinKey opening ended (AlreadyOpen included).
    void winKeyOpenFinished(WinKeyOpenOutcome outcome);
    // The CW port could not be opened: the CW keyer's window is to be shown for another choice.
    void cwPortRefused();

private:
    void sendBufferToWinKey();
    void handOverNextToWinKey();
    void endWinKeyHandOver();
    void finishWinKeyOpening(WinKeyOpenOutcome outcome);
    void reportWinKeyLost(const QString& reason);
    void sendSpeedToWinKey(std::string_view speed);
    std::string winKeySettingsPath() const;
    void startEngine();
    void releaseCwPort();
    void registerWithPorts();
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
    const DefaultData* m_defaults = nullptr;
    // Between the end of the F1 message and its next sending.
    QTimer* m_repeatTimer = nullptr;
    CwSettings m_settings;
    CwBuffer m_buffer;
    CwEngineSettings m_engineSettings;
    QThread m_thread;
    MorseEngine* m_engine = nullptr;

    PortArbiter m_ownPorts;
    PortArbiter* m_ports = &m_ownPorts;
    WinKeyer* m_winKeyer = nullptr;
    WinKeySettings m_winKeySettings;
    std::string m_winKeyFolder;
    // Paces the hand-over: one character, then a pause, so that keys and other events run between them.
    QTimer* m_winKeyStepTimer = nullptr;
    // The hand-over goes on once the opening it started ends.
    bool m_handOverAfterOpening = false;
    // Since when the keyer has refused more characters (its buffer full), while it does.
    QElapsedTimer m_winKeyFullFor;
    qint64 m_winKeyPatienceMs;
};

} // namespace brindle
