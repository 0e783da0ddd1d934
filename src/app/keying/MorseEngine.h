#pragma once

#include "keying/CwBuffer.h"
#include "keying/KeyingLines.h"
#include "keying/MorseSender.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace brindle {

// What the keying thread reads while it sends: written by the window's thread at any time.
struct CwEngineSettings
{
    LiveCwSettings timing;
    KeyingLineChoice line;
    std::atomic<bool> showTextOnMain { false };
};

// Keys the CW buffer on a thread of its own, so that element timing is exact whatever the windows are
// doing. It takes one character at a time: text appended, replaced or dropped by the window's thread
// takes effect after the character on the air. Everything it reports arrives as queued signals on the
// receivers' thread.
class MorseEngine : public QObject
{
    Q_OBJECT

public:
    // The line source is made on the keying thread when the first character needs it, so the ports it
    // opens belong to that thread.
    MorseEngine(CwBuffer& buffer, const CwEngineSettings& settings, KeyingLineMaker makeLineSource);
    ~MorseEngine() override;

    // Whether the keying thread runs with real-time priority (known once it has started).
    bool hasRealTimePriority() const
    {
        return m_realTime.load();
    }

public slots:
    // Run first on the keying thread: asks the system to wake it on time. A thread in the real-time
    // class preempts the windows and other programs at its deadlines; where the operator is not allowed
    // that, it still keeps a small timer slack.
    void prepareThread();
    // Sends until the buffer is empty. Started by whoever claimed the buffer (CwBuffer::append).
    void sendBuffer();
    // Closes the line and opens it again as now chosen, telling at once when it cannot be opened.
    void reopenLine();
    // Lets the line go with the key up; the next character opens it again.
    void closeLine();

signals:
    void logCharacterReached();
    // The text still to be sent, after each character, when the display option is on.
    void unsentTextChanged(const QString& text);
    void sendingFinished();
    // The line could not be opened; the text waiting was dropped.
    void lineUnavailable(const QString& reason);
    // The line stopped working while sending (an adapter unplugged); the text waiting was dropped.
    void keyingFailed(const QString& reason);
    // The speed is below 1 WPM; nothing was sent.
    void speedRefused();
    // The system refused the keying thread real-time priority, so its edges may come late while the
    // computer is busy. Said once, at the first sending that wanted it.
    void realTimeRefused();

private:
    KeyingLineSource& lineSource();
    void useRealTimePriority(bool wanted);

    CwBuffer& m_buffer;
    const CwEngineSettings& m_settings;
    KeyingLineMaker m_makeLineSource;
    std::unique_ptr<KeyingLineSource> m_lineSource;
    std::atomic<bool> m_realTime { false };
    bool m_refusalSaid = false;
};

} // namespace brindle
