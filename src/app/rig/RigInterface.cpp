#include "RigInterface.h"

#include "common/FileSystem.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "rig/RigFrequency.h"
#include "rig/RigProfile.h"
#include "rig/Rigctld.h"
#include "rig/RigctldLink.h"
#include "serial/SerialPort.h"
#include "station/SettingsStore.h"

#include <QDir>

#include <chrono>
#include <utility>

namespace brindle {

namespace {

const QString InvalidCommTitle = QStringLiteral("Invalid Comm Settings.");
const QString InvalidCommText = QStringLiteral(
    "The comm port that you selected for rig interface is either in use, invalid or the settings that you have "
    "selected are invalid.  Please select another combination or choose None for your rig selection.");
// A file with a rate letter no button has polls as "500 ms" does.
constexpr std::chrono::milliseconds FallbackInterval { 250 };
constexpr qint64 ReopenEveryMs = 1000;
// Which of a change's commands rigctld refused.
constexpr int RigctldModeTag = 1;
constexpr int RigctldFrequencyTag = 2;

} // namespace

RigInterface::RigInterface(FileSystem& fs, std::string workingDir, OperatorDialogs& dialogs, SettingsStore& store,
    SerialPortMaker makePort, QObject* parent)
    : m_fs(fs)
    , m_workingDir(std::move(workingDir))
    , m_dialogs(dialogs)
    , m_store(store)
    , m_makePort(std::move(makePort))
{
    setParent(parent);
    m_rigPollTimer = new QTimer(this);
    m_rigPollTimer->setObjectName(QStringLiteral("rigPollTimer"));
    m_rigPollTimer->setTimerType(Qt::PreciseTimer);
    connect(m_rigPollTimer, &QTimer::timeout, this, &RigInterface::pollTick);
    m_sequence = new RigCommandSequence(*this, this);
    connect(m_sequence, &RigCommandSequence::writeFailed, this,
        [this](const QString& mode, const QString& reason, bool frequency) {
            reportChangeFailure(frequency, mode, reason);
        });
    connect(m_sequence, &RigCommandSequence::idle, this, &RigInterface::changesEnded);
}

RigInterface::~RigInterface()
{
    m_rigPollTimer->stop();
    if (m_port) {
        m_port->close();
    }
}

void RigInterface::loadSettings()
{
    // What mode a frequency is worked in, for the changes; read again with the window, as the plan may
    // have been edited meanwhile.
    m_bandPlanModes = loadBandPlanModes(m_fs, m_workingDir);
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    const Result<std::string> content = m_fs.readFile(joinPath(m_workingDir, RigSettingsFileName));
    if (content) {
        m_settings = parseRigSettings(content.value(), m_settings);
    }
}

void RigInterface::applySettings(const RigSettings& settings)
{
    m_loaded = true;
    m_settings = settings;
}

Status RigInterface::saveSettings()
{
    return m_fs.replaceFile(joinPath(m_workingDir, RigSettingsFileName), formatRigSettings(m_settings));
}

std::string RigInterface::pegasusFolder() const
{
    const std::string home = pathFromQString(QDir::homePath()) + "/Pegasus";
    return m_store.get(settingkeys::PegasusFolder, home);
}

void RigInterface::setPegasusFolder(const std::string& folder)
{
    m_store.save(settingkeys::PegasusFolder, folder);
}

bool RigInterface::isPolling() const
{
    return m_rigPollTimer->isActive() || m_pollHeld;
}

void RigInterface::startUp(std::string_view rigName)
{
    if (equalsIgnoreCase(trimBlanks(rigName), NoRig)) {
        return;
    }
    // The file's own rig name is the one polled: the default data only says that there is one.
    loadSettings();
    startPolling();
}

bool RigInterface::startPolling()
{
    stopPolling();
    m_polled = m_settings;
    m_family = rigFamily(m_polled.rigName);
    if (m_family == RigFamily::None) {
        return true;
    }
    m_receiveBuffer.clear();
    m_unusableFrequencyTold = false;
    if (m_family == RigFamily::Rigctld) {
        const std::optional<RigctldAddress> address = parseRigctldAddress(m_polled.rigctldAddress);
        if (!address) {
            m_dialogs.beep();
            m_dialogs.message(InvalidCommTitle,
                QStringLiteral("\"%1\" is no address of rigctld: give its host and port, such as %2.")
                    .arg(toQString(m_polled.rigctldAddress), toQString(DefaultRigctldAddress)),
                OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Information);
            emit rigPortRefused();
            return false;
        }
        if (!m_rigctld) {
            m_rigctld = new RigctldLink(this);
            connect(m_rigctld, &RigctldLink::frequencyRead, this, [this](double freqMHz) {
                m_rigctldFreqMHz = freqMHz;
                m_rigctldArrived = true;
            });
            connect(m_rigctld, &RigctldLink::modeRead, this, [this](const QString& mode) {
                m_rigctldMode = mode;
                m_rigctldArrived = true;
            });
            connect(m_rigctld, &RigctldLink::commandRefused, this, [this](int tag, const QString& reason) {
                reportChangeFailure(tag == RigctldFrequencyTag, toQString(m_changeMode), reason);
            });
            connect(m_rigctld, &RigctldLink::connectionChanged, this, [this](bool connected, const QString& reason) {
                const QString where = toQString(m_polled.rigctldAddress);
                setLinkStatus(connected ? QStringLiteral("Connected to rigctld at %1").arg(where)
                                        : QStringLiteral("rigctld at %1: %2; trying again").arg(where, reason));
                // The rig window may be closed: the message line is where the operator looks. Said once
                // when the daemon goes, not at every try, and once when it is back.
                if (!connected) {
                    if (!std::exchange(m_rigctldLost, true)) {
                        emit noticeForOperator(
                            QStringLiteral("rigctld at %1 does not answer: %2. Trying again every second.")
                                .arg(where, reason));
                    }
                    return;
                }
                if (std::exchange(m_rigctldLost, false)) {
                    emit noticeForOperator(m_rigctldWasConnected
                            ? QStringLiteral("rigctld at %1 is connected again.").arg(where)
                            : QStringLiteral("rigctld at %1 is connected.").arg(where));
                }
                m_rigctldWasConnected = true;
            });
        }
        m_rigctldReadNext = false;
        m_rigctldArrived = false;
        m_rigctldFreqMHz.reset();
        m_rigctldMode.clear();
        m_rigctldLost = false;
        m_rigctldWasConnected = false;
        setLinkStatus(QStringLiteral("Connecting to rigctld at %1").arg(toQString(m_polled.rigctldAddress)));
        m_rigctld->connectTo(*address);
    } else {
        m_port = m_makePort();
        // The Pegasus control program is read from its file: no port of ours is opened for it.
        if (m_family != RigFamily::Pegasus && !openPort()) {
            m_port.reset();
            return false;
        }
        m_cycle.emplace(*m_port, m_family, m_polled.frequencyPoll, m_polled.modePoll, m_polled.convertToHex);
    }
    m_rigPollTimer->setInterval(pollInterval(m_polled.pollRate).value_or(FallbackInterval));
    m_rigPollTimer->start();
    emit pollingChanged(true);
    pollTick();
    return true;
}

bool RigInterface::openPort()
{
    const Status opened = openRigPort(*m_port, m_polled);
    if (opened) {
        m_portLost = false;
        return true;
    }
    m_port->close();
    m_dialogs.beep();
    m_dialogs.message(InvalidCommTitle,
        InvalidCommText + QStringLiteral("\n\n") + toQString(opened.error().description), OperatorDialogs::Buttons::Ok,
        OperatorDialogs::Icon::Information);
    emit rigPortRefused();
    return false;
}

void RigInterface::stopPolling()
{
    const bool wasPolling = isPolling();
    m_sequence->cancel();
    m_pollHeld = false;
    m_rigPollTimer->stop();
    m_cycle.reset();
    if (m_port) {
        m_port->close();
        m_port.reset();
    }
    if (m_rigctld) {
        m_rigctld->disconnectFromDaemon();
    }
    setLinkStatus({});
    m_portLost = false;
    if (wasPolling) {
        emit pollingChanged(false);
    }
}

void RigInterface::closeRig()
{
    if (isPolling() && m_port && m_port->isOpen()) {
        const std::string closing = closingBytes(m_family);
        if (!closing.empty() && m_port->write(closing)) {
            m_port->flush();
        }
    }
    stopPolling();
}

RigCommandContext RigInterface::commandContext() const
{
    RigCommandContext context;
    // The radio's address is the one it is polled with; the prefixes are the fields' as they stand.
    context.frequencyPoll = isPolling() ? m_polled.frequencyPoll : m_settings.frequencyPoll;
    context.modePoll = m_settings.modePoll;
    context.vfoDigit = m_reading.vfoDigit;
    return context;
}

void RigInterface::changeFrequency(Hertz hertz)
{
    if (!isPolling()) {
        return;
    }
    RigCommandSequence::Change change;
    change.steps = changeFrequencySteps(m_polled.rigName, hertz, m_bandPlanModes, commandContext(), m_reading.mode);
    change.mode = m_bandPlanModes.bandPlanMode(hertz);
    m_changeMode = change.mode;
    holdPolling();
    m_sequence->run(std::move(change));
}

void RigInterface::changeMode(Hertz hertz, const std::string& mode)
{
    const std::string& name = isPolling() ? m_polled.rigName : m_settings.rigName;
    RigCommandSequence::Change change;
    change.mode = mode.empty() ? m_bandPlanModes.bandPlanMode(hertz) : mode;
    change.steps = changeModeSteps(name, change.mode, commandContext());
    if (change.steps.empty()) {
        return;
    }
    if (isPolling()) {
        holdPolling();
    }
    m_changeMode = change.mode;
    m_sequence->run(std::move(change));
}

Status RigInterface::sendRaw(std::string_view bytes)
{
    if (!m_port || !m_port->isOpen()) {
        return Error { "The rig's port is not open." };
    }
    return m_port->write(bytes);
}

void RigInterface::holdPolling()
{
    m_rigPollTimer->stop();
    m_pollHeld = true;
}

void RigInterface::changesEnded()
{
    if (!std::exchange(m_pollHeld, false)) {
        return;
    }
    // The cycle goes on where it was, its read-next flag and request turn as they were; also after a
    // change the port or rigctld did not take, which the operator has been shown: the poll is what opens
    // a lost port again and asks a daemon that is back, so stopping it would leave the band frozen.
    m_rigPollTimer->start();
}

void RigInterface::reportChangeFailure(bool frequency, const QString& mode, const QString& reason)
{
    if (frequency) {
        m_dialogs.message(QStringLiteral("Error Changing Frequency"), reason, OperatorDialogs::Buttons::Ok,
            OperatorDialogs::Icon::None);
    } else {
        m_dialogs.message(QStringLiteral("Error Changing Mode"), reason + QLatin1Char(' ') + mode,
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::None);
    }
}

void RigInterface::discardReceived()
{
    if (m_port && m_port->isOpen()) {
        (void)m_port->readAll();
    }
    m_receiveBuffer.clear();
}

std::size_t RigInterface::bytesToWrite() const
{
    if (m_family == RigFamily::Rigctld && m_rigctld) {
        return m_rigctld->bytesToWrite();
    }
    return m_port ? m_port->bytesToWrite() : 0;
}

Status RigInterface::write(const RigStep& step)
{
    if (step.kind == RigStep::Kind::WritePegasusFile) {
        // The control program may not be there; its file is no business of the operator's mid-contest.
        (void)m_fs.replaceFile(joinPath(pegasusFolder(), PegasusCommandFileName), step.bytes);
        return {};
    }
    if (m_family == RigFamily::Rigctld && isPolling()) {
        const int tag = step.kind == RigStep::Kind::WriteMode ? RigctldModeTag : RigctldFrequencyTag;
        if (!m_rigctld || !m_rigctld->sendCommand(step.bytes, tag)) {
            return Error { "rigctld is not connected: " + toBytes(m_linkStatus) };
        }
        return {};
    }
    return sendRaw(step.bytes);
}

void RigInterface::clearRigMode()
{
    m_reading.mode.clear();
}

void RigInterface::pollTick()
{
    if (m_family == RigFamily::Rigctld && m_rigctld) {
        if (!std::exchange(m_rigctldReadNext, !m_rigctldReadNext)) {
            m_rigctld->poll();
        } else {
            readRigctld();
        }
        return;
    }
    if (!m_cycle) {
        return;
    }
    if (!m_cycle->readNext() && m_family != RigFamily::Pegasus) {
        reopenLostPort();
    }
    if (const std::optional<PollRead> read = m_cycle->tick()) {
        readSerial(*read);
    }
}

void RigInterface::reopenLostPort()
{
    if (m_port->isOpen()) {
        if (std::exchange(m_portLost, false)) {
            emit noticeForOperator(QStringLiteral("The rig's port is open again."));
        }
        return;
    }
    if (m_portLost && m_sinceReopen.isValid() && m_sinceReopen.elapsed() < ReopenEveryMs) {
        return;
    }
    m_sinceReopen.start();
    const Status opened = openRigPort(*m_port, m_polled);
    if (opened) {
        if (std::exchange(m_portLost, false)) {
            emit noticeForOperator(QStringLiteral("The rig's port is open again."));
        }
        return;
    }
    m_port->close();
    // Said once when the port goes, not at every try.
    if (!std::exchange(m_portLost, true)) {
        emit noticeForOperator(QStringLiteral("The rig does not answer: %1. Trying again every second.")
                                   .arg(toQString(opened.error().description)));
    }
}

void RigInterface::readSerial(const PollRead& read)
{
    if (!read.decode) {
        return;
    }
    std::string buffer = read.receiveBuffer;
    if (m_family == RigFamily::Pegasus) {
        // A file that is not there yet (the control program not started) tells nothing.
        Result<std::string> text = m_fs.readFile(joinPath(pegasusFolder(), PegasusReplyFileName));
        buffer = text ? std::move(text).value() : std::string();
    }
    m_receiveBuffer = std::move(buffer);
    const DecodedReply told = decodeRigReply(
        m_polled.rigName, RigReply { m_receiveBuffer, m_polled.frequencyPoll, m_polled.modePoll, read.frequencyAsked });
    if (told.mode) {
        m_reading.mode = *told.mode;
    }
    if (told.vfoDigit) {
        m_reading.vfoDigit = told.vfoDigit;
    }
    finishRead(told.freqMHz);
}

void RigInterface::readRigctld()
{
    if (!std::exchange(m_rigctldArrived, false)) {
        return;
    }
    // Only a frequency that came since the last read is news; the mode is kept as the link last told it.
    const std::optional<double> toldFreqMHz = std::exchange(m_rigctldFreqMHz, std::nullopt);
    std::string shown;
    if (toldFreqMHz) {
        shown = std::to_string(hertzFromMHz(*toldFreqMHz)) + " Hz";
    }
    if (!m_rigctldMode.isEmpty()) {
        m_reading.mode = toBytes(m_rigctldMode);
        shown += (shown.empty() ? "" : " ") + m_reading.mode;
    }
    m_receiveBuffer = shown;
    finishRead(toldFreqMHz ? std::optional<float>(static_cast<float>(*toldFreqMHz)) : std::nullopt);
}

void RigInterface::takeFrequency(float freqMHz)
{
    // Line noise, or a reply cut short and misread, decodes as 0 Hz or 100 GHz as readily as a good reply
    // decodes as 14.025 MHz: such a value neither moves the band nor goes into the log. It is said once,
    // not at every poll, until a good frequency has come in between.
    if (amateurBandOf(freqMHz)) {
        m_reading.freqMHz = freqMHz;
        m_unusableFrequencyTold = false;
        return;
    }
    if (!std::exchange(m_unusableFrequencyTold, true)) {
        emit noticeForOperator(QStringLiteral("The rig reported %1 MHz, which is on no amateur band: the band and "
                                              "the logged frequency stay as they were.")
                                   .arg(QString::number(static_cast<double>(freqMHz), 'f', 3)));
    }
}

void RigInterface::finishRead(std::optional<float> toldFreqMHz)
{
    if (toldFreqMHz) {
        takeFrequency(*toldFreqMHz);
    }
    // The operator's choices that do not end a poll hold from the next read.
    if (m_settings.modeBy == ModeBy::Frequency && m_reading.freqMHz) {
        if (const std::optional<std::string_view> mode = modeFromFrequency(*m_reading.freqMHz)) {
            m_reading.mode = *mode;
        }
    }
    emit polled();
    // A rig that has not told its frequency yet leaves the band and the logged frequency alone.
    if (m_settings.useFrequency && m_reading.freqMHz) {
        emit frequencyReported(*m_reading.freqMHz);
    }
    if (m_settings.modeBy != ModeBy::Ignore) {
        emit modeReported(toQString(m_reading.mode));
    }
}

void RigInterface::setLinkStatus(const QString& status)
{
    if (status != m_linkStatus) {
        m_linkStatus = status;
        emit linkStatusChanged(status);
    }
}

} // namespace brindle
