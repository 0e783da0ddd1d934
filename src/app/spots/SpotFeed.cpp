#include "SpotFeed.h"

#include "common/FileSystem.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "spots/AgwClient.h"
#include "spots/MonitorText.h"
#include "spots/SpotHelp.h"
#include "spots/TelnetConnection.h"
#include "spots/TelnetReceiver.h"

#include <charconv>
#include <utility>

namespace brindle {

namespace {

const QString InvalidCommTitle = QStringLiteral("Invalid Comm Settings.");
const QString InvalidCommText
    = QStringLiteral("The comm port that you selected for DX Spotting is either in use, invalid or the settings that "
                     "you have selected are invalid.  Please select another combination or choose None for your DX "
                     "Spot selection.");
constexpr qint64 ReopenEveryMs = 1000;

Handshaking handshakingOf(int option)
{
    switch (option) {
    case 2:
        return Handshaking::XonXoff;
    case 3:
        return Handshaking::RtsCts;
    case 4:
        return Handshaking::Both;
    default:
        return Handshaking::None;
    }
}

// The character a hexadecimal code stands for ("03" is Ctrl+C); nothing for a text that is no such code.
std::optional<char> commandCharOf(std::string_view text)
{
    const std::string_view code = trimBlanks(text);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), value, 16);
    if (code.empty() || error != std::errc() || end != code.data() + code.size() || value > 0xFF) {
        return std::nullopt;
    }
    return static_cast<char>(value);
}

std::pair<QString, int> agwAddressOf(const std::string& address)
{
    const std::size_t colon = address.rfind(':');
    if (colon == std::string::npos) {
        return { toQString(trimBlanks(address)), DefaultAgwPort };
    }
    const std::optional<quint16> port = telnetPortNumber(std::string_view(address).substr(colon + 1));
    return { toQString(trimBlanks(std::string_view(address).substr(0, colon))), port ? *port : 0 };
}

} // namespace

std::optional<quint16> telnetPortNumber(std::string_view text)
{
    const std::string_view digits = trimBlanks(text);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || value == 0
        || value > 65535) {
        return std::nullopt;
    }
    return static_cast<quint16>(value);
}

SpotFeed::SpotFeed(
    FileSystem& fs, std::string workingDir, OperatorDialogs& dialogs, SerialPortMaker makePort, QObject* parent)
    : QObject(parent)
    , m_fs(fs)
    , m_workingDir(std::move(workingDir))
    , m_dialogs(dialogs)
    , m_makePort(std::move(makePort))
{
    m_spotPollTimer = new QTimer(this);
    m_spotPollTimer->setObjectName(QStringLiteral("spotPollTimer"));
    m_spotPollTimer->setInterval(PollIntervalMs);
    connect(m_spotPollTimer, &QTimer::timeout, this, &SpotFeed::pollSource);

    m_agw = new AgwClient(this);
    connect(m_agw, &AgwClient::registered, this, [this] {
        m_agwRegistered = true;
        m_spotPollTimer->start();
        appendMonitor("\r\n** Successfully connected to AGW Packet Engine **\r\n\r\n");
    });
    connect(m_agw, &AgwClient::failed, this, &SpotFeed::agwRefused);

    m_telnet = new TelnetConnection(this);
    connect(m_telnet, &TelnetConnection::readyToTake, this, &SpotFeed::takeTelnetData);
    connect(m_telnet, &TelnetConnection::failed, this, [this](int code) { reportTelnetError(code); });
    connect(m_telnet, &TelnetConnection::closedByNode, this, [this] {
        appendMonitor("\r\n** The cluster node closed the connection **\r\n");
        if (!m_settings.autoReconnect) {
            closeConnection();
        }
    });
    connect(m_telnet, &TelnetConnection::reconnectScheduled, this, [this](int delayMs) {
        appendMonitor("** Connecting again in " + std::to_string((delayMs + 500) / 1000) + " s **\r\n");
    });
    connect(m_telnet, &TelnetConnection::reconnecting, this,
        [this](const QString& address) { appendMonitor("Attempting connection to: " + toBytes(address) + "\r\n\r\n"); });
    connect(m_telnet, &TelnetConnection::sentForOperator, this,
        [this](const QString& text) { appendMonitor(toBytes(text)); });
}

