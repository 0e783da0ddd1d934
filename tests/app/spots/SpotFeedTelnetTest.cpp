// The spot feed on a Telnet cluster node: a real TCP connection on loopback to a node the test plays,
// the way DXSpider and AR-Cluster greet, ask for the call and send their spots.

#include "spots/SpotFeed.h"

#include "os/PosixFileSystem.h"
#include "serial/QtSerialPort.h"
#include "spots/MonitorText.h"
#include "spots/TelnetConnection.h"
#include "support/FreePort.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace brindle::test {
namespace {

using namespace std::string_literals;

constexpr int WaitMs = 5000;

const std::string Greeting = "Hello, this is the test node, running DXSpider.\r\n\r\n";
const std::string Welcome = "\r\nHello N0CALL, this is TESTNODE in Newington running DXSpider\r\n";
const std::string W1aw = "DX de W1AW:      14025.0  Q9ZZZ        CQ                       1200Z";
const std::string Skimmer = "DX de KM3T-2-#:  14025.0  Q9ZZZ        CW 24 dB 22 WPM CQ      1200Z";
const std::string K1abc = "DX de K1ABC:      7005.0  Q9YY         599                      1201Z";
const std::string K2xx = "DX de K2XX:       3505.0  Q9XX         up 2                     1202Z";
const std::string Wwv = "WWV de VE7CC <18>:   SFI=70, A=5, K=1, No Storms -> No Storms";

// The node's end: one listening port and the user connected to it.
class ClusterNode
{
public:
    bool listen(quint16 port = 0)
    {
        return m_server.listen(QHostAddress::LocalHost, port);
    }
    void stopListening()
    {
        m_server.close();
    }
    quint16 port() const
    {
        return m_server.serverPort();
    }

    // The next user to connect; false when none came.
    bool accept()
    {
        if (!QTest::qWaitFor([this] { return m_server.hasPendingConnections(); }, 10000)) {
            return false;
        }
        m_user.reset(m_server.nextPendingConnection());
        m_user->setParent(nullptr);
        // Every write its own segment, so that the pieces a test sends reach the feed as they were cut.
        m_user->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_heard.clear();
        return true;
    }
    void send(const std::string& bytes)
    {
        m_user->write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    void hangUp()
    {
        m_user->disconnectFromHost();
    }
    // Whether what the user sent holds the text, once it does.
    bool hears(const std::string& text)
    {
        return QTest::qWaitFor(
            [&] {
                m_heard += m_user->readAll().toStdString();
                return m_heard.find(text) != std::string::npos;
            },
            WaitMs);
    }
    const std::string& heard() const
    {
        return m_heard;
    }

private:
    QTcpServer m_server;
    std::unique_ptr<QTcpSocket> m_user;
    std::string m_heard;
};

class SpotFeedTelnetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(node.listen());
        nodePort = node.port();
        feed.settings().source = "Telnet";
        feed.settings().telnetHost = "127.0.0.1";
        feed.settings().telnetPort = std::to_string(node.port());
        QObject::connect(&feed, &SpotFeed::spotLine, [this](const std::string& line) { spots.push_back(line); });
    }

    std::string attempting() const
    {
        return "Attempting connection to: 127.0.0.1:" + std::to_string(nodePort) + "\r\n\r\n";
    }

    // Connected, greeted and logged in as the node asks.
    void logIn(const std::string& prompt = "login: ")
    {
        ASSERT_TRUE(node.accept());
        node.send(Greeting + prompt);
        ASSERT_TRUE(node.hears("N0CALL\r\n")) << node.heard();
        EXPECT_EQ(node.heard(), "N0CALL\r\n");
        node.send(Welcome);
    }

    // The node sends the pieces one at a time, each taken by the feed before the next goes, and then a
    // spot of the test's own. The stream keeps its order, so once that spot is handed over everything
    // before it has been taken: the spots it made are returned.
    std::vector<std::string> spotsFrom(const std::vector<std::string>& pieces)
    {
        const std::size_t before = spots.size();
        for (const std::string& piece : pieces) {
            const std::uint64_t expected = feed.telnet().bytesReceived() + piece.size();
            node.send(piece);
            if (!QTest::qWaitFor([&] { return feed.telnet().bytesReceived() >= expected; }, 20000)) {
                ADD_FAILURE() << "the node's text never arrived";
                return {};
            }
        }
        const std::string marker = "DX de MARK-" + std::to_string(++m_markers) + ": the node's text ends here";
        node.send(marker + "\r\n");
        if (!QTest::qWaitFor([&] { return !spots.empty() && spots.back() == marker; }, WaitMs)) {
            ADD_FAILURE() << "the marker never came through; monitor:\n" << feed.monitorText();
            return {};
        }
        return { spots.begin() + static_cast<std::ptrdiff_t>(before), spots.end() - 1 };
    }

