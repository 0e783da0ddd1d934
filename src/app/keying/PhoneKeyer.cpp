#include "PhoneKeyer.h"

#include "common/FileSystem.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "keying/CwMessages.h"
#include "keying/KeyingState.h"
#include "log/ContestSession.h"
#include "serial/PortArbiter.h"
#include "serial/PortMap.h"

namespace brindle {

namespace {

constexpr int F1 = 112;
constexpr int WatchIntervalMs = 40;

const QString InvalidPortTitle = QStringLiteral("Invalid port.");
const QString InvalidPortText = QStringLiteral(
    "The port you have selected for Phone keying is invalid.  Please select another or enter 0 for none.");

} // namespace

PhoneKeyer::PhoneKeyer(FileSystem& fs, std::string workingDir, OperatorDialogs& dialogs,
    std::unique_ptr<WavePlayer> player, KeyingLineMaker makePttLine, QObject* parent)
    : m_fs(fs)
    , m_workingDir(std::move(workingDir))
    , m_dialogs(dialogs)
    , m_player(std::move(player))
{
    setParent(parent);
    m_parallelChoice.keying = CwKeying::ParallelPort;
    m_serialPtt = makePttLine(m_serialChoice);
    m_parallelPtt = makePttLine(m_parallelChoice);

    m_playbackWatchTimer = new QTimer(this);
    m_playbackWatchTimer->setObjectName(QStringLiteral("playbackWatchTimer"));
    m_playbackWatchTimer->setInterval(WatchIntervalMs);
    connect(m_playbackWatchTimer, &QTimer::timeout, this, &PhoneKeyer::watchPlayback);
    m_phoneRepeatTimer = new QTimer(this);
    m_phoneRepeatTimer->setObjectName(QStringLiteral("phoneRepeatTimer"));
    m_phoneRepeatTimer->setSingleShot(true);
    connect(m_phoneRepeatTimer, &QTimer::timeout, this, &PhoneKeyer::repeatFirstMessage);
    // The end of a message drops PTT at once, not at the watch timer's next tick.
    m_player->setEndedHandler([this] { watchPlayback(); });
    applySettings(m_settings);
}

PhoneKeyer::~PhoneKeyer()
{
    if (m_ports) {
        m_ports->setRelease(PortArbiter::Holder::PhonePtt, {});
    }
    m_player->setEndedHandler({});
    m_player->close();
    releasePorts();
}

void PhoneKeyer::attach(ContestSession& session)
{
    m_keying = &session.keying;
}

void PhoneKeyer::usePortArbiter(PortArbiter& ports)
{
    m_ports = &ports;
    m_ports->setRelease(PortArbiter::Holder::PhonePtt, [this] { releasePorts(); });
}

void PhoneKeyer::loadSettings()
{
    PhoneSettings loaded;
    if (Result<std::string> content = m_fs.readFile(joinPath(m_workingDir, std::string(PhoneSettingsFileName)))) {
        loaded = parsePhoneSettings(content.value());
    }
    applySettings(loaded);
}

Status PhoneKeyer::saveSettings()
{
    return m_fs.replaceFile(
        joinPath(m_workingDir, std::string(PhoneSettingsFileName)), formatPhoneSettings(m_settings));
}

void PhoneKeyer::applySettings(const PhoneSettings& settings)
{
    m_settings = settings;
    // The port number holds once the port is opened (leaving its field, or the next message): a
    // number half typed must not take the port from under a message.
    m_serialChoice.keying = settings.pttLine == PttLine::Dtr ? CwKeying::Dtr : CwKeying::Rts;
    m_parallelChoice.parallelAddress = parseParallelAddress(settings.parallelAddress).value_or(0);
}

int PhoneKeyer::repeatIntervalMs() const
{
    return brindle::repeatIntervalMs(m_settings.loopSeconds).value_or(0);
}

bool PhoneKeyer::isRepeatArmed() const
{
    return m_keying && m_keying->phoneRepeatArmed;
}

void PhoneKeyer::playMessage(int keyCode)
{
    const int index = keyCode - F1;
    if (index < 0 || index >= PhoneMessageCount) {
        return;
    }
    const std::string path(trimBlanks(m_settings.waveFiles[static_cast<std::size_t>(index)]));
    if (path.empty()) {
        // Whatever still plays ends; its end drops PTT. An F1 without a message has nothing to repeat.
        m_player->close();
        return;
    }
    if (index == 0 && repeatIntervalMs() > 0) {
        setRepeatArmed(true);
    }
    if (pttPortNumber(m_settings.pttPort) > 0 && !m_serialOpen) {
        // A port that cannot be opened is reported; the message still goes out, without PTT.
        openPttPort();
    }
    // Keyed as soon as the sound card has the samples: they take tens of milliseconds to reach the
    // output, PTT a fraction of one, so the transmitter is on before the first sound.
    if (Status played = m_player->play(path); !played) {
        // A message that cannot play keys nothing, and there is nothing for F1 to repeat.
        watchPlayback();
        stopRepeat();
        emit noticeForOperator(
            QStringLiteral("F%1 not played: %2").arg(index + 1).arg(pathToQString(played.error().description)));
        return;
    }
    m_phoneRepeatTimer->stop();
    keyPtt(true);
    m_playbackWatchTimer->start();
}

bool PhoneKeyer::isPlaying() const
{
    return m_player->isPlaying();
}

void PhoneKeyer::stopPlaying()
{
    m_player->stop();
}

void PhoneKeyer::stopRepeat()
{
    m_phoneRepeatTimer->stop();
    setRepeatArmed(false);
}

void PhoneKeyer::setRepeatArmed(bool armed)
{
    if (!m_keying || m_keying->phoneRepeatArmed == armed) {
        return;
    }
    m_keying->phoneRepeatArmed = armed;
    emit repeatArmedChanged(armed);
}

void PhoneKeyer::watchPlayback()
{
    if (m_player->isPlaying()) {
        return;
    }
    m_playbackWatchTimer->stop();
    keyPtt(false);
    // A pause of 0 never ends: the operator may have emptied or mistyped it since F1 armed the repeat,
    // and a timer of 0 ms would key the transmitter again at once, over and over.
    if (const int interval = repeatIntervalMs(); isRepeatArmed() && interval > 0) {
        m_phoneRepeatTimer->start(interval);
    }
}

void PhoneKeyer::repeatFirstMessage()
{
    m_phoneRepeatTimer->stop();
    playMessage(F1);
}

void PhoneKeyer::keyPtt(bool on)
{
    if (!on) {
        if (!m_pttKeyed) {
            return;
        }
        // Off goes to every line that is open, whatever is chosen now: PTT must not stay on a line the
        // operator chose away from while a message played.
        m_pttKeyed = false;
        if (m_serialOpen) {
            switchPtt(*m_serialPtt, m_serialOpen, false);
        }
        if (m_parallelOpen) {
            switchPtt(*m_parallelPtt, m_parallelOpen, false);
        }
        return;
    }
    if (m_serialOpen && pttPortNumber(m_settings.pttPort) > 0) {
        switchPtt(*m_serialPtt, m_serialOpen, true);
        m_pttKeyed = m_pttKeyed || m_serialOpen;
    }
    if (m_settings.pttLine == PttLine::Parallel) {
        if (!m_parallelOpen && m_ports) {
            m_ports->claim(PortArbiter::Holder::PhonePtt, PortArbiter::Port::Parallel);
        }
        switchPtt(*m_parallelPtt, m_parallelOpen, true);
        m_pttKeyed = m_pttKeyed || m_parallelOpen;
    }
}

void PhoneKeyer::switchPtt(KeyingLineSource& source, bool& open, bool on)
{
    Result<KeyingLine*> line = source.openLine();
    const Status keyed = line ? line.value()->setKeyDown(on) : Status(line.error());
    open = keyed.ok();
    if (!keyed) {
        // A port that went away (an unplugged adapter) is opened again by the next message.
        source.closeLine();
        reportPttFailure(keyed.error());
    }
}

void PhoneKeyer::reportPttFailure(const Error& error)
{
    emit noticeForOperator(QStringLiteral("PTT failed: %1").arg(toQString(error.description)));
}

bool PhoneKeyer::openPttPort()
{
    const int port = pttPortNumber(m_settings.pttPort);
    if (port <= 0) {
        return true;
    }
    if (m_ports) {
        m_ports->claim(PortArbiter::Holder::PhonePtt);
    }
    m_serialPtt->closeLine();
    m_serialOpen = false;
    m_serialChoice.portNumber = port;
    // The line source sets DTR and RTS off before the port opens: no PTT from the first moment.
    Result<KeyingLine*> line = m_serialPtt->openLine();
    if (!line) {
        m_dialogs.beep();
        m_dialogs.message(InvalidPortTitle,
            InvalidPortText + QStringLiteral("\n\n") + toQString(line.error().description),
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Information);
        emit pttPortRefused();
        return false;
    }
    m_serialOpen = true;
    return true;
}

void PhoneKeyer::releasePorts()
{
    m_serialPtt->closeLine();
    m_parallelPtt->closeLine();
    m_serialOpen = false;
    m_parallelOpen = false;
    m_pttKeyed = false;
}

} // namespace brindle