SpotFeed::~SpotFeed()
{
    m_spotPollTimer->stop();
    if (m_tncPort) {
        m_tncPort->close();
    }
}

bool SpotFeed::loadSettings()
{
    const Result<std::string> content = m_fs.readFile(joinPath(m_workingDir, SpotSettingsFileName));
    if (!content) {
        return false;
    }
    m_settings = parseSpotSettings(content.value(), m_settings);
    return true;
}

Status SpotFeed::saveSettings()
{
    return m_fs.replaceFile(joinPath(m_workingDir, SpotSettingsFileName), formatSpotSettings(m_settings));
}

void SpotFeed::replaceMonitor(std::string text)
{
    m_monitor = std::move(text);
    trimMonitor(m_monitor);
    emit monitorChanged();
}

void SpotFeed::appendMonitor(std::string_view text)
{
    m_monitor += text;
    trimMonitor(m_monitor);
    emit monitorChanged();
}

void SpotFeed::setOpen(bool open)
{
    if (std::exchange(m_open, open) != open) {
        emit openChanged(open);
    }
}

void SpotFeed::openConnection(const std::string& ownCall)
{
    replaceMonitor("** Attempting to Open Port **\r\n\r\n");
    if (m_tncPort && m_tncPort->isOpen()) {
        m_tncPort->close();
    }
    const std::optional<SpotSource> chosen = source();
    if (chosen == SpotSource::None) {
        return;
    }
    setOpen(true);
    if (chosen == SpotSource::Tnc) {
        openTncPort();
    } else if (chosen == SpotSource::Agw) {
        connectAgw(ownCall);
    } else if (chosen == SpotSource::Telnet) {
        connectTelnet(ownCall);
    }
}

void SpotFeed::closeConnection()
{
    if (!m_open) {
        return;
    }
    setOpen(false);
    appendMonitor("\r\n\r\n** Port Closed **");
    if (m_tncPort) {
        m_tncPort->close();
    }
    m_tncPortLost = false;
    m_telnet->close();
    if (source() == SpotSource::Agw) {
        if (const std::optional<std::string> leaving = m_agwSession.leaveStation()) {
            m_agw->send(*leaving);
            emit captionChanged(toQString(SpottingCaption));
        }
        m_agw->close();
        m_agwRegistered = false;
    }
    m_spotPollTimer->stop();
}

void SpotFeed::pollSource()
{
    const std::optional<SpotSource> polled = source();
    if (polled == SpotSource::Tnc) {
        pollTnc();
    } else if (polled == SpotSource::Agw) {
        pollAgw();
    }
    if (++m_ticksSinceLastSpot > RefreshAfterTicks) {
        m_ticksSinceLastSpot = 0;
        emit bandMapRefreshDue();
    }
}

void SpotFeed::handOver(const std::string& line)
{
    m_ticksSinceLastSpot = 0;
    ++m_spotsHandedOn;
    emit spotLine(line);
}

