#include "CwKeyer.h"

#include "common/FileSystem.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "keying/CwMessages.h"
#include "keying/MorseTable.h"
#include "log/ContestSession.h"
#include "serial/PortMap.h"
#include "station/SettingsStore.h"

#include <QDir>

#include <cmath>
#include <utility>

namespace brindle {

namespace {

// The loop count as the settings store keeps it: a whole number.
std::string formatLoopCount(double loops)
{
    return std::to_string(static_cast<long long>(std::llround(loops)));
}

// Between two characters handed to the WinKey keyer: about the time its 1200-baud line takes for one, so
// the keyer's status report of a full buffer comes back before many more follow.
constexpr int WinKeyStepMs = 10;
// How long the keyer may refuse more characters (its buffer full) before the hand-over gives up. A full
// buffer empties by a third within a character or two, a few seconds at the slowest speeds; a keyer
// that stays full longer is stuck, and the operator must not wait on it.
constexpr qint64 WinKeyPatienceMs = 15'000;

const QString InvalidPortTitle = QStringLiteral("Invalid port.");
// The remedy the README gives for an ordinary user.
constexpr std::string_view RealTimeRefusedNotice
    = "No real-time priority for CW: its timing may waver while the computer is busy.  To allow it: the line "
      "\"@audio - rtprio 20\" in /etc/security/limits.d/audio.conf, sudo adduser $USER audio, log in again.";
const QString InvalidPortText = QStringLiteral(
    "The port you have selected for CW keying is invalid.  Please select another or enter 0 for none.");

} // namespace

CwKeyer::CwKeyer(FileSystem& fs, std::string workingDir, SettingsStore& settings, OperatorDialogs& dialogs,
    KeyingLineMaker makeLineSource, PortDeviceLookup winKeyDevices, QObject* parent)
    : m_fs(fs)
    , m_workingDir(std::move(workingDir))
    , m_store(settings)
    , m_dialogs(dialogs)
    , m_winKeyFolder(m_workingDir)
    , m_winKeyPatienceMs(WinKeyPatienceMs)
{
    setParent(parent);
    m_thread.setObjectName(QStringLiteral("CW keying"));
    m_repeatTimer = new QTimer(this);
    m_repeatTimer->setObjectName(QStringLiteral("cwRepeatTimer"));
    m_repeatTimer->setSingleShot(true);
    connect(m_repeatTimer, &QTimer::timeout, this, [this] { sendMessage(cwkeys::F1); });
    m_engine = new MorseEngine(m_buffer, m_engineSettings, std::move(makeLineSource));
    m_engine->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_engine, &QObject::deleteLater);
    connect(m_engine, &MorseEngine::logCharacterReached, this, &CwKeyer::logCharacterReached);
    connect(m_engine, &MorseEngine::unsentTextChanged, this, &CwKeyer::unsentTextChanged);
    connect(m_engine, &MorseEngine::sendingFinished, this, &CwKeyer::finishSending);
    connect(m_engine, &MorseEngine::lineUnavailable, this, &CwKeyer::reportUnavailableLine);
    connect(m_engine, &MorseEngine::keyingFailed, this, &CwKeyer::reportKeyingFailure);
    connect(m_engine, &MorseEngine::realTimeRefused, this,
        [this] { emit noticeForOperator(toQString(RealTimeRefusedNotice)); });
    connect(m_engine, &MorseEngine::speedRefused, this,
        [this] { emit noticeForOperator(QStringLiteral("No CW sent: the speed must be at least 1 WPM.")); });
    m_thread.start();
    QMetaObject::invokeMethod(m_engine, &MorseEngine::prepareThread, Qt::QueuedConnection);

    m_winKeyer = new WinKeyer(std::move(winKeyDevices), this);
    m_winKeyStepTimer = new QTimer(this);
    m_winKeyStepTimer->setObjectName(QStringLiteral("winKeyStepTimer"));
    m_winKeyStepTimer->setSingleShot(true);
    m_winKeyStepTimer->setInterval(WinKeyStepMs);
    connect(m_winKeyStepTimer, &QTimer::timeout, this, &CwKeyer::handOverNextToWinKey);
    connect(m_winKeyer, &WinKeyer::openFinished, this, &CwKeyer::finishWinKeyOpening);
    connect(m_winKeyer, &WinKeyer::lost, this, &CwKeyer::reportWinKeyLost);
    connect(m_winKeyer, &WinKeyer::statusChanged, this, [this](int status) {
        if (m_keying) {
            m_keying->winKeyStatus = status;
        }
    });
    connect(m_winKeyer, &WinKeyer::closed, this, [this] {
        if (m_keying) {
            m_keying->winKeyOpen = false;
        }
    });
    registerWithPorts();
    applySettings(m_settings);
}

