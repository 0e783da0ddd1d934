#pragma once

#include "keying/WaveFile.h"
#include "keying/WavePlayer.h"

#include <QBuffer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>


class QAudioSink;

namespace brindle {

// A wave player on the sound card's default output, through Qt Multimedia's audio sink: the file's
// samples go straight to the sound server, which starts them within a few tens of milliseconds (a media
// pipeline takes several times as long to start, and would key the transmitter on dead air).
//
// The sink reports itself idle once it has handed its last samples to the sound server, which still
// holds up to a buffer's worth to play. The end is reported only when the server says the last sample
// has been played, so a message is never cut short and PTT drops within a few milliseconds of its end.
class QtWavePlayer final : public QObject, public WavePlayer
{
    Q_OBJECT

public:
    explicit QtWavePlayer(QObject* parent = nullptr);
    ~QtWavePlayer() override;

    Status play(const std::string& path) override;
    // Plays sound already in memory, as play() plays a file's; what names it in an Error.
    Status playAudio(const WaveAudio& audio, const std::string& what);
    void stop() override;
    void close() override;
    bool isPlaying() const override;

private:
    void followSink();
    void watchLastSamples();
    void finish();
    void releaseSink();

    // A child of the player: one let go in the middle of its own signal is deleted later, and with the
    // player at the latest.
    QAudioSink* m_sink = nullptr;
    QByteArray m_samples;
    QBuffer m_source;
    qint64 m_durationUs = 0;
    bool m_playing = false;
    // Set while the sink is being stopped or restarted on purpose: its state changes are not an end.
    bool m_switching = false;
    // Polls the sound server's play position once the sink has handed over the last samples.
    QTimer m_tailTimer;
    QElapsedTimer m_tailSince;
    qint64 m_tailLimitMs = 0;
    // Ends a message that has played far longer than it lasts.
    QTimer m_overdueTimer;
};

} // namespace brindle
