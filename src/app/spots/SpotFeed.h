#pragma once

#include "common/Result.h"
#include "common/SystemClock.h"
#include "serial/SerialPort.h"
#include "spots/AgwSession.h"
#include "spots/SpotSettings.h"
#include "spots/TncLines.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

class AgwClient;
class FileSystem;
class OperatorDialogs;
class TelnetConnection;

// The DX spot source the spotting window sets up: a packet TNC on a serial port, the AGW Packet Engine, or
// a Telnet cluster node. It keeps the monitor's text, polls the TNC and the engine every third of a
// second, and hands every spot line on, whether the window is shown or not. Nothing here waits on a port
// or the network.
//
// A node may send thousands of spots at once (a reconnection's backlog, SH/DX 10000). What arrived is
// taken a slice at a time, one slice a pass of the window's loop, the rest left to the socket or the port,
// whose bounded buffers then make the sender wait. A node that keeps sending fast is read four times a
// second rather than for every piece it writes. The spots go on in batches: at once when none went for a
// while, otherwise at most four times a second or a full batch at a time, so that the list and the maps are
// laid out once for many spots rather than for each.
class SpotFeed : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollIntervalMs = 333;
    // Ticks without a spot before the band map is drawn again, so that its ages stay true.
    static constexpr int RefreshAfterTicks = 360;
    // The most of the received text taken in one pass of the loop: a few milliseconds' work.
    static constexpr std::size_t IntakeSliceBytes = 8 * 1024;
    // What the program keeps of a TNC's text before the serial port makes it wait.
    static constexpr std::size_t TncReceiveLimit = 16 * 1024;
    // While spots keep coming, a batch is handed on this long after the one before it...
    static constexpr int HandOverSpacingMs = 250;
    // ...or as soon as this many wait.
    static constexpr std::size_t HandOverBatchLimit = 200;
    // A node that sends more than this in the spacing is held back until the spacing is up, and its text
    // taken then, all of it at once, instead of a few lines every few milliseconds.
    static constexpr std::size_t HoldBackAboveBytes = 4 * 1024;

    SpotFeed(FileSystem& fs, std::string workingDir, OperatorDialogs& dialogs, SerialPortMaker makePort,
        QObject* parent = nullptr);
    ~SpotFeed() override;

    // The clock the batches' spacing is measured by; the computer's until told.
    void useClock(const Clock& clock)
    {
        m_clock = &clock;
    }
    const Clock& clock() const
    {
        return *m_clock;
    }

    // "PackSpot.txt" read over the values held now; false when there is no file to read.
    bool loadSettings();
    // The values in use. The serial ones are those the TNC was last opened with.
    SpotSettings& settings()
    {
        return m_settings;
    }
    const SpotSettings& settings() const
    {
        return m_settings;
    }
    // Writes "PackSpot.txt", whole or not at all.
    Status saveSettings();
    // The source the settings name; nothing for the empty text of a window where none was chosen.
    std::optional<SpotSource> source() const
    {
        return spotSourceOf(m_settings.source);
    }

    // "Open Port": the monitor starts afresh and the chosen source opens. The own call registers with
    // the AGW Packet Engine and, unless another is set or logging in by itself is off, logs in to a
    // Telnet node.
    void openConnection(const std::string& ownCall);
    // "Close Port"; nothing while the connection is not open.
    void closeConnection();
    // The connection is open, as the "Listening" label shows it.
    bool isOpen() const
    {
        return m_open;
    }
    // The poll runs: a TNC port opened, the engine registered, or a Telnet connection started.
    bool isPolling() const
    {
        return m_spotPollTimer->isActive();
    }
    // One poll of the source: what the TNC sent, or one frame from the engine.
    void pollSource();

    // Enter in the send box.
    void sendLine(const std::string& text);
    // Esc or Ctrl+C: the TNC's command-mode character, at once. False when it was not sent.
    bool sendTncCommandChar();
    // The AGW Packet Engine: a station connected through it, empty while only monitoring.
    const std::string& connectedStation() const
    {
        return m_agwSession.connectedStation();
    }
    // The program ends: a connected station is left and the engine closed.
    void shutDown();

    const std::string& monitorText() const
    {
        return m_monitor;
    }
    void replaceMonitor(std::string text);
    void appendMonitor(std::string_view text);

    int ticksSinceLastSpot() const
    {
        return m_ticksSinceLastSpot;
    }
    // Spots handed on since the program started.
    std::uint64_t spotsHandedOn() const
    {
        return m_spotsHandedOn;
    }
    // What the program holds of the source's text on its way to the spot list: received and not yet taken,
    // a line begun, spots waiting for their batch. It stays small however much the source sends at once.
    std::size_t bytesHeld() const;
    // The list or the band map was chosen or the source changed: the main window's spot display follows.
    void announceDisplay()
    {
        emit displayChanged();
    }

    // What the tests and the benchmark reach the Telnet link through.
    const TelnetConnection& telnet() const
    {
        return *m_telnet;
    }
    // The TNC's text not yet taken as lines, likewise.
    const TncLineBuffer& tncLines() const
    {
        return m_tncBuffer;
    }

