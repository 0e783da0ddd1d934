#pragma once

#include "support/FreePort.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTest>

#include <string>

namespace brindle::test {

// Hamlib's rig daemon with its built-in dummy radio (model 1), on a free loopback port, as the test
// starts and stops it.
class RigctldProcess
{
public:
    RigctldProcess()
    {
        start();
    }
    ~RigctldProcess()
    {
        stop();
    }
    RigctldProcess(const RigctldProcess&) = delete;
    RigctldProcess& operator=(const RigctldProcess&) = delete;

    int port() const
    {
        return m_port;
    }
    // Empty once the daemon answers; otherwise why it does not.
    const std::string& failure() const
    {
        return m_failure;
    }

    void start()
    {
        m_failure.clear();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral("rigctld"),
            { QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"), QStringLiteral("127.0.0.1"),
                QStringLiteral("-t"), QString::number(m_port) });
        if (!m_process.waitForStarted(10000)) {
            m_failure = "rigctld cannot be started (bash scripts/deps.sh installs libhamlib-utils): "
                + m_process.errorString().toStdString();
            return;
        }
        if (!QTest::qWaitFor([this] { return command("f\n").size() > 0; }, 10000)) {
            m_failure = "rigctld did not answer: " + m_process.readAll().toStdString();
        }
    }
    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Sends a command on a connection of its own, as another program sharing the radio would, and
    // returns the reply.
    QByteArray command(const QByteArray& text)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(m_port));
        if (!socket.waitForConnected(1000)) {
            return {};
        }
        socket.write(text);
        socket.waitForBytesWritten(1000);
        QByteArray reply;
        while (socket.waitForReadyRead(300)) {
            reply += socket.readAll();
        }
        return reply;
    }

private:
    QProcess m_process;
    int m_port = freeLoopbackPort();
    std::string m_failure;
};

} // namespace brindle::test
