#include "RigctldLink.h"

#include "common/QtText.h"

#include <utility>

namespace brindle {

namespace {

constexpr int ReconnectMs = 1000;
// Polls skipped while replies are still due before the daemon is taken as hung.
constexpr int HungAfterPolls = 5;

} // namespace

RigctldLink::RigctldLink(QObject* parent)
    : QObject(parent)
{
    m_reconnectTimer.setSingleShot(true);
    m_reconnectTimer.setInterval(ReconnectMs);
    connect(&m_reconnectTimer, &QTimer::timeout, this, &RigctldLink::tryAgain);
    connect(&m_socket, &QTcpSocket::readyRead, this, &RigctldLink::takeReplies);
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_protocol.reset();
        m_unansweredPolls = 0;
        m_connected = true;
        m_lastFailure.clear();
        emit connectionChanged(true, {});
    });
    connect(
        &m_socket, &QTcpSocket::disconnected, this, [this] { lose(QStringLiteral("rigctld closed the connection")); });
    connect(&m_socket, &QTcpSocket::errorOccurred, this,
        [this](QAbstractSocket::SocketError) { lose(m_socket.errorString()); });
}

RigctldLink::~RigctldLink()
{
    // The socket's closing must not call back into what is already gone of this object.
    m_socket.disconnect(this);
    m_socket.abort();
}

void RigctldLink::connectTo(const RigctldAddress& address)
{
    m_address = address;
    m_wanted = true;
    m_socket.abort();
    m_protocol.reset();
    // A daemon still away for the same reason as at the last connection is news to this one.
    m_lastFailure.clear();
    tryAgain();
}

void RigctldLink::disconnectFromDaemon()
{
    m_wanted = false;
    m_reconnectTimer.stop();
    m_socket.abort();
    m_protocol.reset();
}

bool RigctldLink::isConnected() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

void RigctldLink::tryAgain()
{
    if (!m_wanted || m_socket.state() != QAbstractSocket::UnconnectedState) {
        return;
    }
    m_socket.connectToHost(QString::fromStdString(m_address.host), static_cast<quint16>(m_address.port));
}

void RigctldLink::poll()
{
    if (!isConnected()) {
        return;
    }
    const std::string request = m_protocol.pollRequest();
    if (request.empty()) {
        if (++m_unansweredPolls >= HungAfterPolls) {
            m_socket.abort();
            lose(QStringLiteral("rigctld stopped answering"));
        }
        return;
    }
    m_unansweredPolls = 0;
    m_socket.write(request.data(), static_cast<qint64>(request.size()));
}

bool RigctldLink::sendCommand(std::string_view command, int tag)
{
    if (!isConnected()) {
        return false;
    }
    const std::string request = m_protocol.commandRequest(command, tag);
    return m_socket.write(request.data(), static_cast<qint64>(request.size())) == static_cast<qint64>(request.size());
}

std::size_t RigctldLink::bytesToWrite() const
{
    return isConnected() ? static_cast<std::size_t>(m_socket.bytesToWrite()) : 0;
}

void RigctldLink::takeReplies()
{
    const QByteArray received = m_socket.readAll();
    const RigctldProtocol::Reading reading
        = m_protocol.take(std::string_view(received.constData(), static_cast<std::size_t>(received.size())));
    if (reading.freqMHz) {
        emit frequencyRead(*reading.freqMHz);
    }
    if (reading.mode) {
        if (const std::optional<std::string_view> mode = rigctldModeText(*reading.mode)) {
            emit modeRead(toQString(*mode));
        }
    }
    for (const auto& [tag, code] : reading.refused) {
        emit commandRefused(tag, toQString(rigctldErrorText(code)));
    }
}

void RigctldLink::lose(const QString& reason)
{
    m_protocol.reset();
    // Let go of on purpose (End Test, another rig chosen): nothing went that anyone must hear of.
    if (!m_wanted) {
        m_connected = false;
        return;
    }
    // A refused connection is tried every second: the operator hears of it once, not every second.
    if (std::exchange(m_connected, false) || reason != m_lastFailure) {
        m_lastFailure = reason;
        emit connectionChanged(false, reason);
    }
    if (m_wanted && !m_reconnectTimer.isActive()) {
        m_reconnectTimer.start();
    }
}

} // namespace brindle