    ClusterNode node;
    quint16 nodePort = 0;
    TempFolder temp;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    SpotFeed feed { fs, temp.path(), dialogs,
        [this] { return std::make_unique<QtSerialPort>([this](int) { return temp.file("no-tnc"); }); } };
    std::vector<std::string> spots;

private:
    int m_markers = 0;
};

TEST_F(SpotFeedTelnetTest, theNodesPromptIsAnsweredWithTheCallAndEchoed)
{
    struct Case
    {
        const char* what;
        std::string loginCall;
        std::vector<std::string> prompt; // as the node's writes cut it
        std::string call;
    };
    const std::vector<Case> cases {
        { "DXSpider's prompt, no line end, the own call", "", { "login: " }, "N0CALL" },
        { "AR-Cluster's prompt, its own call set", " K1ABC ", { "Please enter your call: " }, "K1ABC" },
        { "a prompt split across writes", "", { "log", "in", ": " }, "N0CALL" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        feed.settings().telnetLoginCall = c.loginCall;
        feed.settings().telnetHost = " 127.0.0.1 ";
        feed.settings().telnetPort = " " + std::to_string(node.port()) + " ";
        feed.openConnection("N0CALL");
        EXPECT_TRUE(feed.isOpen());
        EXPECT_TRUE(feed.isPolling());
        EXPECT_EQ(feed.monitorText(), attempting()) << "the feed returns before the network answers";

        ASSERT_TRUE(node.accept());
        std::uint64_t sent = feed.telnet().bytesReceived();
        for (std::size_t i = 0; i < c.prompt.size(); ++i) {
            const std::string bytes = i == 0 ? Greeting + c.prompt[i] : c.prompt[i];
            node.send(bytes);
            sent += bytes.size();
            ASSERT_TRUE(QTest::qWaitFor([&] { return feed.telnet().bytesReceived() >= sent; }, WaitMs));
        }
        ASSERT_TRUE(node.hears(c.call + "\r\n")) << node.heard();
        EXPECT_EQ(node.heard(), c.call + "\r\n") << "once";
        std::string shownPrompt;
        for (const std::string& piece : c.prompt) {
            shownPrompt += piece;
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return feed.monitorText().ends_with(c.call + "\r\n"); }, WaitMs));
        EXPECT_EQ(feed.monitorText(), attempting() + Greeting + shownPrompt + c.call + "\r\n");

        feed.sendLine("SH/DX 10");
        EXPECT_TRUE(node.hears("SH/DX 10\r\n")) << node.heard();
        feed.closeConnection();
        EXPECT_FALSE(feed.isOpen());
        EXPECT_FALSE(feed.isPolling());
        EXPECT_TRUE(feed.monitorText().ends_with("\r\n\r\n** Port Closed **"));
    }
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SpotFeedTelnetTest, withLoggingInByItselfOffTheOperatorAnswersTheNode)
{
    feed.settings().autoLogin = false;
    feed.settings().telnetLoginCall = "K1ABC";
    feed.openConnection("N0CALL");
    ASSERT_TRUE(node.accept());
    const std::string prompt = "Please enter your call: ";
    node.send(Greeting + prompt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.monitorText().ends_with(prompt); }, WaitMs)) << feed.monitorText();
    // What this node wants at its prompt, typed by the operator: the only thing it hears.
    feed.sendLine("K1ABC-7 secret");
    ASSERT_TRUE(node.hears("K1ABC-7 secret\r\n")) << node.heard();
    EXPECT_EQ(node.heard(), "K1ABC-7 secret\r\n");
}

