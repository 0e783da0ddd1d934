// The AGW Packet Engine client, against the real Dire Wolf hearing packets through its audio input.

#include "spots/AgwClient.h"

#include "spots/AgwSession.h"
#include "support/DireWolfProcess.h"
#include "support/FreePort.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle::test {
namespace {

using namespace std::string_literals;

class AgwClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(direwolf.failure(), "");
        client.setEngineAddress(QStringLiteral("127.0.0.1"), direwolf.agwPort());
        client.registerCall("N0CALL");
        ASSERT_TRUE(QTest::qWaitFor([this] { return registered.size() == 1 || failed.size() > 0; }, 10000));
        ASSERT_EQ(failed.size(), 0) << failed[0][0].toString().toStdString();
        session.setOwnCall("N0CALL");
    }
    // The next frame the engine sends, as the spotting window's poll takes it.
    std::optional<AgwFrame> nextFrame()
    {
        std::optional<AgwFrame> frame;
        (void)QTest::qWaitFor([&] { return (frame = client.takeFrame()).has_value(); }, 10000);
        return frame;
    }

    DireWolfProcess direwolf;
    AgwClient client;
    QSignalSpy registered { &client, &AgwClient::registered };
    QSignalSpy failed { &client, &AgwClient::failed };
    AgwSession session;
};

TEST_F(AgwClientTest, aHeardPacketIsMonitoredAndASpotAmongThemHandedOver)
{
    struct Case
    {
        QByteArray packet;
        std::vector<std::string> shown;
        std::optional<std::string> spot;
    };
    const std::string spot = "DX de W1AW: 14025.0 Q9ZZZ CQ 1200Z\r\n";
    const std::vector<Case> cases {
        { "W1AW>APRS:DX de W1AW: 14025.0 Q9ZZZ CQ 1200Z", { spot }, spot },
        { "K1ABC-7>BEACON:Hello", {}, std::nullopt },
    };
    for (const Case& c : cases) {
        ASSERT_EQ(direwolf.hear(c.packet), "");
        const std::optional<AgwFrame> frame = nextFrame();
        ASSERT_TRUE(frame) << direwolf.output().toStdString();
        const QByteArray from = c.packet.left(c.packet.indexOf('>'));
        EXPECT_EQ(frame->kind, 'U');
        EXPECT_EQ(frame->callFrom, from.toStdString());
        // Dire Wolf ends the text with one CR and counts the NUL after it in the length.
        const std::string text = c.packet.mid(c.packet.indexOf(':') + 1).toStdString() + "\r\0"s;
        EXPECT_TRUE(frame->data.ends_with(text)) << frame->data;

        const AgwFrameOutcome outcome = session.take(*frame, {}, false);
        EXPECT_EQ(outcome.spotLines, c.spot ? std::vector<std::string> { *c.spot } : std::vector<std::string> {})
            << c.packet.constData();
        if (c.spot) {
            EXPECT_EQ(outcome.monitorTexts, c.shown);
        } else {
            // Shown with the engine's description of the packet, as the engine words it.
            ASSERT_EQ(outcome.monitorTexts.size(), 1u);
            EXPECT_TRUE(outcome.monitorTexts[0].starts_with("U" + from.toStdString() + "  1:Fm " + from.toStdString()))
                << outcome.monitorTexts[0];
            EXPECT_TRUE(outcome.monitorTexts[0].ends_with("]\r\nHello\r\n")) << outcome.monitorTexts[0];
        }
    }
    EXPECT_EQ(failed.size(), 0);
}

