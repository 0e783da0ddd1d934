#include "MorseEngine.h"

#include "common/QtText.h"
#include "keying/MorseTable.h"

namespace brindle {

MorseEngine::MorseEngine(CwBuffer& buffer, const CwEngineSettings& settings, LineSourceMaker makeLineSource)
    : m_buffer(buffer)
    , m_settings(settings)
    , m_makeLineSource(std::move(makeLineSource))
{
}

MorseEngine::~MorseEngine()
{
    closeLine();
}

KeyingLineSource& MorseEngine::lineSource()
{
    if (!m_lineSource) {
        m_lineSource = m_makeLineSource();
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
    if (Result<KeyingLine*> line = lineSource().openLine(); !line) {
        emit lineUnavailable(toQString(line.error().description));
    }
}

void MorseEngine::dropWaitingText()
{
    m_buffer.clear();
}

void MorseEngine::sendBuffer()
{
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
            dropWaitingText();
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
            dropWaitingText();
            if (!speedReported) {
                speedReported = true;
                emit speedRefused();
            }
            break;
        case MorseSender::Outcome::LineFailed: {
            const QString reason = toQString(sender->lineFailure().description);
            dropWaitingText();
            closeLine();
            sender.reset();
            senderLine = nullptr;
            emit keyingFailed(reason);
            break;
        }
        case MorseSender::Outcome::Abandoned:
            dropWaitingText();
            break;
        }
        if (m_settings.showTextOnMain.load()) {
            emit unsentTextChanged(toQString(m_buffer.text()));
        }
    }
    emit sendingFinished();
}

} // namespace brindle
