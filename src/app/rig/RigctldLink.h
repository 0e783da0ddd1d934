#pragma once

#include "rig/Rigctld.h"

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

namespace brindle {

// The connection to Hamlib's rig daemon, polled on the rig interface's cycle. It never waits on the
// network: requests are written and replies taken as they arrive. While the daemon is away (not
// started yet, restarted, its computer rebooted) the connection is tried again every second, so the
// logger follows the radio again by itself once it is back.
class RigctldLink : public QObject
{
    Q_OBJECT

public:
    explicit RigctldLink(QObject* parent = nullptr);
    ~RigctldLink() override;

    // Connects, and keeps connecting until disconnectFromDaemon().
    void connectTo(const RigctldAddress& address);
    // Lets go, without a connectionChanged: the caller knows.
    void disconnectFromDaemon();
    bool isConnected() const;

    // One poll: frequency and mode are asked for, unless the last poll's replies are still due. A
    // daemon that lets several polls go unanswered is taken as hung and connected to afresh.
    void poll();
    // A command that sets the radio ("F 14025000"); false when there is no connection to send it on. A
    // refusal comes back as commandRefused with the tag.
    bool sendCommand(std::string_view command, int tag);
    // Bytes written and not yet handed to the network.
    std::size_t bytesToWrite() const;

signals:
    void frequencyRead(double freqMHz);
    // The logger's mode text of the rig's mode ("CW", "PH", "AM", "FM"); data modes say nothing.
    void modeRead(const QString& mode);
    // Connected, or not, and why not in words for the operator.
    void connectionChanged(bool connected, const QString& reason);
    void commandRefused(int tag, const QString& reason);

private:
    void takeReplies();
    void lose(const QString& reason);
    void tryAgain();

    RigctldAddress m_address;
    bool m_wanted = false;
    QTcpSocket m_socket;
    RigctldProtocol m_protocol;
    QTimer m_reconnectTimer;
    int m_unansweredPolls = 0;
    bool m_connected = false;
    QString m_lastFailure;
};

} // namespace brindle