void SpotFeed::openTncPort()
{
    // A line the last session left unfinished would be glued to the first line of this one.
    m_tncBuffer = TncLineBuffer {};
    m_tncPort = m_makePort();
    const std::optional<LineSettings> line = parseLineSettings(lineSettingsText(m_settings));
    Status status = line ? Status {} : Status { Error { "The line settings " + lineSettingsText(m_settings)
                                                        + " are no serial port's." } };
    if (status) {
        m_tncPort->setPortNumber(m_settings.port);
        m_tncPort->setLineSettings(*line);
        m_tncPort->setHandshaking(handshakingOf(m_settings.handshaking));
        status = m_tncPort->setDtr(false);
    }
    if (status) {
        // RTS flow control needs the line up, whatever powers the TNC.
        status = m_tncPort->setRts(m_settings.handshaking == 3 || m_settings.handshaking == 4);
    }
    if (status) {
        status = m_tncPort->open();
    }
    if (status && m_settings.power == "R") {
        status = m_tncPort->setRts(true);
    } else if (status && m_settings.power == "D") {
        status = m_tncPort->setDtr(true);
    }
    if (!status) {
        m_tncPort->close();
        m_dialogs.beep();
        appendMonitor("** Unable to open TNC Serial Port **\r\n\r\n");
        m_dialogs.message(InvalidCommTitle, InvalidCommText + QStringLiteral("\n\n") + toQString(status.error().description),
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Information);
        emit sourceRefused();
        closeConnection();
        m_spotPollTimer->stop();
        return;
    }
    m_tncPortLost = false;
    m_spotPollTimer->start();
    appendMonitor("** TNC Serial Port Open **\r\n\r\n");
}

void SpotFeed::pollTnc()
{
    if (!m_tncPort) {
        return;
    }
    if (!m_tncPort->isOpen()) {
        // An unplugged adapter: opened again once it is back, tried at most once a second.
        if (m_tncPortLost && m_sinceTncReopen.isValid() && m_sinceTncReopen.elapsed() < ReopenEveryMs) {
            return;
        }
        m_sinceTncReopen.start();
        const Status reopened = m_tncPort->open();
        if (!reopened) {
            if (!std::exchange(m_tncPortLost, true)) {
                appendMonitor("\r\n** The TNC's port closed: " + reopened.error().description
                    + ". Trying again every second. **\r\n");
            }
            return;
        }
        if (m_settings.power == "R") {
            (void)m_tncPort->setRts(true);
        } else if (m_settings.power == "D") {
            (void)m_tncPort->setDtr(true);
        }
        if (std::exchange(m_tncPortLost, false)) {
            appendMonitor("\r\n** The TNC's port is open again. **\r\n");
        }
    }
    const std::string received = m_tncPort->readAll();
    if (received.empty()) {
        return;
    }
    const std::vector<std::string> spots = m_tncBuffer.take(received, m_monitor, m_settings.dxOnly);
    emit monitorChanged();
    for (const std::string& spot : spots) {
        handOver(spot);
    }
}

bool SpotFeed::sendTncCommandChar()
{
    if (source() != SpotSource::Tnc || !m_tncPort || !m_tncPort->isOpen()) {
        return false;
    }
    if (const std::optional<char> code = commandCharOf(m_settings.commandChar)) {
        (void)m_tncPort->write(std::string_view(&*code, 1));
        m_tncPort->flush();
    }
    return true;
}

void SpotFeed::connectAgw(const std::string& ownCall)
{
    const std::string call(trimBlanks(ownCall));
    if (call.empty()) {
        m_dialogs.beep();
        m_dialogs.message(QStringLiteral("Call Sign Required!"),
            QStringLiteral("Please enter your call sign on the setup form to transmit!"), OperatorDialogs::Buttons::Ok,
            OperatorDialogs::Icon::None);
        return;
    }
    m_agwSession.setOwnCall(call);
    m_agwRegistered = false;
    const auto [host, port] = agwAddressOf(m_settings.agwAddress);
    m_agw->setEngineAddress(host, port);
    m_agw->registerCall(call);
}

void SpotFeed::agwRefused(const QString& reason)
{
    if (std::exchange(m_agwRegistered, false)) {
        // The engine went away mid-session: said in the monitor, no box in the operator's way.
        appendMonitor("\r\n** " + toBytes(reason) + " **\r\n");
        closeConnection();
        return;
    }
    m_dialogs.message(toQString(AgwUnreachableTitle),
        toQString(agwUnreachableMessageText()) + QStringLiteral("\r\n\r\n") + reason, OperatorDialogs::Buttons::Ok,
        OperatorDialogs::Icon::None);
    setOpen(false);
    appendMonitor(agwUnreachableMonitorText());
    emit sourceRefused();
    m_spotPollTimer->stop();
}

