#include "CwKeyer.h"

#include "common/FileSystem.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "keying/CwMessages.h"
#include "log/ContestSession.h"
#include "serial/PortMap.h"
#include "station/SettingsStore.h"

#include <QDir>

#include <cmath>

namespace brindle {

namespace {

// The loop count as the settings store keeps it: a whole number.
std::string formatLoopCount(double loops)
{
    return std::to_string(static_cast<long long>(std::llround(loops)));
}

const QString InvalidPortTitle = QStringLiteral("Invalid port.");
const QString InvalidPortText
    = QStringLiteral("The port you have selected for CW keying is invalid.  Please select another or enter 0 for none.");

} // namespace

CwKeyer::CwKeyer(FileSystem& fs, std::string workingDir, SettingsStore& settings, OperatorDialogs& dialogs,
    MorseEngine::LineSourceMaker makeLineSource, QObject* parent)
    : m_fs(fs)
    , m_workingDir(std::move(workingDir))
    , m_store(settings)
    , m_dialogs(dialogs)
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
    connect(m_engine, &MorseEngine::speedRefused, this, [this] {
        emit noticeForOperator(QStringLiteral("No CW sent: the speed must be at least 1 WPM."));
    });
    m_thread.start();
    QMetaObject::invokeMethod(m_engine, &MorseEngine::prepareThread, Qt::QueuedConnection);
    applySettings(m_settings);
}

CwKeyer::~CwKeyer()
{
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
    m_keying->cwKeying = m_settings.keying;
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
    return m_buffer.isSending();
}

void CwKeyer::clearBuffer()
{
    m_buffer.clear();
}

void CwKeyer::appendText(std::string_view text)
{
    if (m_settings.keying == CwKeying::None) {
        return;
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
    QMetaObject::invokeMethod(m_engine, &MorseEngine::sendBuffer, Qt::QueuedConnection);
}

void CwKeyer::typeCharacter(char character)
{
    appendText(std::string_view(&character, 1));
}

bool CwKeyer::takeBackCharacter()
{
    return m_buffer.takeBackLast();
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
    // Whatever of an earlier message was still waiting went above: this one takes its place.
    if (m_buffer.replace(text)) {
        startEngine();
    }
}

void CwKeyer::stopRepeat()
{
    m_buffer.clear();
    m_repeatTimer->stop();
    if (m_keying) {
        m_keying->cwRepeatArmed = false;
    }
}

void CwKeyer::setSpeed(int wordsPerMinute)
{
    m_settings.speed = std::to_string(wordsPerMinute);
    m_engineSettings.timing.wordsPerMinute = wordsPerMinute;
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

void CwKeyer::openCwPort()
{
    QMetaObject::invokeMethod(m_engine, &MorseEngine::reopenLine, Qt::QueuedConnection);
}

void CwKeyer::reportUnavailableLine(const QString& reason)
{
    m_dialogs.beep();
    m_dialogs.message(InvalidPortTitle, InvalidPortText + QStringLiteral("\n\n") + reason);
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

} // namespace brindle