CwKeyer::~CwKeyer()
{
    m_ports->setRelease(PortArbiter::Holder::CwKey, {});
    m_ports->setRelease(PortArbiter::Holder::WinKey, {});
    // The WinKey keyer drops what it still holds and leaves host mode before its port closes: left in
    // host mode with text, it would go on keying after the program is gone.
    if (m_winKeyer->isOpen()) {
        m_winKeyer->clearBuffer();
    }
    delete m_winKeyer;
    m_winKeyer = nullptr;
    // The character on the air ends at its next unit with the key up; the engine then closes the line
    // on its own thread.
    m_engineSettings.timing.abandon = true;
    m_buffer.clear();
    m_thread.quit();
    m_thread.wait();
}

void CwKeyer::attach(ContestSession& session)
{
    m_keying = &session.keying;
    m_state = &session.state;
    m_defaults = &session.defaults;
    m_keying->cwKeying = m_settings.keying;
    m_keying->winKeyOpen = m_winKeyer->isOpen();
    m_keying->winKeyStatus = m_winKeyer->status();
}

std::string CwKeyer::settingsFilePath() const
{
    // The file is read as "cw.txt" and written as "CW.txt": one file whatever the case of its name, on a
    // file system that tells the two apart.
    QDir folder(pathToQString(m_workingDir));
    folder.setFilter(QDir::Files | QDir::Hidden);
    for (const QString& name : folder.entryList()) {
        if (name.compare(toQString(CwSettingsReadName), Qt::CaseInsensitive) == 0) {
            return joinPath(m_workingDir, pathFromQString(name));
        }
    }
    return joinPath(m_workingDir, CwSettingsWriteName);
}

void CwKeyer::loadSettings()
{
    CwSettings loaded;
    if (Result<std::string> content = m_fs.readFile(settingsFilePath())) {
        loaded = parseCwSettings(content.value());
    }
    applySettings(loaded);
    m_engineSettings.timing.timing = cwTimingFromText(m_store.get(settingkeys::UserCWSelection, "Timer"));
    const auto loops = parseDecimal(trimBlanks(m_store.get(settingkeys::UserCWLoopOffset, "0")));
    m_engineSettings.timing.loopsPer60Ms = loops && *loops > 0 ? *loops : 0.0;
}

void CwKeyer::applySettings(const CwSettings& settings)
{
    const bool speedChanged = settings.speed != m_settings.speed;
    const bool winKeyChosen = settings.keying == CwKeying::WinKey && m_settings.keying != CwKeying::WinKey;
    m_settings = settings;
    m_engineSettings.timing.wordsPerMinute = leadingWholeNumber(settings.speed);
    m_engineSettings.timing.wordSpace = std::max(-8, leadingWholeNumber(settings.wordSpace));
    m_engineSettings.line.keying = settings.keying;
    m_engineSettings.line.portNumber = leadingWholeNumber(settings.port);
    m_engineSettings.line.parallelAddress = parseParallelAddress(settings.parallelAddress).value_or(0);
    m_engineSettings.showTextOnMain = settings.showTextOnMain;
    if (m_keying) {
        m_keying->cwKeying = settings.keying;
    }
    if (winKeyChosen) {
        loadWinKeySettings();
    }
    if (speedChanged) {
        sendSpeedToWinKey(settings.speed);
    }
}

bool CwKeyer::hasRealTimePriority() const
{
    return m_engine->hasRealTimePriority();
}

CwTiming CwKeyer::timing() const
{
    return m_engineSettings.timing.timing.load();
}

void CwKeyer::setTiming(CwTiming timing)
{
    m_engineSettings.timing.timing = timing;
}

void CwKeyer::setLoopsPer60Ms(double loops)
{
    m_engineSettings.timing.loopsPer60Ms = loops;
}

Status CwKeyer::saveCwSettings()
{
    m_store.save(settingkeys::UserCWSelection, cwTimingText(timing()));
    m_store.save(settingkeys::UserCWLoopOffset, formatLoopCount(loopsPer60Ms()));
    return m_fs.replaceFile(settingsFilePath(), formatCwSettings(m_settings));
}

