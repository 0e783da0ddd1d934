#include "TelnetConnection.h"

#include "common/QtText.h"

#include <sys/ioctl.h>

#include <algorithm>
#include <utility>

namespace brindle {

TelnetConnection::TelnetConnection(QObject* parent)
    : QObject(parent)
{
    m_clock.start();
    for (QTimer* timer : { &m_reconnectTimer, &m_keepAliveTimer, &m_loginTimer }) {
        timer->setSingleShot(true);
    }
    connect(&m_reconnectTimer, &QTimer::timeout, this, [this] {
        emit reconnecting(QStringLiteral("%1:%2").arg(m_options.host).arg(m_options.port));
        connectNow();
    });
    connect(&m_keepAliveTimer, &QTimer::timeout, this, [this] {
        if (m_keepAlive.due(nowMs()) && isConnected()) {
            m_socket.write(IdleKeepAlive::Text.data(), static_cast<qint64>(IdleKeepAlive::Text.size()));
        }
        armKeepAlive();
    });
    connect(&m_loginTimer, &QTimer::timeout, this, [this] {
        if (m_receiver.loginPromptDue(nowMs())) {
            sendLogin();
        } else {
            armLoginDue();
        }
    });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_backoff.connected(nowMs());
        m_keepAlive.traffic(nowMs());
        armKeepAlive();
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, &TelnetConnection::readyToTake);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (!m_wanted || m_down) {
            return;
        }
        if (error == QAbstractSocket::RemoteHostClosedError) {
            // Said by disconnected(), once; what the node sent last is still to be taken.
            return;
        }
        const QString reason = m_socket.errorString();
        emit failed(telnetErrorNumber(error), reason);
        lost();
    });
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        if (!m_wanted || m_down) {
            return;
        }
        if (m_socket.bytesAvailable() > 0) {
            // The node's last words are still in the buffer: the hang-up is said once they are taken.
            m_hungUp = true;
            emit readyToTake();
            return;
        }
        hangUp();
    });
    // A burst beyond this waits in the system, and TCP holds the node back, instead of filling the program.
    m_socket.setReadBufferSize(ReadBufferBytes);
}

TelnetConnection::~TelnetConnection()
{
    // The socket's closing must not call back into what is already gone of this object.
    m_socket.disconnect(this);
    m_socket.abort();
}

void TelnetConnection::open(const Options& options)
{
    close();
    m_options = options;
    m_backoff.reset();
    m_wanted = true;
    connectNow();
}

void TelnetConnection::connectNow()
{
    m_hungUp = false;
    letIn();
    m_socket.abort();
    m_receiver.reset();
    m_loginTimer.stop();
    m_keepAliveTimer.stop();
    m_down = false;
    m_socket.connectToHost(m_options.host, m_options.port);
}

void TelnetConnection::close()
{
    m_wanted = false;
    m_hungUp = false;
    letIn();
    m_reconnectTimer.stop();
    m_keepAliveTimer.stop();
    m_loginTimer.stop();
    m_socket.abort();
    m_receiver.reset();
    m_backoff.reset();
}

bool TelnetConnection::isConnected() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool TelnetConnection::send(std::string_view text)
{
    if (!isConnected()) {
        return false;
    }
    m_keepAlive.traffic(nowMs());
    return m_socket.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

std::vector<std::string> TelnetConnection::take(std::string& monitorText, bool dxOnly, std::size_t maxBytes)
{
    const QByteArray received = m_socket.read(static_cast<qint64>(maxBytes));
    if (m_hungUp && m_socket.bytesAvailable() == 0) {
        // After the caller has handed on what this take gives.
        QMetaObject::invokeMethod(this, &TelnetConnection::hangUpOnceTaken, Qt::QueuedConnection);
    }
    if (received.isEmpty()) {
        return {};
    }
    m_bytesReceived += static_cast<std::uint64_t>(received.size());
    m_keepAlive.traffic(nowMs());
    TelnetReceived taken = m_receiver.take(std::string_view(received.constData(),
                                               static_cast<std::size_t>(received.size())),
        nowMs(), monitorText, dxOnly);
    if (!taken.replies.empty()) {
        m_socket.write(taken.replies.data(), static_cast<qint64>(taken.replies.size()));
    }
    if (taken.loginPrompt) {
        sendLogin();
    } else {
        armLoginDue();
    }
    return std::move(taken.spots);
}

std::size_t TelnetConnection::bytesWaiting() const
{
    return static_cast<std::size_t>(m_socket.bytesAvailable());
}

bool TelnetConnection::moreOnTheWay() const
{
    int received = 0;
    return isConnected() && ::ioctl(static_cast<int>(m_socket.socketDescriptor()), FIONREAD, &received) == 0
        && received > 0;
}

void TelnetConnection::holdBack()
{
    m_heldBack = true;
    m_socket.setReadBufferSize(1);
}

void TelnetConnection::letIn()
{
    m_heldBack = false;
    m_socket.setReadBufferSize(ReadBufferBytes);
}

void TelnetConnection::hangUpOnceTaken()
{
    if (std::exchange(m_hungUp, false)) {
        hangUp();
    }
}

void TelnetConnection::hangUp()
{
    emit closedByNode();
    lost();
}

void TelnetConnection::lost()
{
    // An error while connected is followed by the disconnection: one loss, said once.
    m_down = true;
    m_keepAliveTimer.stop();
    m_loginTimer.stop();
    if (!m_options.autoReconnect) {
        m_wanted = false;
        m_socket.abort();
        return;
    }
    const std::int64_t delay = m_backoff.lost(nowMs());
    m_reconnectTimer.start(static_cast<int>(delay));
    emit reconnectScheduled(static_cast<int>(delay));
}

void TelnetConnection::sendLogin()
{
    m_loginTimer.stop();
    if (m_options.loginCall.empty() || !send(m_options.loginCall + "\r\n")) {
        return;
    }
    m_receiver.promptAnswered();
    emit sentForOperator(toQString(m_options.loginCall) + QStringLiteral("\r\n"));
}

void TelnetConnection::armKeepAlive()
{
    if (!m_options.keepAlive || !isConnected()) {
        return;
    }
    m_keepAliveTimer.start(static_cast<int>(std::max<std::int64_t>(0, m_keepAlive.dueAtMs() - nowMs())));
}

void TelnetConnection::armLoginDue()
{
    const std::optional<std::int64_t> due = m_receiver.loginPromptDueAtMs();
    if (!due || m_options.loginCall.empty()) {
        m_loginTimer.stop();
        return;
    }
    m_loginTimer.start(static_cast<int>(std::max<std::int64_t>(0, *due - nowMs())));
}

int telnetErrorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return 10061;
    case QAbstractSocket::RemoteHostClosedError:
        return 10054;
    case QAbstractSocket::HostNotFoundError:
        return 11001;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
        return 10060;
    case QAbstractSocket::DatagramTooLargeError:
        return 10040;
    case QAbstractSocket::NetworkError:
        return 10051;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10043;
    default:
        return 20000 + static_cast<int>(error);
    }
}

} // namespace brindle
