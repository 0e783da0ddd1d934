#pragma once

#include "support/FreePort.h"

#include <QByteArray>
#include <QDeadlineTimer>
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

    // Sends commands on a connection of its own, as another program sharing the radio would, and returns
    // the reply once every command has been answered: get mode ("m") with two lines, mode and passband,
    // every other command the tests send with one. The event loop runs meanwhile, so the rig interface
    // under test goes on polling. rigctld 4.5 now and then closes a connection at once that was opened
    // just as another one closed (its log says "fdopen ... Bad file descriptor"): a connection closed
    // unanswered is tried again. Nothing comes back when the daemon is not listening.
    QByteArray command(const QByteArray& text)
    {
        const qsizetype replyLines = expectedReplyLines(text);
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            QTcpSocket socket;
            QByteArray reply;
            bool connected = false;
            QObject::connect(&socket, &QTcpSocket::connected, [&] {
                connected = true;
                socket.write(text);
            });
            QObject::connect(&socket, &QTcpSocket::readyRead, [&] { reply += socket.readAll(); });
            socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(m_port));
            // Whether it came is told by what came, below.
            (void)QTest::qWaitFor(
                [&] { return reply.count('\n') >= replyLines || socket.state() == QAbstractSocket::UnconnectedState; },
                static_cast<int>(deadline.remainingTime()));
            if (reply.count('\n') >= replyLines || !connected) {
                return reply;
            }
            if (socket.state() != QAbstractSocket::UnconnectedState) {
                return reply; // still waiting when the time was up
            }
        }
        return {};
    }

private:
    static qsizetype expectedReplyLines(const QByteArray& text)
    {
        qsizetype lines = 0;
        for (const QByteArray& line : text.split('\n')) {
            if (!line.isEmpty()) {
                lines += line == "m" ? 2 : 1;
            }
        }
        return lines;
    }

    QProcess m_process;
    int m_port = freeLoopbackPort();
    std::string m_failure;
};

} // namespace brindle::test
