#pragma once

#include "spots/AgwFrame.h"

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include <deque>
#include <optional>
#include <string>

namespace brindle {

// The connection to the AGW Packet Engine (AGWPE, or Dire Wolf's AGW port). It never waits on the
// network: registering connects and returns at once, and the outcome comes later as registered() or
// failed(). Frames the engine sends queue up until the spotting window's poll takes them.
class AgwClient : public QObject
{
    Q_OBJECT

public:
    explicit AgwClient(QObject* parent = nullptr);
    ~AgwClient() override;

    void setEngineAddress(const QString& host, int port);
    QString engineAddress() const;

    // Connects, asks for the monitored packets and registers the own call, so that connected
    // stations' data reaches us.
    void registerCall(const std::string& ownCall);
    bool isRegistered() const
    {
        return m_registered;
    }
    // A request built by the core (agwDataRequest, ...); false when there is no connection to send it on.
    bool send(const std::string& request);
    // The oldest frame not yet taken; nothing when none waits.
    std::optional<AgwFrame> takeFrame();
    std::size_t framesWaiting() const
    {
        return m_frames.size();
    }
    // Ends the connection once what was sent is on its way; frames not taken are dropped.
    void close();

signals:
    void registered();
    // Registration did not succeed, or the registered connection was lost; why, in words.
    void failed(const QString& reason);

private:
    void takeBytes();
    void fail(const QString& reason);

    QString m_host = QStringLiteral("127.0.0.1");
    int m_port = DefaultAgwPort;
    QTcpSocket m_socket;
    AgwFrameReader m_reader;
    std::deque<AgwFrame> m_frames;
    QTimer m_registrationTimer;
    std::string m_ownCall;
    bool m_wanted = false;
    bool m_registered = false;
};

} // namespace brindle
