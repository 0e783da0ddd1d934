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

#include <algorithm>
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
    m_batchTimer = new QTimer(this);
    m_batchTimer->setObjectName(QStringLiteral("spotBatchTimer"));
    m_batchTimer->setSingleShot(true);
    connect(m_batchTimer, &QTimer::timeout, this, &SpotFeed::handOverBatch);
    m_letInTimer = new QTimer(this);
    m_letInTimer->setObjectName(QStringLiteral("telnetLetInTimer"));
    m_letInTimer->setSingleShot(true);
    connect(m_letInTimer, &QTimer::timeout, this, [this] {
        m_telnet->letIn();
        m_telnetWaiting = true;
        takeSlice();
    });

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
        // What the node sent before it went goes on before the monitor says it went.
        handOverBatch();
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
    // What was received before the close goes on before anyone hears of it.
    handOverBatch();
    setOpen(false);
    appendMonitor("\r\n\r\n** Port Closed **");
    if (m_tncPort) {
        m_tncPort->close();
    }
    m_tncPortLost = false;
    m_tncWaiting.clear();
    m_tncWaitingFrom = 0;
    m_telnet->close();
    m_telnetWaiting = false;
    m_letInTimer->stop();
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
    // An engine's frame hands its spot on with the rest of its batch.
    handOverWhenDue();
    if (++m_ticksSinceLastSpot > RefreshAfterTicks) {
        m_ticksSinceLastSpot = 0;
        emit bandMapRefreshDue();
    }
}

std::size_t SpotFeed::bytesHeld() const
{
    return m_telnet->bytesWaiting() + m_telnet->receiver().lines().pending().size()
        + (m_tncWaiting.size() - m_tncWaitingFrom) + m_tncBuffer.text().size() + m_batchBytes;
}

void SpotFeed::scheduleIntake()
{
    if (!std::exchange(m_intakeDue, true)) {
        QMetaObject::invokeMethod(this, &SpotFeed::takeSlice, Qt::QueuedConnection);
    }
}

void SpotFeed::takeSlice()
{
    m_intakeDue = false;
    bool more = false;
    if (m_telnetWaiting) {
        takeTelnetSlice();
        more = m_telnetWaiting;
    }
    if (takeTncSlice()) {
        more = true;
    }
    if (more) {
        scheduleIntake();
    }
    handOverWhenDue();
}

void SpotFeed::takeTelnetSlice()
{
    const std::uint64_t before = m_telnet->bytesReceived();
    for (const std::string& spot : m_telnet->take(m_monitor, m_settings.dxOnly, IntakeSliceBytes)) {
        handOver(spot);
    }
    emit monitorChanged();
    const std::int64_t now = m_clock->monotonicMs();
    if (now - m_intakeSpellStartMs >= HandOverSpacingMs || now < m_intakeSpellStartMs) {
        m_intakeSpellStartMs = now;
        m_intakeSpellBytes = 0;
    }
    m_intakeSpellBytes += m_telnet->bytesReceived() - before;
    m_telnetWaiting = m_telnet->bytesWaiting() > 0;
    // All taken that came: a node sending fast is held back for the rest of the spacing, unless its next
    // text is already here, as in a burst, which is taken on at full speed.
    if (!m_telnetWaiting && m_intakeSpellBytes > HoldBackAboveBytes && !m_telnet->moreOnTheWay()) {
        m_telnet->holdBack();
    }
}

bool SpotFeed::takeTncSlice()
{
    if (m_tncWaitingFrom >= m_tncWaiting.size()) {
        return false;
    }
    const std::string_view slice = std::string_view(m_tncWaiting).substr(m_tncWaitingFrom, IntakeSliceBytes);
    m_tncWaitingFrom += slice.size();
    for (const std::string& spot : m_tncBuffer.take(slice, m_monitor, m_settings.dxOnly)) {
        handOver(spot);
    }
    emit monitorChanged();
    if (m_tncWaitingFrom < m_tncWaiting.size()) {
        return true;
    }
    // All taken: whatever the port holds by now follows without waiting for the next poll.
    m_tncWaiting = m_tncPort && m_tncPort->isOpen() ? m_tncPort->readAll() : std::string();
    m_tncWaitingFrom = 0;
    return !m_tncWaiting.empty();
}

void SpotFeed::handOver(const std::string& line)
{
    m_batchBytes += line.size();
    m_batch.push_back(line);
}

void SpotFeed::handOverWhenDue()
{
    if (m_batch.empty()) {
        return;
    }
    const std::int64_t sinceLast
        = m_lastBatchMs ? m_clock->monotonicMs() - *m_lastBatchMs : std::int64_t { HandOverSpacingMs };
    if (sinceLast >= HandOverSpacingMs || m_batch.size() >= HandOverBatchLimit) {
        handOverBatch();
        return;
    }
    if (!m_batchTimer->isActive()) {
        // A clock that stands still (or went back) waits no longer than the spacing.
        m_batchTimer->start(
            static_cast<int>(std::clamp<std::int64_t>(HandOverSpacingMs - sinceLast, 0, HandOverSpacingMs)));
    }
}

void SpotFeed::handOverBatch()
{
    m_batchTimer->stop();
    if (m_batch.empty()) {
        return;
    }
    const std::vector<std::string> batch = std::exchange(m_batch, {});
    m_batchBytes = 0;
    m_lastBatchMs = m_clock->monotonicMs();
    m_ticksSinceLastSpot = 0;
    for (const std::string& line : batch) {
        ++m_spotsHandedOn;
        emit spotLine(line);
    }
    emit spotLines(batch);
}

void SpotFeed::openTncPort()
{
    // A line the last session left unfinished would be glued to the first line of this one.
    m_tncBuffer = TncLineBuffer {};
    m_tncWaiting.clear();
    m_tncWaitingFrom = 0;
    m_tncPort = m_makePort();
    m_tncPort->setReceiveLimit(TncReceiveLimit);
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
    if (m_tncWaitingFrom < m_tncWaiting.size()) {
        return; // a burst still being taken reads on by itself
    }
    m_tncWaiting = m_tncPort->readAll();
    m_tncWaitingFrom = 0;
    if (!m_tncWaiting.empty()) {
        scheduleIntake();
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
    m_telnetWaiting = true;
    // A slice queued for a burst, or a held-back node's time to be let in, takes its turn.
    if (m_intakeDue || m_letInTimer->isActive()) {
        return;
    }
    if (m_telnet->isHeldBack()) {
        const std::int64_t wait = m_intakeSpellStartMs + HandOverSpacingMs - m_clock->monotonicMs();
        if (wait > 0) {
            // A clock that stands still (or went back) waits no longer than the spacing.
            m_letInTimer->start(static_cast<int>(std::min<std::int64_t>(wait, HandOverSpacingMs)));
            return;
        }
        m_telnet->letIn();
    }
    // A slice goes now, in this pass.
    takeSlice();
}

void SpotFeed::reportTelnetError(int code)
{
    handOverBatch();
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
    m_batchTimer->stop();
    m_letInTimer->stop();
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