TEST_F(SpotFeedTelnetTest, spotsAreHandedOverWholeHoweverTheReadsCutThem)
{
    const std::string session = W1aw + "\r\n" + Skimmer + "\r\n" + Wwv + "\r\n" + K1abc + "\r" + K2xx + "\n";
    const std::vector<std::string> expected { W1aw, Skimmer, K1abc, K2xx };
    const std::size_t firstCr = session.find('\r');
    struct Case
    {
        const char* what;
        std::vector<std::size_t> cuts;
    };
    std::vector<Case> cases {
        { "several lines in one write", {} },
        { "within the first DX", { 1 } },
        { "between DX and de", { 2 } },
        { "between a CR and its LF", { firstCr + 1 } },
        { "a line's end in a later write", { firstCr } },
        { "a bare CR at the end of a read", { session.find(K1abc) + K1abc.size() + 1 } },
    };
    Case everyFew { "every seven bytes", {} };
    Case everyByte { "every byte", {} };
    for (std::size_t at = 1; at < session.size(); ++at) {
        everyByte.cuts.push_back(at);
        if (at % 7 == 0) {
            everyFew.cuts.push_back(at);
        }
    }
    cases.push_back(everyFew);
    cases.push_back(everyByte);

    feed.openConnection("N0CALL");
    logIn();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> pieces;
        std::size_t from = 0;
        for (const std::size_t cut : c.cuts) {
            pieces.push_back(session.substr(from, cut - from));
            from = cut;
        }
        pieces.push_back(session.substr(from));
        EXPECT_EQ(spotsFrom(pieces), expected);
        // Shown as it came, line ends and the line that is no spot included.
        EXPECT_NE(feed.monitorText().find(session), std::string::npos);
    }

    // With DX only, the spots alone are shown, a line each.
    feed.settings().dxOnly = true;
    const std::size_t shown = feed.monitorText().size();
    EXPECT_EQ(spotsFrom({ session }), expected);
    const std::string added = feed.monitorText().substr(shown);
    EXPECT_EQ(
        added.substr(0, added.rfind("DX de MARK-")), W1aw + "\r\n" + Skimmer + "\r\n" + K1abc + "\r\n" + K2xx + "\r\n");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(SpotFeedTelnetTest, noiseOnTheLineBreaksNoLaterSpot)
{
    feed.openConnection("N0CALL");
    // Telnet option negotiation before the greeting, as a node's Telnet daemon sends it.
    ASSERT_TRUE(node.accept());
    node.send("\xFF\xFB\x01\xFF\xFB\x03\xFF\xFD\x18"s + Greeting + "login: ");
    ASSERT_TRUE(node.hears("N0CALL\r\n")) << node.heard();

    std::string binary;
    for (int i = 0; i < 3000; ++i) {
        binary += static_cast<char>((i * 37) % 256);
    }
    const std::vector<std::string> noise {
        "\xFF\xFD\x01\xFF\xFA\x18\x01\xFF\xF0"s,
        std::string(64, '\0'),
        std::string(300, '\xFF'),
        binary,
        "\r\n\0\0\r\0\n"s,
    };
    EXPECT_EQ(spotsFrom(noise), std::vector<std::string> {});
    EXPECT_EQ(spotsFrom({ W1aw + "\r\n" }), std::vector<std::string> { W1aw });
    // NUL is Telnet's padding after a CR and never part of a line.
    EXPECT_EQ(spotsFrom({ "DX de W1AW:\0"s, "      14025.0  Q9ZZZ        CQ                       1200Z\r\0"s }),
        std::vector<std::string> { W1aw });
    EXPECT_LE(feed.monitorText().size(), MonitorLimit);
    EXPECT_TRUE(feed.isOpen());
    EXPECT_TRUE(feed.telnet().isConnected());
}

TEST_F(SpotFeedTelnetTest, theNodesTelnetNegotiationIsRefusedAndNeverReachesALine)
{
    feed.openConnection("N0CALL");
    ASSERT_TRUE(node.accept());
    // What a node's Telnet daemon opens with: it will echo and suppress go-ahead, and asks for the
    // terminal type and window size.
    node.send("\xFF\xFB\x01\xFF\xFB\x03\xFF\xFD\x18\xFF\xFD\x1F"s + Greeting + "login: ");
    ASSERT_TRUE(node.hears("N0CALL\r\n")) << node.heard();
    EXPECT_EQ(node.heard(), "\xFF\xFE\x01\xFF\xFE\x03\xFF\xFC\x18\xFF\xFC\x1F"s + "N0CALL\r\n");
    node.send(Welcome);

    // Keep-alive NOPs before spots, a command cut between writes, a subnegotiation, a doubled IAC.
    const std::vector<std::string> pieces {
        "\xFF\xF1"s + W1aw + "\r\n",
        "\xFF"s,
        "\xF1"s + K1abc + "\r\n\xFF\xFA\x18\x01\xFF\xF0" + K2xx + "\r\n",
        "\xFF\xFC\x01\xFF\xFE\x03talk \xFF\xFF\r\n"s,
    };
    EXPECT_EQ(spotsFrom(pieces), (std::vector<std::string> { W1aw, K1abc, K2xx }));
    EXPECT_EQ(feed.monitorText().find("\xFF\xF1"s), std::string::npos) << "no command shown";
    EXPECT_NE(feed.monitorText().find("talk \xFF\r\n"s), std::string::npos);
    EXPECT_EQ(node.heard().find('\xFF', node.heard().find("N0CALL")), std::string::npos)
        << "a NOP, a subnegotiation and the node's own refusals are not answered";
}