signals:
    // A received line recognised as a DX spot, each in its turn...
    void spotLine(const std::string& line);
    // ...and then the batch they came in, oldest first, for the spot store.
    void spotLines(const std::vector<std::string>& lines);
    // Two minutes without a spot: the band map's ages are drawn afresh.
    void bandMapRefreshDue();
    void displayChanged();
    void monitorChanged();
    void openChanged(bool open);
    // The window's caption while a station is connected through the engine, and after.
    void captionChanged(const QString& caption);
    // The TNC port or the engine could not be reached: the window comes up so the operator sees why.
    void sourceRefused();

private:
    void setOpen(bool open);
    void openTncPort();
    void pollTnc();
    void connectAgw(const std::string& ownCall);
    void agwRefused(const QString& reason);
    void pollAgw();
    void sendAgwText(const std::string& text);
    void connectTelnet(const std::string& ownCall);
    void takeTelnetData();
    void reportTelnetError(int code);
    // A slice of what waits is taken in the next pass of the loop.
    void scheduleIntake();
    void takeSlice();
    void takeTelnetSlice();
    bool takeTncSlice();
    // The spot joins the batch being gathered.
    void handOver(const std::string& line);
    void handOverWhenDue();
    void handOverBatch();

    FileSystem& m_fs;
    std::string m_workingDir;
    OperatorDialogs& m_dialogs;
    SerialPortMaker m_makePort;
    SpotSettings m_settings;

    bool m_open = false;
    QTimer* m_spotPollTimer = nullptr;
    std::string m_monitor;
    int m_ticksSinceLastSpot = 0;
    std::uint64_t m_spotsHandedOn = 0;

    SystemClock m_systemClock;
    const Clock* m_clock = &m_systemClock;
    bool m_intakeDue = false;
    bool m_telnetWaiting = false;
    // What was taken from the node since the spacing began, and the timer that lets it in again.
    std::int64_t m_intakeSpellStartMs = 0;
    std::size_t m_intakeSpellBytes = 0;
    QTimer* m_letInTimer = nullptr;
    std::vector<std::string> m_batch;
    std::size_t m_batchBytes = 0;
    std::optional<std::int64_t> m_lastBatchMs;
    QTimer* m_batchTimer = nullptr;

    std::unique_ptr<SerialPort> m_tncPort;
    // Read from the port and not yet taken as lines, from m_tncWaitingFrom on.
    std::string m_tncWaiting;
    std::size_t m_tncWaitingFrom = 0;
    TncLineBuffer m_tncBuffer;
    bool m_tncPortLost = false;
    QElapsedTimer m_sinceTncReopen;

    AgwClient* m_agw = nullptr;
    AgwSession m_agwSession;
    bool m_agwRegistered = false;

    TelnetConnection* m_telnet = nullptr;
};

// A whole port number 1–65535 from the Telnet port field, blanks around it allowed.
std::optional<quint16> telnetPortNumber(std::string_view text);

} // namespace brindle
