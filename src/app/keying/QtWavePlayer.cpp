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

// How often the play position is asked for at the end: the delay between the last sample and PTT off.
constexpr int TailPollMs = 2;
// Beyond the samples still to play, how long the sound server may take before the end is taken as
// reached anyway: a server that stalls must not hold the transmitter keyed.
constexpr qint64 TailGraceMs = 250;

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
}

QtWavePlayer::~QtWavePlayer()
{
    setEndedHandler({});
    close();
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
    const QAudioFormat format = audioFormatOf(audio.format);
    if (m_sink && (m_sinkFormat != format)) {
        m_sink->stop();
        m_sink.reset();
    }
    if (m_sink) {
        m_sink->stop();
    } else {
        m_sink = std::make_unique<QAudioSink>(device, format);
        m_sinkFormat = format;
        connect(m_sink.get(), &QAudioSink::stateChanged, this, &QtWavePlayer::followSink);
    }
    m_source.close();
    m_samples = QByteArray(audio.samples.data(), static_cast<qsizetype>(audio.samples.size()));
    m_source.setBuffer(&m_samples);
    m_source.open(QIODevice::ReadOnly);
    m_durationUs = audio.durationUs();
    m_sink->start(&m_source);
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        const bool wasPlaying = std::exchange(m_playing, false);
        m_sink.reset();
        if (wasPlaying) {
            reportEnded();
        }
        return Error { "the sound card refused to play " + what };
    }
    m_playing = true;
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

void QtWavePlayer::finish()
{
    m_tailTimer.stop();
    if (m_sink) {
        const QScopedValueRollback switching(m_switching, true);
        m_sink->stop();
    }
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
    m_sink.reset();
    m_source.close();
    m_samples.clear();
}

bool QtWavePlayer::isPlaying() const
{
    return m_playing;
}

} // namespace brindle