void SpotFeed::pollAgw()
{
    const std::optional<AgwFrame> frame = m_agw->takeFrame();
    if (!frame) {
        return;
    }
    const AgwFrameOutcome outcome = m_agwSession.take(*frame, m_monitor, m_settings.dxOnly);
    for (std::size_t i = 0; i < outcome.monitorTexts.size(); ++i) {
        m_monitor += outcome.monitorTexts[i];
        if (i == 0) {
            for (const std::string& spot : outcome.spotLines) {
                handOver(spot);
            }
        }
        trimMonitor(m_monitor);
    }
    if (!outcome.monitorTexts.empty()) {
        emit monitorChanged();
    }
    for (int i = 0; i < outcome.beeps; ++i) {
        m_dialogs.beep();
    }
    if (outcome.caption) {
        emit captionChanged(toQString(*outcome.caption));
    }
}

void SpotFeed::sendAgwText(const std::string& text)
{
    const AgwSendOutcome outcome = m_agwSession.send(text);
    for (const std::string& request : outcome.requests) {
        m_agw->send(request);
    }
    if (outcome.message) {
        m_dialogs.message(toQString(outcome.message->title), toQString(outcome.message->text),
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::None);
    }
}

void SpotFeed::sendLine(const std::string& text)
{
    const std::optional<SpotSource> chosen = source();
    if (chosen == SpotSource::Tnc && m_tncPort && m_tncPort->isOpen()) {
        (void)m_tncPort->write(text + "\r");
    } else if (chosen == SpotSource::Telnet) {
        if (!m_telnet->send(text + "\r\n")) {
            appendMonitor("**  Connection not yet established.  Please wait a moment and try again.\r\n\r\n");
        }
    } else if (chosen == SpotSource::Agw && isPolling()) {
        sendAgwText(text);
    }
}

void SpotFeed::connectTelnet(const std::string& ownCall)
{
    m_telnet->close();
    const std::optional<quint16> port = telnetPortNumber(m_settings.telnetPort);
    if (!port) {
        return;
    }
    TelnetConnection::Options options;
    options.host = toQString(trimBlanks(m_settings.telnetHost));
    options.port = *port;
    if (m_settings.autoLogin) {
        options.loginCall
            = std::string(trimBlanks(m_settings.telnetLoginCall.empty() ? ownCall : m_settings.telnetLoginCall));
    }
    options.autoReconnect = m_settings.autoReconnect;
    options.keepAlive = m_settings.keepAlive;
    m_telnet->open(options);
    replaceMonitor("Attempting connection to: " + toBytes(options.host) + ":" + std::to_string(*port) + "\r\n\r\n");
    m_spotPollTimer->start();
}

void SpotFeed::takeTelnetData()
{
    const std::vector<std::string> spots = m_telnet->take(m_monitor, m_settings.dxOnly);
    emit monitorChanged();
    for (const std::string& spot : spots) {
        handOver(spot);
    }
}

void SpotFeed::reportTelnetError(int code)
{
    if (m_settings.autoReconnect) {
        appendMonitor("\r\n" + telnetErrorText(code) + "\r\n");
        return;
    }
    m_telnet->close();
    appendMonitor(telnetErrorText(code));
    closeConnection();
    m_dialogs.beep();
}

void SpotFeed::shutDown()
{
    m_spotPollTimer->stop();
    if (const std::optional<std::string> leaving = m_agwSession.leaveStation()) {
        m_agw->send(*leaving);
    }
    if (source() == SpotSource::Agw) {
        m_agw->close();
    }
    m_telnet->close();
    if (m_tncPort) {
        m_tncPort->close();
    }
}

} // namespace brindle
