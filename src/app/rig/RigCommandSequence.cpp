#include "RigCommandSequence.h"

#include "common/QtText.h"

#include <utility>

namespace brindle {

RigCommandSequence::RigCommandSequence(Target& target, QObject* parent)
    : QObject(parent)
    , m_target(target)
{
    m_pause.setSingleShot(true);
    m_pause.setTimerType(Qt::PreciseTimer);
    connect(&m_pause, &QTimer::timeout, this, &RigCommandSequence::next);
    // The port hands bytes over from the event loop: a millisecond's look is as soon as it can be done.
    m_sendWatch.setInterval(1);
    m_sendWatch.setTimerType(Qt::PreciseTimer);
    connect(&m_sendWatch, &QTimer::timeout, this, &RigCommandSequence::checkSent);
}

void RigCommandSequence::run(Change change)
{
    if (m_running) {
        m_waiting = std::move(change);
        return;
    }
    start(std::move(change));
}

void RigCommandSequence::cancel()
{
    m_pause.stop();
    m_sendWatch.stop();
    m_running.reset();
    m_waiting.reset();
}

void RigCommandSequence::start(Change change)
{
    m_running = std::move(change);
    m_step = 0;
    // Begun from the event loop, not inside the caller: a click that asks for a change returns at once.
    m_pause.start(0);
}

void RigCommandSequence::next()
{
    while (m_running && m_step < m_running->steps.size()) {
        const RigStep step = m_running->steps[m_step++];
        switch (step.kind) {
        case RigStep::Kind::DiscardReceived:
            m_target.discardReceived();
            break;
        case RigStep::Kind::WaitUntilSent:
            if (m_target.bytesToWrite() > 0) {
                waitUntilSent();
                return;
            }
            break;
        case RigStep::Kind::Pause:
            if (step.ms > 0) {
                pauseMs(step.ms);
                return;
            }
            break;
        case RigStep::Kind::WriteMode:
        case RigStep::Kind::WriteFrequency:
        case RigStep::Kind::WritePegasusFile: {
            const Status written = m_target.write(step);
            if (written) {
                break;
            }
            const bool frequency = step.kind != RigStep::Kind::WriteMode;
            emit writeFailed(toQString(m_running->mode), toQString(written.error().description), frequency);
            if (frequency) {
                finish(true);
                return;
            }
            break;
        }
        }
    }
    if (m_running) {
        finish(false);
    }
}

void RigCommandSequence::waitUntilSent()
{
    m_sendWaited.start();
    m_sendWatch.start();
}

void RigCommandSequence::checkSent()
{
    if (m_target.bytesToWrite() > 0 && m_sendWaited.elapsed() < LongestSendWaitMs) {
        return;
    }
    m_sendWatch.stop();
    next();
}

void RigCommandSequence::pauseMs(int ms)
{
    m_pause.start(ms);
}

void RigCommandSequence::finish(bool frequencyFailed)
{
    m_running.reset();
    // A port that took no frequency takes none of a change that waits either.
    if (frequencyFailed) {
        m_waiting.reset();
    }
    if (m_waiting) {
        start(*std::exchange(m_waiting, std::nullopt));
        return;
    }
    emit idle();
}

} // namespace brindle