double CwKeyer::loopsPer60Ms() const
{
    return m_engineSettings.timing.loopsPer60Ms.load();
}

bool CwKeyer::isSending() const
{
    if (m_settings.keying == CwKeying::WinKey && m_winKeyer->isOpen() && m_winKeyer->status() > 0) {
        return true;
    }
    return m_buffer.isSending();
}

void CwKeyer::clearBuffer()
{
    m_buffer.clear();
    if (m_winKeyer->isOpen()) {
        m_winKeyer->clearBuffer();
    }
    // A hand-over between two characters ends now, not at its next step: the keys that follow find
    // nothing being sent.
    if (m_winKeyStepTimer->isActive()) {
        endWinKeyHandOver();
    }
}

void CwKeyer::appendText(std::string_view text)
{
    if (m_settings.keying == CwKeying::None) {
        return;
    }
    if (m_settings.keying == CwKeying::WinKey && text.find(LogContactCharacter) != std::string_view::npos) {
        // The keyer times the text itself and says nothing of where it is: the contact is logged as
        // the text is handed over.
        emit logCharacterReached();
    }
    if (m_buffer.append(text)) {
        startEngine();
    }
}

bool CwKeyer::hasWaitingText() const
{
    return !m_buffer.text().empty();
}

void CwKeyer::startEngine()
{
    if (m_settings.keying == CwKeying::WinKey) {
        sendBufferToWinKey();
        return;
    }
    // The engine opens the line at the first character; the port must be free by then.
    m_ports->claim(PortArbiter::Holder::CwKey);
    QMetaObject::invokeMethod(m_engine, &MorseEngine::sendBuffer, Qt::QueuedConnection);
}

void CwKeyer::typeCharacter(char character)
{
    appendText(std::string_view(&character, 1));
}

bool CwKeyer::takeBackCharacter()
{
    if (m_buffer.takeBackLast()) {
        return true;
    }
    // The character is already in the keyer's buffer: it takes back its last one not yet sent.
    if (m_settings.keying == CwKeying::WinKey && m_winKeyer->isOpen() && m_winKeyer->status() > 0) {
        m_winKeyer->backspace();
        return true;
    }
    return false;
}

void CwKeyer::sendMessage(int keyCode)
{
    m_buffer.clear();
    if (m_settings.keying == CwKeying::None) {
        return;
    }
    const std::optional<std::size_t> index = messageIndexForKey(keyCode);
    if (!index) {
        return;
    }
    if (keyCode == cwkeys::F1 && repeatIntervalMs(m_settings.repeatSeconds).value_or(0) > 0 && m_keying) {
        m_keying->cwRepeatArmed = true;
    }
    const std::string& message = m_settings.messages[*index];
    if (message.empty()) {
        return;
    }
    std::string rstSent = m_state ? m_state->currentRstSent : std::string();
    const std::string text = fillWildcards(message, m_state ? m_state->currentCall : std::string(), rstSent);
    if (m_state) {
        m_state->currentRstSent = rstSent;
    }
    if (m_settings.keying == CwKeying::WinKey && text.find(LogContactCharacter) != std::string::npos) {
        emit logCharacterReached();
    }
    // Whatever of an earlier message was still waiting went above: this one takes its place.
    if (m_buffer.replace(text)) {
        startEngine();
    }
}

void CwKeyer::stopRepeat()
{
    clearBuffer();
    m_repeatTimer->stop();
    if (m_keying) {
        m_keying->cwRepeatArmed = false;
    }
}

void CwKeyer::setSpeed(int wordsPerMinute)
{
    m_settings.speed = std::to_string(wordsPerMinute);
    m_engineSettings.timing.wordsPerMinute = wordsPerMinute;
    sendSpeedToWinKey(m_settings.speed);
}

void CwKeyer::speedUp()
{
    setSpeed(leadingWholeNumber(m_settings.speed) + 1);
}

void CwKeyer::slowDown()
{
    setSpeed(leadingWholeNumber(m_settings.speed) - 1);
}

std::string CwKeyer::speedText() const
{
    return m_settings.speed;
}

void CwKeyer::usePortArbiter(PortArbiter& ports)
{
    m_ports = &ports;
    registerWithPorts();
}

void CwKeyer::registerWithPorts()
{
    m_ports->setRelease(PortArbiter::Holder::CwKey, [this] { releaseCwPort(); });
    m_ports->setRelease(PortArbiter::Holder::WinKey, [this] { m_winKeyer->close(); });
}

