#pragma once

#include "support/FreePort.h"
#include <QByteArray>
#include <QFile>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <string>

namespace brindle::test {

// Dire Wolf, the software TNC, as an AGW Packet Engine on a free loopback port (its KISS port off). Made
// without arguments, its receiver listens to audio written to its standard input (16-bit mono samples at
// SampleRate), so a test "transmits" a packet by writing the sound of it (hear()), and its transmitter
// plays into ALSA's null device. Made with a call and ALSA devices, it hears and plays those, as a station
// on the air does.
class DireWolfProcess
{
public:
    static constexpr int SampleRate = 48000;

    DireWolfProcess()
        : DireWolfProcess(QStringLiteral("N0CALL"), QStringLiteral("stdin"), QStringLiteral("null"))
    {
    }
    // The devices as Dire Wolf's ADEVICE names them, e.g. "pulse:sink.monitor".
    DireWolfProcess(const QString& ownCall, const QString& inputDevice, const QString& outputDevice)
        : m_hearsStandardInput(inputDevice == QStringLiteral("stdin"))
    {
        start(ownCall, inputDevice, outputDevice);
    }
    ~DireWolfProcess()
    {
        if (m_hearsStandardInput) {
            // The end of its audio input is Dire Wolf's signal to stop.
            m_process.closeWriteChannel();
        } else {
            m_process.terminate();
        }
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    DireWolfProcess(const DireWolfProcess&) = delete;
    DireWolfProcess& operator=(const DireWolfProcess&) = delete;

    int agwPort() const
    {
        return m_agwPort;
    }
    // Empty once the engine listens; otherwise why it does not.
    const std::string& failure() const
    {
        return m_failure;
    }
    // What Dire Wolf printed so far, for a failure's message.
    QByteArray output()
    {
        m_output += m_process.readAll();
        return m_output;
    }

    // Makes the receiver hear one packet, written as a monitor line ("W1AW>APRS:text"), sent as
    // 1200-baud AFSK between stretches of silence. Empty when it was written; otherwise what failed.
    // Only for an engine that hears its standard input.
    std::string hear(const QByteArray& packet)
    {
        if (!m_hearsStandardInput) {
            return "this Dire Wolf hears its sound device, not its standard input";
        }
        const QString wave = m_folder.filePath(QStringLiteral("packet.wav"));
        QProcess generator;
        generator.setProcessChannelMode(QProcess::MergedChannels);
        generator.start(QStringLiteral("gen_packets"),
            { QStringLiteral("-r"), QString::number(SampleRate), QStringLiteral("-o"), wave, QStringLiteral("-") });
        if (!generator.waitForStarted(10000)) {
            return "gen_packets cannot be started (bash scripts/deps.sh --tests installs direwolf): "
                + generator.errorString().toStdString();
        }
        generator.write(packet);
        generator.closeWriteChannel();
        if (!generator.waitForFinished(10000) || generator.exitCode() != 0) {
            return "gen_packets failed: " + generator.readAll().toStdString();
        }
        QFile file(wave);
        if (!file.open(QIODevice::ReadOnly)) {
            return "no sound from gen_packets";
        }
        const QByteArray wav = file.readAll();
        // The samples follow the "data" chunk's tag and its 4-byte length.
        const qsizetype data = wav.indexOf("data");
        if (data < 0) {
            return "gen_packets wrote no data chunk";
        }
        const QByteArray silence(SampleRate / 2 * 2, '\0');
        m_process.write(silence + wav.mid(data + 8) + silence);
        return {};
    }

private:
    void start(const QString& ownCall, const QString& inputDevice, const QString& outputDevice)
    {
        if (!m_folder.isValid()) {
            m_failure = "no temporary folder for Dire Wolf's configuration";
            return;
        }
        const QString config = m_folder.filePath(QStringLiteral("direwolf.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            m_failure = "Dire Wolf's configuration cannot be written";
            return;
        }
        file.write(QStringLiteral("ADEVICE %1 %2\nACHANNELS 1\nARATE %3\nMODEM 1200\nAGWPORT %4\nKISSPORT 0\n"
                                  "MYCALL %5\n")
                       .arg(inputDevice, outputDevice)
                       .arg(SampleRate)
                       .arg(m_agwPort)
                       .arg(ownCall)
                       .toLatin1());
        file.close();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setWorkingDirectory(m_folder.path());
        // No colours, and no decoding of what it hears: the test reads the output only when it fails.
        m_process.start(QStringLiteral("direwolf"),
            { QStringLiteral("-t"), QStringLiteral("0"), QStringLiteral("-q"), QStringLiteral("hd"),
                QStringLiteral("-c"), config });
        if (!m_process.waitForStarted(10000)) {
            m_failure = "direwolf cannot be started (bash scripts/deps.sh --tests installs it): "
                + m_process.errorString().toStdString();
            return;
        }
        // A sound device it cannot open ends it without an AGW port.
        if (!QTest::qWaitFor(
                [this] {
                    return output().contains("Ready to accept AGW client") || m_process.state() == QProcess::NotRunning;
                },
                10000)
            || m_process.state() == QProcess::NotRunning) {
            m_failure = "direwolf did not open its AGW port: " + output().toStdString();
        }
    }

    bool m_hearsStandardInput;
    QTemporaryDir m_folder;
    QProcess m_process;
    QByteArray m_output;
    int m_agwPort = freeLoopbackPort();
    std::string m_failure;
};

} // namespace brindle::test
