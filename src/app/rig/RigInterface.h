#pragma once

#include "rig/BandPlanModes.h"
#include "rig/PollCycle.h"
#include "rig/RigCommandSequence.h"
#include "rig/RigControl.h"
#include "rig/RigReplies.h"
#include "rig/RigSettings.h"
#include "serial/SerialPort.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace brindle {

class FileSystem;
class OperatorDialogs;
class RigctldLink;
class SerialPort;
class SettingsStore;

// The rig interface: the radio's frequency and mode read over CAT at the chosen rate, so that the band
// and the logged frequency follow the dial. The poll timer alternates a send tick and a read tick and
// never waits for the radio: a rig that is absent, slow, half answering, unplugged or sending a frequency
// on no amateur band leaves the last reading where it was, and the window goes on working.
class RigInterface final : public RigControl, private RigCommandSequence::Target
{
    Q_OBJECT

public:
    RigInterface(FileSystem& fs, std::string workingDir, OperatorDialogs& dialogs, SettingsStore& store,
        SerialPortMaker makePort, QObject* parent = nullptr);
    ~RigInterface() override;

    // "RigCntrl.txt" in the working folder, read over the values held now, once, the first time the rig
    // is needed; and the band plan's modes, each time.
    void loadSettings();
    const RigSettings& settings() const
    {
        return m_settings;
    }
    // The rig window's values; a poll running goes on with the ones it started with.
    void applySettings(const RigSettings& settings);
    // Writes "RigCntrl.txt", whole or not at all.
    Status saveSettings();

    // The folder of the Pegasus control program's files, "~/Pegasus" until the operator chooses one.
    std::string pegasusFolder() const;
    void setPegasusFolder(const std::string& folder);

    // Test: opens the rig's port (or the link to rigctld) and starts polling; false, with the operator
    // told why, when the port cannot be opened. "None" polls nothing and is no failure.
    bool startPolling();
    // End Test: polling stops and the port closes.
    void stopPolling();
    bool isPolling() const override;
    // One tick of the poll timer: a send tick or a read tick, in turn.
    void pollTick();

    // "Rig", "Frequency" or "Don't Use" chosen: the mode read so far is forgotten.
    void clearRigMode();

    void startUp(std::string_view rigName) override;
    void closeRig() override;

    std::string rigName() const override
    {
        return m_settings.rigName;
    }
    // The mode first, then the frequency, each with the pauses its radio needs; the poll holds meanwhile.
    void changeFrequency(Hertz hertz) override;
    // Not only while polling; a poll running holds while the command goes out.
    void changeMode(Hertz hertz, const std::string& mode) override;
    // The command test window's own bytes, to the port the rig is polled on.
    Status sendRaw(std::string_view bytes);
    // A change is being sent or waits.
    bool isChanging() const
    {
        return m_sequence->isRunning();
    }

    // What the last reads told (frequency in MHz, mode text, the Kenwood VFO digit).
    const RigReading& reading() const
    {
        return m_reading;
    }
    // What the last read tick that found anything received, as it came.
    const std::string& receiveBuffer() const
    {
        return m_receiveBuffer;
    }
    // The connection to rigctld in words, while "Hamlib rigctld" polls; empty otherwise.
    const QString& linkStatus() const
    {
        return m_linkStatus;
    }

signals:
    // A read tick decoded what arrived: the window shows the reading.
    void polled();
    void pollingChanged(bool polling);
    // The port could not be opened: the rig window is to be shown for another choice.
    void rigPortRefused();
    void linkStatusChanged(const QString& status);

private:
    bool openPort();
    void readSerial(const PollRead& read);
    void readRigctld();
    // Steps after every read that ran a decoder, with the frequency the read told if it told one: the
    // frequency kept unless it is nonsense, mode by frequency, then what the main window follows.
    void finishRead(std::optional<float> toldFreqMHz);
    void takeFrequency(float freqMHz);
    // A port that closed by itself (an unplugged adapter) is opened again, at most once a second.
    void reopenLostPort();
    void setLinkStatus(const QString& status);
    RigCommandContext commandContext() const;
    // A change begins: the poll timer stops, to go on when the last change has ended.
    void holdPolling();
    void changesEnded();
    void reportChangeFailure(bool frequency, const QString& mode, const QString& reason);

    // What the steps of a change act on.
    void discardReceived() override;
    std::size_t bytesToWrite() const override;
    Status write(const RigStep& step) override;

    FileSystem& m_fs;
    std::string m_workingDir;
    OperatorDialogs& m_dialogs;
    SettingsStore& m_store;
    SerialPortMaker m_makePort;
    RigSettings m_settings;
    bool m_loaded = false;

    // The settings of the poll running now.
    RigSettings m_polled;
    RigFamily m_family = RigFamily::None;
    std::unique_ptr<SerialPort> m_port;
    std::optional<PollCycle> m_cycle;
    RigctldLink* m_rigctld = nullptr;
    bool m_rigctldReadNext = false;
    bool m_rigctldArrived = false;
    std::optional<double> m_rigctldFreqMHz;
    QString m_rigctldMode;
    // rigctld's going has been told the operator, and whether it was there before it went.
    bool m_rigctldLost = false;
    bool m_rigctldWasConnected = false;
    QTimer* m_rigPollTimer = nullptr;
    BandPlanModes m_bandPlanModes;
    RigCommandSequence* m_sequence = nullptr;
    bool m_pollHeld = false;
    std::string m_changeMode; // of the last change asked for, for rigctld's refusals

    RigReading m_reading;
    // A frequency on no band has been told the operator since the last good one.
    bool m_unusableFrequencyTold = false;
    std::string m_receiveBuffer;
    QString m_linkStatus;
    bool m_portLost = false;
    QElapsedTimer m_sinceReopen;
};

} // namespace brindle
