#include "QtWavePlayer.h"

#include "common/QtText.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>
#include <QScopedValueRollback>

#include <algorithm>
#include <utility>

namespace brindle {

namespace {

// What the sound server holds ahead of the speaker. Less starts a message sooner (the default of about
// 150 ms puts 60 ms of dead air after PTT); more rides out a window thread held up longer, since the
// samples are fed from it. Below about 50 ms the stream underruns at once.
constexpr qint64 BufferMs = 90;
// How often the play position is asked for at the end: the delay between the last sample and PTT off.
constexpr int TailPollMs = 2;
// Beyond the samples still to play, how long the sound server may take before the end is taken as
// reached anyway: a server that stalls must not hold the transmitter keyed.
constexpr qint64 TailGraceMs = 250;
// Past a message's length, how long it may take before its end is taken as reached whatever the sound
// server says: a stream that never starts or stalls must not hold the transmitter keyed.
constexpr qint64 OverdueGraceMs = 1000;

QAudioFormat::SampleFormat sampleFormatOf(WaveFormat::Encoding encoding)
{
    switch (encoding) {
    case WaveFormat::Encoding::UnsignedInt8:
        return QAudioFormat::UInt8;
    case WaveFormat::Encoding::Int16:
        return QAudioFormat::Int16;
    case WaveFormat::Encoding::Int32:
        return QAudioFormat::Int32;
    case WaveFormat::Encoding::Float32:
        break;
    }
    return QAudioFormat::Float;
}

QAudioFormat audioFormatOf(const WaveFormat& format)
{
    QAudioFormat audio;
    audio.setSampleRate(format.sampleRate);
    audio.setChannelCount(format.channels);
    audio.setSampleFormat(sampleFormatOf(format.encoding));
    return audio;
}

Result<WaveAudio> readWaveFile(const std::string& path)
{
    QFile file(pathToQString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return Error { path + ": " + toBytes(file.errorString()), !file.exists() };
    }
    const QByteArray bytes = file.readAll();
    Result<WaveAudio> audio = parseWaveFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!audio) {
        return Error { path + ": " + audio.error().description };
    }
    return audio;
}

} // namespace

QtWavePlayer::QtWavePlayer(QObject* parent)
    : QObject(parent)
{
    m_tailTimer.setTimerType(Qt::PreciseTimer);
    m_tailTimer.setInterval(TailPollMs);
    connect(&m_tailTimer, &QTimer::timeout, this, &QtWavePlayer::watchLastSamples);
    m_overdueTimer.setSingleShot(true);
    connect(&m_overdueTimer, &QTimer::timeout, this, &QtWavePlayer::finish);
    // The sound system takes a second or more to come up the first time: once the program is running,
    // not at the first function key.
    QTimer::singleShot(0, this, [] { (void)QMediaDevices::defaultAudioOutput(); });
}

QtWavePlayer::~QtWavePlayer()
{
    setEndedHandler({});
    close();
    // Nothing of the sound server's is left to call into a player that is gone.
    for (QAudioSink* sink : findChildren<QAudioSink*>()) {
        delete sink;
    }
}

Status QtWavePlayer::play(const std::string& path)
{
    Result<WaveAudio> audio = readWaveFile(path);
    if (!audio) {
        // What was playing is cut off all the same, as by the next message.
        stop();
        return audio.error();
    }
    return playAudio(audio.value(), path);
}

Status QtWavePlayer::playAudio(const WaveAudio& audio, const std::string& what)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        stop();
        return Error { "no sound output device is available" };
    }
    const QScopedValueRollback switching(m_switching, true);
    m_tailTimer.stop();
    // A fresh stream for every message: a stream stopped and started again can stay silent for good.
    releaseSink();
    m_sink = new QAudioSink(device, audioFormatOf(audio.format), this);
    connect(m_sink, &QAudioSink::stateChanged, this, &QtWavePlayer::followSink);
    m_source.close();
    m_samples = QByteArray(audio.samples.data(), static_cast<qsizetype>(audio.samples.size()));
    m_source.setBuffer(&m_samples);
    m_source.open(QIODevice::ReadOnly);
    m_durationUs = audio.durationUs();
    m_sink->setBufferSize(m_sink->format().bytesForDuration(BufferMs * 1000));
    m_sink->start(&m_source);
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        const bool wasPlaying = std::exchange(m_playing, false);
        releaseSink();
        if (wasPlaying) {
            reportEnded();
        }
        return Error { "the sound card refused to play " + what };
    }
    m_playing = true;
    m_overdueTimer.start(static_cast<int>(std::min<qint64>(m_durationUs / 1000 + OverdueGraceMs, 24 * 3600 * 1000)));
    return {};
}

void QtWavePlayer::followSink()
{
    if (m_switching || !m_playing || !m_sink) {
        return;
    }
    switch (m_sink->state()) {
    case QAudio::IdleState:
        // Idle with samples left is a stall, not the end: the sink goes on once they flow.
        if (!m_source.atEnd()) {
            return;
        }
        m_tailSince.start();
        m_tailLimitMs = std::max<qint64>(0, (m_durationUs - m_sink->processedUSecs()) / 1000) + TailGraceMs;
        m_tailTimer.start();
        watchLastSamples();
        return;
    case QAudio::StoppedState:
        // The sound server went away or refused the stream.
        finish();
        return;
    case QAudio::ActiveState:
    case QAudio::SuspendedState:
        return;
    }
}

void QtWavePlayer::watchLastSamples()
{
    if (!m_sink || m_sink->processedUSecs() >= m_durationUs || m_tailSince.elapsed() >= m_tailLimitMs) {
        finish();
    }
}

void QtWavePlayer::releaseSink()
{
    if (!m_sink) {
        return;
    }
    const QScopedValueRollback switching(m_switching, true);
    m_sink->stop();
    m_sink->disconnect(this);
    // Possibly in the middle of one of its own signals: it goes once that is over.
    std::exchange(m_sink, nullptr)->deleteLater();
}

void QtWavePlayer::finish()
{
    m_tailTimer.stop();
    m_overdueTimer.stop();
    releaseSink();
    if (std::exchange(m_playing, false)) {
        reportEnded();
    }
}

void QtWavePlayer::stop()
{
    finish();
}

void QtWavePlayer::close()
{
    finish();
    m_source.close();
    m_samples.clear();
}

bool QtWavePlayer::isPlaying() const
{
    return m_playing;
}

} // namespace brindle
