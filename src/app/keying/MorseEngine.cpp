#include "MorseEngine.h"

#include "common/QtText.h"
#include "keying/MorseTable.h"

#include <utility>

#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>

namespace brindle {

namespace {

// Above every ordinary thread, below the audio servers' own real-time threads.
constexpr int KeyingThreadPriority = 10;

} // namespace

MorseEngine::MorseEngine(CwBuffer& buffer, const CwEngineSettings& settings, KeyingLineMaker makeLineSource)
    : m_buffer(buffer)
    , m_settings(settings)
    , m_makeLineSource(std::move(makeLineSource))
{
}

MorseEngine::~MorseEngine()
{
    closeLine();
}

void MorseEngine::prepareThread()
{
    // A sleeping thread is woken up to the timer slack late (50 µs by default); the edges wait on that.
    (void)::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    useRealTimePriority(true);
}

void MorseEngine::useRealTimePriority(bool wanted)
{
    if (wanted == m_realTime.load()) {
        return;
    }
    sched_param param {};
    param.sched_priority = wanted ? KeyingThreadPriority : 0;
    if (::pthread_setschedparam(::pthread_self(), wanted ? SCHED_FIFO : SCHED_OTHER, &param) == 0) {
        m_realTime = wanted;
    }
}

KeyingLineSource& MorseEngine::lineSource()
{
    if (!m_lineSource) {
        m_lineSource = m_makeLineSource(m_settings.line);
    }
    return *m_lineSource;
}

void MorseEngine::closeLine()
{
    if (m_lineSource) {
        m_lineSource->closeLine();
    }
}

void MorseEngine::reopenLine()
{
    closeLine();
    const CwKeying keying = m_settings.line.keying.load();
    if (keying != CwKeying::Rts && keying != CwKeying::Dtr && keying != CwKeying::ParallelPort) {
        return;
    }
    // Port 0 is the operator's way of keying no serial port: the port is let go, and that is all.
    if (keying != CwKeying::ParallelPort && m_settings.line.portNumber.load() < 1) {
        return;
    }
    if (Result<KeyingLine*> line = lineSource().openLine(); !line) {
        emit lineUnavailable(toQString(line.error().description));
    }
}

void MorseEngine::sendBuffer()
{
    // The counting and sleeping timings keep the core for whole units: in the real-time class they would
    // shut the windows out on a computer with one core.
    const bool wantRealTime = m_settings.timing.timing.load() == CwTiming::Timer;
    useRealTimePriority(wantRealTime);
    if (wantRealTime && !m_realTime.load() && !std::exchange(m_refusalSaid, true)) {
        emit realTimeRefused();
    }
    bool speedReported = false;
    std::unique_ptr<MorseSender> sender;
    KeyingLine* senderLine = nullptr;
    while (const std::optional<char> character = m_buffer.takeNext()) {
        const CwKeying keying = m_settings.line.keying.load();
        const bool ownKeying = keying == CwKeying::Rts || keying == CwKeying::Dtr || keying == CwKeying::ParallelPort;
        // Without a line of its own to key, the text goes without a sound; "!" still logs.
        if (!ownKeying) {
            if (*character == LogContactCharacter) {
                emit logCharacterReached();
            }
            continue;
        }
        Result<KeyingLine*> line = lineSource().openLine();
        if (!line) {
            // One report for the message, not one for each of its characters.
            m_buffer.clear();
            emit lineUnavailable(toQString(line.error().description));
            continue;
        }
        if (line.value() != senderLine) {
            senderLine = line.value();
            sender = std::make_unique<MorseSender>(*senderLine, m_settings.timing);
            sender->startNewRun();
        }
        switch (sender->sendCharacter(*character)) {
        case MorseSender::Outcome::Sent:
            break;
        case MorseSender::Outcome::LogContact:
            emit logCharacterReached();
            break;
        case MorseSender::Outcome::NoSpeed:
            m_buffer.clear();
            if (!speedReported) {
                speedReported = true;
                emit speedRefused();
            }
            break;
        case MorseSender::Outcome::LineFailed: {
            const QString reason = toQString(sender->lineFailure().description);
            m_buffer.clear();
            closeLine();
            sender.reset();
            senderLine = nullptr;
            emit keyingFailed(reason);
            break;
        }
        case MorseSender::Outcome::Abandoned:
            m_buffer.clear();
            break;
        }
        if (m_settings.showTextOnMain.load()) {
            emit unsentTextChanged(toQString(m_buffer.text()));
        }
    }
    emit sendingFinished();
}

} // namespace brindle
