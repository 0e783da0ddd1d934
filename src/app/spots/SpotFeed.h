#pragma once

#include "common/Result.h"
#include "serial/SerialPort.h"
#include "spots/AgwSession.h"
#include "spots/SpotSettings.h"
#include "spots/TncLines.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

class AgwClient;
class FileSystem;
class OperatorDialogs;
class TelnetConnection;

// The DX spot source the spotting window sets up: a packet TNC on a serial port, the AGW Packet Engine, or
// a Telnet cluster node. It keeps the monitor's text, polls the TNC and the engine every third of a
// second, and hands every spot line on as it is recognised, whether the window is shown or not. Nothing
// here waits on a port or the network.
class SpotFeed : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollIntervalMs = 333;
    // Ticks without a spot before the band map is drawn again, so that its ages stay true.
    static constexpr int RefreshAfterTicks = 360;

    SpotFeed(FileSystem& fs, std::string workingDir, OperatorDialogs& dialogs, SerialPortMaker makePort,
        QObject* parent = nullptr);
    ~SpotFeed() override;

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
    // A received line recognised as a DX spot, for the spot store.
    void spotLine(const std::string& line);
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
    void handOver(const std::string& line);

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

    std::unique_ptr<SerialPort> m_tncPort;
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
