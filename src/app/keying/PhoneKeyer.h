#pragma once

#include "keying/KeyerControls.h"
#include "keying/KeyingLines.h"
#include "keying/PhoneSettings.h"
#include "keying/WavePlayer.h"

#include <QTimer>

#include <memory>
#include <string>

namespace brindle {

class FileSystem;
class OperatorDialogs;
class PortArbiter;
struct KeyingState;

// The phone keyer: the recorded messages of F1 to F9 played into the transmitter, with PTT keyed on a
// serial port's RTS or DTR, on the parallel port, or on both, for exactly as long as a message plays.
// F1 repeats after a pause while the operator presses no key.
class PhoneKeyer final : public PhoneKeyerControl
{
    Q_OBJECT

public:
    PhoneKeyer(FileSystem& fs, std::string workingDir, OperatorDialogs& dialogs, std::unique_ptr<WavePlayer> player,
        KeyingLineMaker makePttLine, QObject* parent = nullptr);
    ~PhoneKeyer() override;

    void attach(ContestSession& session) override;
    // The PTT port is handed over between this keyer, the CW key and the WinKey keyer.
    void usePortArbiter(PortArbiter& ports);
    // "wave2.txt" in the working folder; its defaults when it is missing.
    void loadSettings() override;
    // Writes "wave2.txt", whole or not at all.
    Status saveSettings();
    const PhoneSettings& settings() const
    {
        return m_settings;
    }
    // Takes new settings; the repeat pause and the lines hold from the next message.
    void applySettings(const PhoneSettings& settings);
    const std::string& workingDir() const
    {
        return m_workingDir;
    }

    void playMessage(int keyCode) override;
    bool isPlaying() const override;
    void stopPlaying() override;
    void stopRepeat() override;
    bool isRepeatArmed() const;
    // PTT is keyed on at least one line.
    bool isPttKeyed() const
    {
        return m_pttKeyed;
    }

    // Takes the PTT port from the other keyers and opens it with both lines off. False, with the
    // operator told why, when it cannot be opened; true also when no port is chosen.
    bool openPttPort();
    // Every 40 ms while a message plays, and at once when the player says it ended: once it no longer
    // plays, PTT drops and a repeating F1 waits its pause.
    void watchPlayback();
    // The pause after F1 is over: it plays again.
    void repeatFirstMessage();

signals:
    // The PTT port could not be opened: the phone keyer's window is to be shown for another choice.
    void pttPortRefused();
    // F1 is to repeat after its pause, or no longer is.
    void repeatArmedChanged(bool armed);

private:
    void setRepeatArmed(bool armed);
    void keyPtt(bool on);
    // Switches one PTT line, opening it if it is not; open tells afterwards whether it is.
    void switchPtt(KeyingLineSource& source, bool& open, bool on);
    void releasePorts();
    void reportPttFailure(const Error& error);
    int repeatIntervalMs() const;

    FileSystem& m_fs;
    std::string m_workingDir;
    OperatorDialogs& m_dialogs;
    std::unique_ptr<WavePlayer> m_player;
    KeyingState* m_keying = nullptr;
    PortArbiter* m_ports = nullptr;
    PhoneSettings m_settings;

    // The serial port's line and the parallel port, each a line source of its own: PTT may key both.
    KeyingLineChoice m_serialChoice;
    KeyingLineChoice m_parallelChoice;
    std::unique_ptr<KeyingLineSource> m_serialPtt;
    std::unique_ptr<KeyingLineSource> m_parallelPtt;
    bool m_serialOpen = false;
    bool m_parallelOpen = false;
    bool m_pttKeyed = false;

    QTimer* m_playbackWatchTimer = nullptr;
    QTimer* m_phoneRepeatTimer = nullptr;
};

} // namespace brindle
