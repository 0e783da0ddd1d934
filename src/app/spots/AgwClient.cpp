#include "AgwClient.h"

#include "common/QtText.h"

namespace brindle {

namespace {

constexpr int RegistrationTimeoutMs = 10000;
// A poll takes one frame every third of a second; a busy channel with the window closed for hours
// must not fill memory, and the oldest frames are the least worth keeping.
constexpr std::size_t MaxFramesWaiting = 1000;

} // namespace

AgwClient::AgwClient(QObject* parent)
    : QObject(parent)
{
    m_host = toQString(DefaultAgwHost);
    m_registrationTimer.setSingleShot(true);
    m_registrationTimer.setInterval(RegistrationTimeoutMs);
    connect(&m_registrationTimer, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("The AGW Packet Engine at %1 did not answer the registration.").arg(engineAddress()));
    });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        // The engine answers the registration only after it has dealt with the monitoring request
        // before it, so once registered() is out no monitored packet is missed.
        const std::string requests = agwMonitorRequest() + agwRegisterRequest(m_ownCall);
        m_socket.write(requests.data(), static_cast<qint64>(requests.size()));
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, &AgwClient::takeBytes);
    connect(&m_socket, &QTcpSocket::disconnected, this,
        [this] { fail(QStringLiteral("The AGW Packet Engine at %1 closed the connection.").arg(engineAddress())); });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        fail(QStringLiteral("The AGW Packet Engine at %1 cannot be reached: %2.")
                 .arg(engineAddress(), m_socket.errorString()));
    });
}

AgwClient::~AgwClient()
{
    // The socket's closing must not call back into what is already gone of this object.
    m_socket.disconnect(this);
    m_socket.abort();
}

void AgwClient::setEngineAddress(const QString& host, int port)
{
    m_host = host;
    m_port = port;
}

QString AgwClient::engineAddress() const
{
    return QStringLiteral("%1:%2").arg(m_host).arg(m_port);
}

void AgwClient::registerCall(const std::string& ownCall)
{
    // A connection dropped to start afresh is no failure.
    m_wanted = false;
    m_socket.abort();
    m_reader.reset();
    m_frames.clear();
    m_ownCall = ownCall;
    m_registered = false;
    m_wanted = true;
    m_registrationTimer.start();
    m_socket.connectToHost(m_host, static_cast<quint16>(m_port));
}

bool AgwClient::send(const std::string& request)
{
    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        return false;
    }
    return m_socket.write(request.data(), static_cast<qint64>(request.size())) == static_cast<qint64>(request.size());
}

std::optional<AgwFrame> AgwClient::takeFrame()
{
    if (m_frames.empty()) {
        return std::nullopt;
    }
    AgwFrame frame = std::move(m_frames.front());
    m_frames.pop_front();
    return frame;
}

void AgwClient::close()
{
    m_wanted = false;
    m_registered = false;
    m_registrationTimer.stop();
    m_frames.clear();
    m_reader.reset();
    m_socket.disconnectFromHost();
}

void AgwClient::takeBytes()
{
    const QByteArray received = m_socket.readAll();
    AgwFrameReader::Result result
        = m_reader.take(std::string_view(received.constData(), static_cast<std::size_t>(received.size())));
    for (AgwFrame& frame : result.frames) {
        if (frame.kind == 'X' && !m_registered && m_wanted) {
            if (frame.data.empty() || frame.data[0] == 0) {
                fail(QStringLiteral("The AGW Packet Engine at %1 refused to register %2.")
                         .arg(engineAddress(), toQString(m_ownCall)));
                return;
            }
            m_registered = true;
            m_registrationTimer.stop();
            emit registered();
            continue;
        }
        if (m_frames.size() == MaxFramesWaiting) {
            m_frames.pop_front();
        }
        m_frames.push_back(std::move(frame));
    }
    if (result.broken) {
        fail(QStringLiteral("What came from %1 is not the AGW Packet Engine's: %2.")
                 .arg(engineAddress(), toQString(*result.broken)));
    }
}

void AgwClient::fail(const QString& reason)
{
    if (!m_wanted) {
        return;
    }
    m_wanted = false;
    m_registered = false;
    m_registrationTimer.stop();
    m_reader.reset();
    m_socket.abort();
    emit failed(reason);
}

} // namespace brindle
