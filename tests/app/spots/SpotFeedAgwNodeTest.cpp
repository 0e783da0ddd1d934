// The spot feed connected to a DX cluster node over the air, as operators reach packet clusters: the
// feed's AGW Packet Engine and the node's are two Dire Wolf instances whose sound goes to each other, and
// the node is a small AGW client of its own engine that answers the connection as a packet cluster does.

#include "spots/SpotFeed.h"

#include "os/PosixFileSystem.h"
#include "spots/AgwFrame.h"
#include "spots/SpotsModel.h"
#include "station/CountryTable.h"
#include "support/DireWolfRadioLink.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brindle::test {
namespace {

// Bounds on waits for the far engine, which takes seconds per exchange of 1200-baud frames.
constexpr int LinkWaitMs = 30000;

const std::string OwnCall = "N0CALL";
const std::string NodeCall = "W1NODE";
const std::string Greeting = "Hello N0CALL, this is the W1NODE DX cluster";
const std::string Prompt = "N0CALL de W1NODE 1203Z >";
const std::vector<std::string> NodeSpots {
    "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1200Z",
    "DX de K1TTT:      7003.5  VK2XYZ       CW                             1201Z",
    "DX de DL1ABC:    21074.0  K9QQ         FT8 -12 dB                     1202Z",
};

// A cluster node on the far station: registers its call with its engine, and on each connection made
// to it sends a greeting, its spots and a prompt, a packet for each line.
class ClusterNode
{
public:
    explicit ClusterNode(int agwPort)
    {
        QObject::connect(&m_socket, &QTcpSocket::readyRead, [this] { takeFrames(); });
        QObject::connect(&m_socket, &QTcpSocket::connected, [this] { send(agwRegisterRequest(NodeCall)); });
        m_socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(agwPort));
    }

    bool isRegistered() const
    {
        return m_registered;
    }
    // The station connected to the node, empty once it left.
    const std::string& connectedStation() const
    {
        return m_station;
    }
    int connections() const
    {
        return m_connections;
    }

private:
    void send(const std::string& request)
    {
        m_socket.write(request.data(), static_cast<qint64>(request.size()));
    }
    void takeFrames()
    {
        const QByteArray bytes = m_socket.readAll();
        for (const AgwFrame& frame : m_reader.take(std::string_view(bytes.constData(), bytes.size())).frames) {
            if (frame.kind == 'X') {
                m_registered = !frame.data.empty() && frame.data[0] == 1;
            } else if (frame.kind == 'C') {
                m_station = frame.callFrom;
                ++m_connections;
                for (const std::string& line : linesOnConnection()) {
                    send(agwDataRequest(NodeCall, m_station, line + "\r"));
                }
            } else if (frame.kind == 'd') {
                m_station.clear();
            }
        }
    }
    static std::vector<std::string> linesOnConnection()
    {
        std::vector<std::string> lines { Greeting };
        lines.insert(lines.end(), NodeSpots.begin(), NodeSpots.end());
        lines.push_back(Prompt);
        return lines;
    }

    QTcpSocket m_socket;
    AgwFrameReader m_reader;
    bool m_registered = false;
    std::string m_station;
    int m_connections = 0;
};

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

class SpotFeedAgwNodeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(radio.failure(), "") << radio.output();
        ASSERT_TRUE(QTest::qWaitFor([this] { return node.isRegistered(); }, LinkWaitMs)) << radio.output();
        feed.settings().source = "AGW Packet Engine";
        feed.settings().agwAddress = "127.0.0.1:" + std::to_string(radio.nearStation().agwPort());
        QObject::connect(&feed, &SpotFeed::spotLine, [this](const std::string& line) {
            handedOver.push_back(line);
            spots.addSpotLine(line);
        });
    }

    // Waits on the condition while the feed polls its engine; sooner than its timer would, as often as
    // the wait looks.
    bool polledUntil(const std::function<bool()>& condition)
    {
        return QTest::qWaitFor(
            [&] {
                feed.pollSource();
                return condition();
            },
            LinkWaitMs);
    }
    bool monitorShows(const std::string& text)
    {
        return polledUntil([&] { return feed.monitorText().find(text) != std::string::npos; });
    }

    DireWolfRadioLink radio { QString::fromStdString(OwnCall), QString::fromStdString(NodeCall) };
    ClusterNode node { radio.failure().empty() ? radio.farStation().agwPort() : 0 };
    TempFolder temp;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    SpotFeed feed { fs, temp.path(), dialogs, [] { return std::unique_ptr<SerialPort>(); } };
    ManualClock clock;
    CountryTable countries { { { "JA", "Japan", "AS", -139.75f, 35.68f },
        { "VK", "Australia", "OC", -149.13f, -35.28f }, { "K", "USA", "NA", 91.87f, 37.6f } } };
    SpotsModel spots { clock,
        { [] { return OwnCall; }, [this]() -> const CountryTable& { return countries; },
            [](const std::string&, const std::string&) { return false; } } };
    std::vector<std::string> handedOver;
};

TEST_F(SpotFeedAgwNodeTest, aNodesSpotsReachTheListOnceInOrderAndItsTextShowsOnce)
{
    feed.openConnection(OwnCall);
    ASSERT_TRUE(monitorShows("** Successfully connected to AGW Packet Engine **"))
        << feed.monitorText() << radio.output();

    feed.sendLine(":C " + NodeCall);
    ASSERT_TRUE(polledUntil([this] { return feed.connectedStation() == NodeCall; }))
        << feed.monitorText() << radio.output();
    // The node's prompt is its last line: each line before it has been through the poll once it shows,
    // and its spots are on their way to the list.
    ASSERT_TRUE(monitorShows(Prompt)) << feed.monitorText() << radio.output();
    EXPECT_TRUE(polledUntil([this] { return handedOver.size() >= NodeSpots.size(); })) << feed.monitorText();

    const std::string& monitor = feed.monitorText();
    EXPECT_EQ(occurrences(monitor, Greeting), 1u) << monitor;
    EXPECT_EQ(occurrences(monitor, Prompt), 1u) << monitor;
    for (const std::string& spot : NodeSpots) {
        EXPECT_EQ(occurrences(monitor, spot), 1u) << spot << "\n" << monitor;
    }
    const std::string sinceConnected = monitor.substr(monitor.find("** Connected to W1NODE **"));
    EXPECT_EQ(sinceConnected.find("1:Fm"), std::string::npos) << "no engine description on the link:\n" << monitor;

    std::vector<std::string> expected;
    for (const std::string& spot : NodeSpots) {
        expected.push_back(spot + "\r\n");
    }
    EXPECT_EQ(handedOver, expected) << feed.monitorText();
    ASSERT_EQ(spots.list().rowCount(), 3) << feed.monitorText();
    // The list shows the newest at the top.
    EXPECT_EQ(spots.list().row(2).call, "JA1ABC");
    EXPECT_EQ(spots.list().row(1).call, "VK2XYZ");
    EXPECT_EQ(spots.list().row(0).call, "K9QQ");
    EXPECT_EQ(spots.list().row(0).frequency, "21.074");

    feed.sendLine(":D");
    ASSERT_TRUE(monitorShows("** Disconnected from W1NODE **")) << feed.monitorText() << radio.output();
    EXPECT_EQ(feed.connectedStation(), "");
    EXPECT_TRUE(QTest::qWaitFor([this] { return node.connectedStation().empty(); }, LinkWaitMs));
    EXPECT_EQ(node.connections(), 1);
    EXPECT_EQ(handedOver.size(), 3u);
    EXPECT_TRUE(dialogs.shown.empty());
    feed.closeConnection();
}

} // namespace
} // namespace brindle::test