TEST_F(AgwClientTest, aConnectionRequestGoesOnTheAirFromTheOwnCall)
{
    const AgwSendOutcome sent = session.send(":c w1aw-5");
    ASSERT_EQ(sent.requests.size(), 1u);
    ASSERT_TRUE(client.send(sent.requests[0]));
    // With monitoring on, the engine reports what it transmits: the call for the station.
    const std::optional<AgwFrame> frame = nextFrame();
    ASSERT_TRUE(frame) << direwolf.output().toStdString();
    EXPECT_EQ(frame->kind, 'T');
    EXPECT_EQ(frame->callFrom, "N0CALL");
    EXPECT_EQ(frame->callTo, "W1AW-5");
    EXPECT_NE(frame->data.find("<SABM"), std::string::npos) << frame->data;
    EXPECT_EQ(session.connectedStation(), "") << "a request is not yet a connection";

    client.close();
    EXPECT_FALSE(client.send(sent.requests[0]));
    EXPECT_FALSE(client.takeFrame());
    QTest::qWait(100);
    EXPECT_EQ(failed.size(), 0) << "closing is no failure";
}

TEST_F(AgwClientTest, registeringAgainStartsAFreshConnectionStillMonitoring)
{
    client.registerCall("N0CALL");
    ASSERT_TRUE(QTest::qWaitFor([this] { return registered.size() == 2 || failed.size() > 0; }, 10000));
    EXPECT_EQ(failed.size(), 0) << "the connection it dropped is no failure";
    ASSERT_EQ(direwolf.hear("W1AW>APRS:DX de W1AW: 7025.0 Q9ZZZ"), "");
    const std::optional<AgwFrame> frame = nextFrame();
    ASSERT_TRUE(frame) << direwolf.output().toStdString();
    EXPECT_EQ(session.take(*frame, {}, false).spotLines, std::vector<std::string> { "DX de W1AW: 7025.0 Q9ZZZ\r\n" });
}

TEST(AgwClientAbsentTest, noEngineIsReportedAndNothingWaits)
{
    const int port = freeLoopbackPort();
    AgwClient client;
    QSignalSpy registered(&client, &AgwClient::registered);
    QSignalSpy failed(&client, &AgwClient::failed);
    client.setEngineAddress(QStringLiteral("127.0.0.1"), port);
    client.registerCall("N0CALL");
    EXPECT_EQ(failed.size(), 0) << "registering returns before the network has answered";
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() > 0; }, 10000));
    EXPECT_EQ(failed.size(), 1);
    const QString reason = failed[0][0].toString();
    EXPECT_TRUE(reason.contains(QStringLiteral("127.0.0.1:%1").arg(port))) << reason.toStdString();
    EXPECT_TRUE(reason.contains(QStringLiteral("refused"), Qt::CaseInsensitive)) << reason.toStdString();
    EXPECT_EQ(registered.size(), 0);
    EXPECT_FALSE(client.isRegistered());
    EXPECT_FALSE(client.send(agwMonitorRequest()));
}

// A service on the engine's port that is not the engine, or an engine that will not have the call.
TEST(AgwClientWrongPeerTest, whatIsNotARegistrationIsReportedInWords)
{
    struct Case
    {
        std::string reply;
        const char* reason;
    };
    const std::vector<Case> cases {
        { encodeAgwFrame({ 0, 'X', 0, "N0CALL", "", "\0"s }), "refused to register N0CALL" },
        { "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n", "is not the AGW Packet Engine's" },
    };
    for (const Case& c : cases) {
        QTcpServer peer;
        ASSERT_TRUE(peer.listen(QHostAddress::LocalHost));
        QObject::connect(&peer, &QTcpServer::newConnection, [&] {
            QTcpSocket* socket = peer.nextPendingConnection();
            socket->setParent(&peer);
            socket->write(c.reply.data(), static_cast<qint64>(c.reply.size()));
        });
        AgwClient client;
        QSignalSpy registered(&client, &AgwClient::registered);
        QSignalSpy failed(&client, &AgwClient::failed);
        client.setEngineAddress(QStringLiteral("127.0.0.1"), peer.serverPort());
        client.registerCall("N0CALL");
        ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() > 0; }, 10000)) << c.reason;
        EXPECT_TRUE(failed[0][0].toString().contains(QLatin1String(c.reason))) << failed[0][0].toString().toStdString();
        EXPECT_EQ(registered.size(), 0);
        EXPECT_FALSE(client.takeFrame());
    }
}

} // namespace
} // namespace brindle::test
