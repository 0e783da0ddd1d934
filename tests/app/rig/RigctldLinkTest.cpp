// The connection to Hamlib's rig daemon, against the real rigctld and its dummy radio.

#include "rig/RigctldLink.h"

#include "support/FreePort.h"
#include "support/RigctldProcess.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

class RigctldLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(rigctld.failure(), "");
        QObject::connect(&rig, &RigctldLink::frequencyRead, [this](double freq) { frequency = freq; });
        QObject::connect(&rig, &RigctldLink::modeRead, [this](const QString& read) { mode = read; });
        rig.connectTo({ "127.0.0.1", rigctld.port() });
        ASSERT_TRUE(QTest::qWaitFor([this] { return rig.isConnected(); }, 5000));
    }
    // Polls until the reading is there, as the poll timer would.
    bool pollUntil(double wantedMHz, const char* wantedMode)
    {
        return QTest::qWaitFor(
            [&] {
                rig.poll();
                return std::abs(frequency - wantedMHz) < 1e-6 && mode == QString::fromLatin1(wantedMode);
            },
            5000);
    }

    RigctldProcess rigctld;
    RigctldLink rig;
    double frequency = 0;
    QString mode;
};

TEST_F(RigctldLinkTest, theRadiosFrequencyAndModeFollowTheDial)
{
    // The dummy radio starts on 145 MHz FM.
    EXPECT_TRUE(pollUntil(145.0, "FM"));
    ASSERT_EQ(rigctld.command("F 14025000\nM CW 500\n"), "RPRT 0\nRPRT 0\n");
    EXPECT_TRUE(pollUntil(14.025, "CW"));
    ASSERT_EQ(rigctld.command("F 7150000\nM LSB 2400\n"), "RPRT 0\nRPRT 0\n");
    EXPECT_TRUE(pollUntil(7.15, "PH"));
}

TEST_F(RigctldLinkTest, aRestartedDaemonIsFoundAgainWithoutTheOperator)
{
    QSignalSpy changes(&rig, &RigctldLink::connectionChanged);
    ASSERT_TRUE(pollUntil(145.0, "FM"));

    rigctld.stop();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !rig.isConnected(); }, 5000));
    ASSERT_GE(changes.size(), 1);
    EXPECT_FALSE(changes.back()[0].toBool());
    rig.poll(); // polls while it is away do nothing
    QTest::qWait(1500);
    const qsizetype whileAway = changes.size();

    rigctld.start();
    ASSERT_EQ(rigctld.failure(), "");
    ASSERT_TRUE(QTest::qWaitFor([this] { return rig.isConnected(); }, 5000));
    EXPECT_TRUE(changes.back()[0].toBool());
    EXPECT_LE(whileAway, 3) << "a daemon that stays away is reported once, not every second";
    ASSERT_EQ(rigctld.command("F 21025000\nM CW 500\n"), "RPRT 0\nRPRT 0\n");
    EXPECT_TRUE(pollUntil(21.025, "CW"));
}

TEST(RigctldLinkAbsentTest, noDaemonIsReportedAndNothingWaits)
{
    const int port = freeLoopbackPort();
    RigctldLink rig;
    QSignalSpy changes(&rig, &RigctldLink::connectionChanged);
    rig.connectTo({ "127.0.0.1", port });
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes.size() > 0; }, 5000));
    EXPECT_FALSE(changes[0][0].toBool());
    EXPECT_FALSE(changes[0][1].toString().isEmpty());
    rig.poll();
    EXPECT_FALSE(rig.isConnected());
}

TEST(RigctldLinkHungTest, aDaemonThatStopsAnsweringIsConnectedToAfresh)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    int accepted = 0;
    QObject::connect(&silent, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* peer = silent.nextPendingConnection()) {
            ++accepted;
            peer->setParent(&silent);
        }
    });
    RigctldLink rig;
    QSignalSpy changes(&rig, &RigctldLink::connectionChanged);
    rig.connectTo({ "127.0.0.1", silent.serverPort() });
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.isConnected() && accepted == 1; }, 5000));

    for (int poll = 0; poll < 6; ++poll) {
        rig.poll();
    }
    ASSERT_GE(changes.size(), 2);
    EXPECT_FALSE(changes.back()[0].toBool());
    EXPECT_EQ(changes.back()[1].toString(), QStringLiteral("rigctld stopped answering"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return accepted == 2 && rig.isConnected(); }, 5000)) << "and tried again";
}

} // namespace
} // namespace brindle::test
