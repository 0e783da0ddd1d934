#pragma once

#include "support/TempFolder.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTest>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace brindle::test {

// A sound server of the test's own (PulseAudio) whose only output is a null sink: what is played into
// it can be recorded back from its monitor, as a transceiver's audio input would hear it. This process
// is pointed at it through PULSE_SERVER, so it must be made before anything in the process opens the
// sound card.
class PulseNullSink
{
public:
    static constexpr int RecordingRate = 44100;

    PulseNullSink()
    {
        const QString run = QString::fromStdString(m_folder.file("run"));
        const QString socket = run + QStringLiteral("/native");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(m_folder.path()));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
        environment.insert(QStringLiteral("PULSE_RUNTIME_PATH"), run);
        environment.insert(QStringLiteral("PULSE_STATE_PATH"), QString::fromStdString(m_folder.file("state")));
        environment.remove(QStringLiteral("PULSE_SERVER"));
        m_server.setProcessEnvironment(environment);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.setStandardOutputFile(QString::fromStdString(m_folder.file("pulseaudio.log")));
        // -n: none of the machine's own configuration, so no real sound card and no desktop session.
        m_server.start(QStringLiteral("pulseaudio"),
            { QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                QStringLiteral("--use-pid-file=no"), QStringLiteral("--disable-shm=yes"),
                QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket,
                QStringLiteral("--load=module-null-sink sink_name=brindle_test rate=44100"),
                QStringLiteral("--log-target=stderr") });
        if (!m_server.waitForStarted(10000)) {
            m_failure = "pulseaudio cannot be started (bash scripts/deps.sh installs it): "
                + m_server.errorString().toStdString();
            return;
        }
        m_serverAddress = QStringLiteral("unix:") + socket;
        if (!QTest::qWaitFor([this] { return answers(); }, 20000)) {
            m_failure = "pulseaudio did not answer; see " + m_folder.file("pulseaudio.log");
            return;
        }
        ::setenv("PULSE_SERVER", m_serverAddress.toLocal8Bit().constData(), 1);
    }
    ~PulseNullSink()
    {
        stopRecording();
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
        ::unsetenv("PULSE_SERVER");
    }
    PulseNullSink(const PulseNullSink&) = delete;
    PulseNullSink& operator=(const PulseNullSink&) = delete;

    // Empty once the server answers; otherwise why it does not.
    const std::string& failure() const
    {
        return m_failure;
    }

    // Records what reaches the sink from now on, mono 16-bit at RecordingRate.
    bool startRecording()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PULSE_SERVER"), m_serverAddress);
        m_recorder.setProcessEnvironment(environment);
        m_recorder.start(QStringLiteral("parec"),
            { QStringLiteral("--device=brindle_test.monitor"), QStringLiteral("--raw"),
                QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"), QStringLiteral("--channels=1"),
                QStringLiteral("--latency-msec=10") });
        if (!m_recorder.waitForStarted(10000)) {
            return false;
        }
        // The recording stream is up once the silence of the idle sink arrives.
        return QTest::qWaitFor(
            [this] {
                m_samples += m_recorder.readAllStandardOutput();
                return m_samples.size() >= RecordingRate / 10;
            },
            20000);
    }
    void stopRecording()
    {
        if (m_recorder.state() != QProcess::NotRunning) {
            m_samples += m_recorder.readAllStandardOutput();
            m_recorder.terminate();
            m_recorder.waitForFinished(5000);
        }
    }
    // The samples recorded so far.
    std::vector<std::int16_t> recorded()
    {
        if (m_recorder.state() != QProcess::NotRunning) {
            m_samples += m_recorder.readAllStandardOutput();
        }
        std::vector<std::int16_t> samples(static_cast<std::size_t>(m_samples.size()) / 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const auto low = static_cast<unsigned char>(m_samples[static_cast<qsizetype>(2 * i)]);
            const auto high = static_cast<unsigned char>(m_samples[static_cast<qsizetype>(2 * i + 1)]);
            samples[i] = static_cast<std::int16_t>(low | (high << 8));
        }
        return samples;
    }
    // How many recorded samples stand out from silence.
    std::size_t loudSamples(int threshold = 1000)
    {
        std::size_t count = 0;
        for (const std::int16_t sample : recorded()) {
            count += std::abs(sample) > threshold ? 1 : 0;
        }
        return count;
    }

private:
    bool answers()
    {
        return !pactl({ QStringLiteral("info") }).isEmpty();
    }
    QByteArray pactl(const QStringList& arguments)
    {
        QProcess control;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PULSE_SERVER"), m_serverAddress);
        control.setProcessEnvironment(environment);
        control.start(QStringLiteral("pactl"), arguments);
        if (!control.waitForFinished(5000) || control.exitCode() != 0) {
            return {};
        }
        return control.readAllStandardOutput();
    }

    TempFolder m_folder;
    QProcess m_server;
    QProcess m_recorder;
    QString m_serverAddress;
    QByteArray m_samples;
    std::string m_failure;
};

} // namespace brindle::test