void CwKeyer::releaseCwPort()
{
    // An engine between messages lets the port go at once; one still keying is left to finish, and the
    // port's next owner then finds it in use.
    if (!m_buffer.isSending()) {
        QMetaObject::invokeMethod(m_engine, &MorseEngine::closeLine, Qt::BlockingQueuedConnection);
    } else {
        QMetaObject::invokeMethod(m_engine, &MorseEngine::closeLine, Qt::QueuedConnection);
    }
}

void CwKeyer::openCwPort()
{
    m_ports->claim(PortArbiter::Holder::CwKey);
    QMetaObject::invokeMethod(m_engine, &MorseEngine::reopenLine, Qt::QueuedConnection);
}

void CwKeyer::reportUnavailableLine(const QString& reason)
{
    m_dialogs.beep();
    m_dialogs.message(InvalidPortTitle, InvalidPortText + QStringLiteral("\n\n") + reason);
    emit cwPortRefused();
}

void CwKeyer::reportKeyingFailure(const QString& reason)
{
    m_dialogs.beep();
    m_dialogs.message(QStringLiteral("CW keying stopped"),
        QStringLiteral("CW keying stopped: %1\n\nThe rest of the message was not sent. The port is opened again "
                       "with the next CW sent.")
            .arg(reason),
        OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Warning);
}