TEST_F(SpotFeedTelnetTest, aMegabyteWithoutALineEndIsDroppedAndTheSpotAfterItHandedOver)
{
    feed.openConnection("N0CALL");
    logIn();
    // Made of what looks like spots, so that no piece of it may pass for one.
    std::string giant;
    while (giant.size() < 1'000'000) {
        giant += "DX de Q9FAKE:    14000.0  Q9NOT        never a spot             0000Z ";
    }
    EXPECT_EQ(spotsFrom({ giant, "\r\n" + K1abc + "\r\n" }), std::vector<std::string> { K1abc });
    EXPECT_EQ(feed.telnet().receiver().lines().droppedLines(), 1u);
    const std::string& monitor = feed.monitorText();
    EXPECT_LE(monitor.size(), MonitorLimit);
    EXPECT_NE(monitor.find(K1abc + "\r\n"), std::string::npos);
    EXPECT_TRUE(feed.telnet().isConnected());
}

TEST_F(SpotFeedTelnetTest, aNodeThatHangsUpIsReachedAgainWhenReconnectingIsOn)
{
    feed.settings().autoReconnect = true;
    feed.openConnection("N0CALL");
    logIn();
    EXPECT_EQ(spotsFrom({ W1aw + "\r\n" }), std::vector<std::string> { W1aw });

    // The node goes down: it hangs up and stops listening, so the first attempt is refused.
    node.send(K1abc + "\r\n");
    node.hangUp();
    node.stopListening();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return feed.monitorText().find("** Connecting again in 4 s **") != std::string::npos; }, 10000))
        << feed.monitorText();
    EXPECT_EQ(spots.back(), K1abc) << "what the node sent before hanging up";
    EXPECT_TRUE(feed.isOpen());
    const std::string& monitor = feed.monitorText();
    const std::string dropped = K1abc + "\r\n\r\n** The cluster node closed the connection **\r\n"
        + "** Connecting again in 2 s **\r\n" + attempting()
        + "\r\nERROR: Connection is forcefully rejected.\r\n** Connecting again in 4 s **\r\n";
    EXPECT_TRUE(monitor.ends_with(dropped)) << monitor;

    // Back up on the same port: the feed finds it by itself, logs in again and takes spots.
    ASSERT_TRUE(node.listen(nodePort));
    logIn("Please enter your call: ");
    EXPECT_EQ(spotsFrom({ Skimmer + "\r\n" }), std::vector<std::string> { Skimmer });
    EXPECT_TRUE(feed.isOpen());
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SpotFeedTelnetTest, aNodeThatHangsUpClosesTheConnectionWhenReconnectingIsOff)
{
    QSignalSpy openChanged(&feed, &SpotFeed::openChanged);
    feed.openConnection("N0CALL");
    logIn();
    node.send(K1abc + "\r\n");
    node.hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !feed.isOpen(); }, WaitMs));
    EXPECT_EQ(spots, std::vector<std::string> { K1abc }) << "what the node sent before hanging up";
    EXPECT_TRUE(feed.monitorText().ends_with(
        K1abc + "\r\n\r\n** The cluster node closed the connection **\r\n\r\n\r\n** Port Closed **"))
        << feed.monitorText();
    EXPECT_FALSE(feed.isPolling());
    EXPECT_FALSE(feed.telnet().isWaitingToReconnect());
    ASSERT_EQ(openChanged.size(), 2);
    EXPECT_FALSE(openChanged[1][0].toBool());

    feed.sendLine("SH/DX");
    EXPECT_TRUE(feed.monitorText().ends_with(
        "**  Connection not yet established.  Please wait a moment and try again.\r\n\r\n"));
}

TEST_F(SpotFeedTelnetTest, aRefusedConnectionIsReportedAndClosed)
{
    const int port = freeLoopbackPort();
    feed.settings().telnetPort = std::to_string(port);
    feed.openConnection("N0CALL");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !feed.isOpen(); }, WaitMs)) << feed.monitorText();
    EXPECT_EQ(feed.monitorText(),
        "Attempting connection to: 127.0.0.1:" + std::to_string(port)
            + "\r\n\r\nERROR: Connection is forcefully rejected.\r\n\r\n** Port Closed **");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(feed.isPolling());
    EXPECT_FALSE(feed.telnet().isWaitingToReconnect());
}

TEST_F(SpotFeedTelnetTest, aPortThatIsNoNumberStartsNothing)
{
    for (const std::string port : { "", "telnet", "7300x", "0", "65536", "-23" }) {
        SCOPED_TRACE(port);
        feed.settings().telnetPort = port;
        feed.openConnection("N0CALL");
        EXPECT_EQ(feed.monitorText(), "** Attempting to Open Port **\r\n\r\n");
        EXPECT_TRUE(feed.isOpen());
        EXPECT_FALSE(feed.isPolling());
    }
}

} // namespace
} // namespace brindle::test
