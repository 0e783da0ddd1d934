#pragma once

#include "spots/TelnetPolicy.h"
#include "spots/TelnetReceiver.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The Telnet link to a DX cluster node. It never waits on the network: connecting returns at once, and
// what arrives is taken when readyToTake() says so. Beyond the bare link it can answer the node's login
// prompt with a call, connect again after a drop (2 s, doubling to a minute), and keep an idle link alive
// with a CR after five silent minutes; with those off it behaves as a plain TCP client.
class TelnetConnection : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        QString host;
        quint16 port = 0;
        // Sent when the node asks for a call; nothing is sent while empty.
        std::string loginCall;
        bool autoReconnect = false;
        bool keepAlive = false;
    };

    explicit TelnetConnection(QObject* parent = nullptr);
    ~TelnetConnection() override;

    // Closes what was open and starts connecting.
    void open(const Options& options);
    // Closes the link and forgets about connecting again.
    void close();
    bool isConnected() const;
    // A reconnection is waiting for its time.
    bool isWaitingToReconnect() const
    {
        return m_reconnectTimer.isActive();
    }
    // Sends the text as it stands; false when there is no link to send it on.
    bool send(std::string_view text);

    // What the program keeps of the node's text before TCP makes the node wait.
    static constexpr std::size_t ReadBufferBytes = 64 * 1024;

    // Up to maxBytes of what arrived since the last take: complete spot lines out, the monitor updated.
    // A burst is taken a piece at a time, so that the window's loop runs between the pieces.
    std::vector<std::string> take(std::string& monitorText, bool dxOnly, std::size_t maxBytes = ReadBufferBytes);
    // Arrived and not yet taken: more for take() at once.
    std::size_t bytesWaiting() const;
    // The system has received more than the socket has read in yet.
    bool moreOnTheWay() const;
    // While a node sends fast, the window's loop would be woken for every piece it writes. Held back, the
    // socket reads in at most one byte more, to say that text came, and leaves the rest to the system,
    // whose buffers hold it (and, once full, the node) until the text is let in again.
    void holdBack();
    void letIn();
    bool isHeldBack() const
    {
        return m_heldBack;
    }
    // Reads so far, for the benchmark and tests.
    std::uint64_t bytesReceived() const
    {
        return m_bytesReceived;
    }
    const TelnetReceiver& receiver() const
    {
        return m_receiver;
    }

signals:
    // Data waits: call take().
    void readyToTake();
    // The connection failed or was lost; the number is the error number the window's texts are kept by.
    // With reconnecting on, reconnectScheduled follows.
    void failed(int errorNumber, const QString& reason);
    // The node closed the link; said once everything it sent before has been taken.
    void closedByNode();
    void reconnectScheduled(int delayMs);
    // A reconnection began; the address in words.
    void reconnecting(const QString& address);
    // Text the operator should see in the monitor for something done on their behalf (the login).
    void sentForOperator(const QString& text);

private:
    void connectNow();
    void hangUp();
    void hangUpOnceTaken();
    void lost();
    void sendLogin();
    void armKeepAlive();
    void armLoginDue();
    std::int64_t nowMs() const
    {
        return m_clock.elapsed();
    }

    QTcpSocket m_socket;
    Options m_options;
    TelnetReceiver m_receiver;
    ReconnectBackoff m_backoff;
    IdleKeepAlive m_keepAlive;
    QElapsedTimer m_clock;
    QTimer m_reconnectTimer;
    QTimer m_keepAliveTimer;
    QTimer m_loginTimer;
    bool m_wanted = false;
    bool m_down = false;
    // The node hung up with text still to be taken.
    bool m_hungUp = false;
    bool m_heldBack = false;
    std::uint64_t m_bytesReceived = 0;
};

// The error number kept for a TCP error: the numbers the Telnet error texts are listed by where the
// error is one of theirs, and 20000 plus Qt's own number otherwise.
int telnetErrorNumber(QAbstractSocket::SocketError error);

} // namespace brindle