void CwKeyer::finishSending()
{
    // The engine may already be on a new run started after it reported this one finished.
    if (m_buffer.isSending()) {
        return;
    }
    if (m_keying && m_keying->cwRepeatArmed) {
        const int interval = repeatIntervalMs(m_settings.repeatSeconds).value_or(0);
        if (interval > 0) {
            m_repeatTimer->start(interval);
        }
    }
    if (!m_settings.showTextOnMain) {
        return;
    }
    const bool keyboardCw = m_keying && m_keying->keyboardCwMode;
    emit unsentTextChanged(keyboardCw ? QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.") : QString());
}

void CwKeyer::setWinKeySettingsFolder(std::string folder)
{
    m_winKeyFolder = std::move(folder);
}

std::string CwKeyer::winKeySettingsPath() const
{
    return joinPath(m_winKeyFolder, WinKeySettingsFileName);
}

void CwKeyer::setWinKeySettings(const WinKeySettings& settings)
{
    m_winKeySettings = settings;
}

void CwKeyer::loadWinKeySettings()
{
    WinKeySettings loaded;
    if (Result<std::string> content = m_fs.readFile(winKeySettingsPath())) {
        loaded = parseWinKeySettings(content.value());
    }
    loaded.speed = m_settings.speed;
    m_winKeySettings = loaded;
}

Status CwKeyer::saveWinKeySettings()
{
    return m_fs.replaceFile(winKeySettingsPath(), formatWinKeySettings(m_winKeySettings));
}

void CwKeyer::openWinKey()
{
    // The keyer may sit on the CW port itself, or on the phone keyer's.
    m_ports->claim(PortArbiter::Holder::WinKey);
    m_winKeyer->open(m_winKeySettings.port);
}

void CwKeyer::finishWinKeyOpening(WinKeyOpenOutcome outcome)
{
    const bool opened = m_winKeyer->isOpen();
    if (outcome != WinKeyOpenOutcome::AlreadyOpen) {
        // NotOpen: the operator closed the keyer while it was being opened; there is nothing to tell.
        if (!opened && outcome != WinKeyOpenOutcome::NotOpen) {
            QString text = QStringLiteral("Unable to establish connection with WinKey on com port %1.  Please check to "
                                          "make sure that you have specified the correct port and that the Winkey "
                                          "device is properly connected.")
                               .arg(m_winKeySettings.port);
            if (!m_winKeyer->failure().empty()) {
                text += QStringLiteral("\n\n") + toQString(m_winKeyer->failure());
            }
            m_dialogs.message(QStringLiteral("Unable to establish connection with Winkey."), text);
        }
        sendWinKeySettings();
        if (m_keying) {
            m_keying->winKeyOpen = opened;
        }
    }
    emit winKeyOpenFinished(outcome);
    if (std::exchange(m_handOverAfterOpening, false)) {
        if (opened) {
            handOverNextToWinKey();
        } else {
            endWinKeyHandOver();
        }
    }
}

void CwKeyer::sendWinKeySettings()
{
    if (!m_winKeyer->isOpen()) {
        return;
    }
    const WinKeySettings& s = m_winKeySettings;
    if (const auto speed = checkWinKeySpeed(s.speed).send) {
        m_winKeyer->setSpeed(*speed);
    }
    if (const auto weight = checkWinKeyWeight(s.weight).send) {
        m_winKeyer->setWeight(*weight);
    }
    if (const auto leadTail = checkWinKeyLeadInAndTail(s.leadIn, s.tail).send) {
        m_winKeyer->setPttLeadTail(leadTail->first, leadTail->second);
    }
    if (const auto ratio = checkWinKeyRatio(s.ratio).send) {
        m_winKeyer->setDitDahRatio(*ratio);
    }
    m_winKeyer->setPinConfig(static_cast<std::uint8_t>(s.pinConfiguration));
    m_winKeyer->setKeyerMode(static_cast<std::uint8_t>(s.keyerMode));
}

void CwKeyer::sendSpeedToWinKey(std::string_view speed)
{
    if (m_settings.keying != CwKeying::WinKey || !m_winKeyer->isOpen()) {
        return;
    }
    const std::optional<double> value = parseDecimal(trimBlanks(speed));
    if (value && *value > 4 && *value < 100) {
        m_winKeyer->setSpeed(static_cast<std::uint8_t>(std::lrint(*value)));
    }
}

std::string CwKeyer::ownCall() const
{
    return m_defaults ? m_defaults->ownCall : std::string();
}

void CwKeyer::appendForWinKey(std::string_view text)
{
    if (m_buffer.append(text)) {
        sendBufferToWinKey();
    }
}

// Runs with the buffer claimed for the hand-over: it ends only through endWinKeyHandOver().
void CwKeyer::sendBufferToWinKey()
{
    m_winKeyFullFor.invalidate();
    if (m_winKeyer->isOpen()) {
        handOverNextToWinKey();
        return;
    }
    m_handOverAfterOpening = true;
    if (!m_winKeyer->isOpening()) {
        openWinKey();
    }
}

void CwKeyer::handOverNextToWinKey()
{
    if (!m_winKeyer->isOpen()) {
        // Lost on the way: the rest goes with it, and the next text opens the keyer again.
        endWinKeyHandOver();
        return;
    }
    if (winKeyRefusesCharacters(m_winKeyer->status()) && !m_buffer.text().empty()) {
        if (!m_winKeyFullFor.isValid()) {
            m_winKeyFullFor.start();
        } else if (m_winKeyFullFor.elapsed() > m_winKeyPatienceMs) {
            emit noticeForOperator(QStringLiteral("The WinKey keyer has taken no text for %1 seconds: the rest was "
                                                  "not sent.  Esc clears the keyer.")
                                       .arg(static_cast<double>(m_winKeyPatienceMs) / 1000));
            endWinKeyHandOver();
            return;
        }
        m_winKeyStepTimer->start();
        return;
    }
    m_winKeyFullFor.invalidate();
    const std::optional<char> next = m_buffer.takeNext();
    if (!next) {
        endWinKeyHandOver();
        return;
    }
    if (*next != '\0') {
        m_winKeyer->queueCharacter(*next);
    }
    m_winKeyStepTimer->start();
}

void CwKeyer::endWinKeyHandOver()
{
    m_winKeyStepTimer->stop();
    m_winKeyFullFor.invalidate();
    // Whatever was not handed over is dropped, and the buffer no longer counts as being sent.
    m_buffer.clear();
    (void)m_buffer.takeNext();
    // The keyer still sends what it holds: the pause before the next call runs from the hand-over.
    if (m_keying && m_keying->cwRepeatArmed) {
        const int interval = repeatIntervalMs(m_settings.repeatSeconds).value_or(0);
        if (interval > 0) {
            m_repeatTimer->start(interval);
        }
    }
}

void CwKeyer::reportWinKeyLost(const QString& reason)
{
    if (m_keying) {
        m_keying->winKeyOpen = false;
        m_keying->winKeyStatus = 0;
    }
    m_dialogs.beep();
    m_dialogs.message(QStringLiteral("WinKey keyer lost"),
        QStringLiteral("The WinKey keyer stopped answering: %1\n\nThe rest of the text was not sent. The keyer is "
                       "opened again with the next CW sent.")
            .arg(reason),
        OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Warning);
}

} // namespace brindle
