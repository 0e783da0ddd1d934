// Thousands of spot lines in one write, as a cluster node's backlog after a reconnection or a TNC's buffer
// emptied at once: every line reaches the spot store and the list once and in order, a few hundred at a
// time, the window's loop runs between the batches, and the program never holds more than a little of the
// text while the sender still has more. A real TCP connection on loopback to a node on a thread of its
// own, and a real serial port on a pseudo-terminal, carry them.

#include "spots/SpotFeed.h"

#include "os/PosixFileSystem.h"
#include "serial/QtSerialPort.h"
#include "spots/LineSplitter.h"
#include "spots/MonitorText.h"
#include "spots/SpotsModel.h"
#include "spots/TelnetConnection.h"
#include "station/CountryTable.h"
#include "support/FreePort.h"
#include "support/ManualClock.h"
#include "support/PtyPair.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace brindle::test {
namespace {

constexpr int WaitMs = 60'000;
const std::string OwnCall = "DL1ABC";

// Line n of a burst: its number in the comment, on 20 or 40 m; every 997th spots the own call and every
// 50th one station spotted again and again, which withdraws its older spots.
std::string burstLine(int number)
{
    const std::string call = number % 997 == 0 ? OwnCall : number % 50 == 0 ? "Q9REP" : "K" + std::to_string(number);
    char line[128];
    std::snprintf(line, sizeof line, "DX de W3LPL:     %7.1f  %-12s CW 599 #%06d             %02d%02dZ\r\n",
        (number % 2 == 0 ? 14000.0 : 7000.0) + number % 300 / 10.0, call.c_str(), number, number / 60 % 24,
        number % 60);
    return line;
}

int numberOf(const std::string& line)
{
    const std::size_t at = line.find('#');
    return at == std::string::npos ? -1 : std::stoi(line.substr(at + 1, 6));
}

std::string burstOf(int lines)
{
    std::string burst;
    for (int i = 0; i < lines; ++i) {
        burst += burstLine(i);
    }
    return burst;
}

std::size_t shortestLine(int lines)
{
    std::size_t shortest = std::string::npos;
    for (int i = 0; i < lines; ++i) {
        shortest = std::min(shortest, burstLine(i).size());
    }
    return shortest;
}

// A cluster node on loopback that, once told, sends a whole burst in one write from a thread of its own, as
// fast as the connection takes it, and then hangs up or stays.
class BurstingNode
{
public:
    BurstingNode(std::string burst, bool hangUpAfter)
        : m_burst(std::move(burst))
        , m_hangUpAfter(hangUpAfter)
    {
        m_listener = test::listenOnLoopback(m_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~BurstingNode()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        ::shutdown(m_listener, SHUT_RDWR);
        if (const int client = m_client; client >= 0) {
            ::shutdown(client, SHUT_RDWR);
        }
        m_thread.join();
        ::close(m_listener);
    }
    int port() const
    {
        return m_port;
    }
    void go()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_go = true;
        }
        m_changed.notify_all();
    }
    // The whole burst is with the system.
    bool written() const
    {
        return m_written;
    }

private:
    void serve()
    {
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0) {
            return;
        }
        m_client = client;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_go || m_stop; });
        }
        for (std::size_t from = 0; from < m_burst.size() && !m_stop;) {
            const ssize_t sent = ::send(client, m_burst.data() + from, m_burst.size() - from, MSG_NOSIGNAL);
            if (sent <= 0) {
                break;
            }
            from += static_cast<std::size_t>(sent);
        }
        m_written = true;
        if (!m_hangUpAfter) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stop.load(); });
        }
        m_client = -1;
        ::close(client);
    }

    std::string m_burst;
    bool m_hangUpAfter;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<int> m_client { -1 };
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_go = false; // guarded by m_mutex
    std::atomic<bool> m_stop { false }; // written under m_mutex, read by the sending loop without it
    std::atomic<bool> m_written { false };
};

// A call queued to the window's loop that queues itself again each time it runs: it runs once a pass of
// the loop, and notes the most spots handed over between two of its runs.
class LoopPasses
{
public:
    explicit LoopPasses(std::function<std::size_t()> handedOver)
        : m_handedOver(std::move(handedOver))
    {
        m_last = m_handedOver();
        queue();
    }
    ~LoopPasses()
    {
        *m_running = false;
    }
    std::size_t mostInOnePass() const
    {
        return m_most;
    }
    int passes() const
    {
        return m_passes;
    }

private:
    void queue()
    {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, running = m_running] {
                if (!*running) {
                    return;
                }
                ++m_passes;
                const std::size_t now = m_handedOver();
                m_most = std::max(m_most, now - m_last);
                m_last = now;
                queue();
            },
            Qt::QueuedConnection);
    }

    std::function<std::size_t()> m_handedOver;
    std::shared_ptr<bool> m_running = std::make_shared<bool>(true);
    std::size_t m_last = 0;
    std::size_t m_most = 0;
    int m_passes = 0;
};

class SpotBurstTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(&feed, &SpotFeed::spotLine, [this](const std::string& line) {
            numbers.push_back(numberOf(line));
            lines.push_back(line);
        });
        // As the main window has it.
        QObject::connect(&feed, &SpotFeed::spotLines, &spots, &SpotsModel::addSpotLines);
        QObject::connect(&feed, &SpotFeed::spotLines,
            [this](const std::vector<std::string>&) { mostHeld = std::max(mostHeld, feed.bytesHeld()); });
    }

    SpotsModel::Context context()
    {
        SpotsModel::Context c;
        c.ownCall = [] { return OwnCall; };
        c.countries = [this]() -> const CountryTable& { return countries; };
        c.worked = [](const std::string& call, const std::string& band) {
            return band == "20" && call.size() > 3 && call.back() == '4';
        };
        return c;
    }

    // What the burst leaves is what its lines leave taken one at a time.
    void expectAsOneByOne(int count)
    {
        SpotsModel oneByOne { clock, context() };
        QSignalSpy alertsOneByOne(&oneByOne, &SpotsModel::ownCallSpotted);
        for (int i = 0; i < count; ++i) {
            oneByOne.addSpotLine(burstLine(i));
        }
        EXPECT_EQ(spots.store().all(), oneByOne.store().all());
        for (int slot = 0; slot < SpotStore::SlotCount; ++slot) {
            EXPECT_EQ(spots.isWorked(slot), oneByOne.isWorked(slot)) << slot;
        }
        ASSERT_EQ(spots.list().rowCount(), SpotListModel::MaxRows);
        for (int row = 0; row < SpotListModel::MaxRows; ++row) {
            const SpotListRow& got = spots.list().row(row);
            const SpotListRow& expected = oneByOne.list().row(row);
            EXPECT_EQ(std::tie(got.call, got.frequency, got.qth, got.comments, got.time),
                std::tie(expected.call, expected.frequency, expected.qth, expected.comments, expected.time))
                << row;
        }
        EXPECT_EQ(spots.list().row(0).call, "K" + std::to_string(count - 1)) << "the newest on top";
        EXPECT_EQ(alerts.size(), alertsOneByOne.size());
        EXPECT_EQ(alerts.size(), (count + 996) / 997) << "the own call's alert for each of its spots";
    }

    std::vector<int> expectedNumbers(int count) const
    {
        std::vector<int> all;
        for (int i = 0; i < count; ++i) {
            all.push_back(i);
        }
        return all;
    }

    // The most spots one pass of the loop may hand over: a full batch, and what the slices of the pass
    // (the one a read starts and the one queued before it) add to it.
    static std::size_t mostInOnePass(int lines)
    {
        return SpotFeed::HandOverBatchLimit + 2 * (SpotFeed::IntakeSliceBytes / shortestLine(lines) + 1);
    }

    TempFolder temp;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    std::string device = temp.file("no-tnc");
    SpotFeed feed { fs, temp.path(), dialogs,
        [this] { return std::make_unique<QtSerialPort>([this](int) { return device; }); } };
    ManualClock clock;
    CountryTable countries { { { "K", "USA", "NA", 91.87f, 37.6f }, { "DL", "Germany", "EU", -10.0f, 51.0f } } };
    SpotsModel spots { clock, context() };
    QSignalSpy alerts { &spots, &SpotsModel::ownCallSpotted };
    QSignalSpy inserts { &spots.list(), &QAbstractItemModel::rowsInserted };
    std::vector<int> numbers;
    std::vector<std::string> lines;
    std::size_t mostHeld = 0;
};

TEST_F(SpotBurstTest, aNodesBurstReachesTheListInOrderAFewHundredAtATimeWithTheLoopRunningBetween)
{
    constexpr int Lines = 20'000;
    const struct
    {
        const char* what;
        bool hangsUp;
    } cases[] = {
        { "the node stays", false },
        { "the node hangs up straight after its last line", true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BurstingNode node(burstOf(Lines), c.hangsUp);
        feed.settings().source = "Telnet";
        feed.settings().telnetHost = "127.0.0.1";
        feed.settings().telnetPort = std::to_string(node.port());
        feed.openConnection(OwnCall);
        ASSERT_TRUE(QTest::qWaitFor([&] { return feed.telnet().isConnected(); }, WaitMs));
        std::optional<std::size_t> handedWhenClosed;
        const QMetaObject::Connection closed = QObject::connect(&feed, &SpotFeed::openChanged, [&](bool open) {
            if (!open) {
                handedWhenClosed = numbers.size();
            }
        });

        LoopPasses passes([&] { return numbers.size(); });
        node.go();
        ASSERT_TRUE(QTest::qWaitFor([&] { return numbers.size() >= static_cast<std::size_t>(Lines); }, WaitMs))
            << numbers.size() << " handed over";

        EXPECT_EQ(numbers, expectedNumbers(Lines)) << "each once, in order";
        EXPECT_LE(passes.mostInOnePass(), mostInOnePass(Lines));
        EXPECT_GT(passes.passes(), Lines / static_cast<int>(mostInOnePass(Lines)));
        EXPECT_LE(inserts.size(), Lines / 100) << "the list laid out for a batch, not for each spot";
        EXPECT_LE(mostHeld,
            TelnetConnection::ReadBufferBytes + LineSplitter::DefaultMaxLineLength
                + mostInOnePass(Lines) * burstLine(Lines - 1).size());
        EXPECT_LE(feed.monitorText().size(), MonitorLimit);
        expectAsOneByOne(Lines);
        if (c.hangsUp) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return handedWhenClosed.has_value(); }, WaitMs));
            EXPECT_EQ(*handedWhenClosed, static_cast<std::size_t>(Lines)) << "the hang-up is said after the last spot";
            EXPECT_NE(feed.monitorText().find("#019999"), std::string::npos);
            EXPECT_TRUE(feed.monitorText().ends_with("** Port Closed **")) << feed.monitorText();
        } else {
            EXPECT_TRUE(feed.isOpen());
            EXPECT_TRUE(feed.telnet().isConnected());
        }
        QObject::disconnect(closed);
        feed.closeConnection();
        numbers.clear();
        lines.clear();
        alerts.clear();
        inserts.clear();
        mostHeld = 0;
    }
}

TEST_F(SpotBurstTest, aTncsBurstReachesTheListInOrderAFewHundredAtATimeWithTheLoopRunningBetween)
{
    constexpr int Lines = 5'000;
    TempFolder cable;
    PtyPair pty(cable.path());
    ASSERT_EQ(pty.failure(), "");
    device = pty.near();
    feed.settings().source = "TNC";
    feed.openConnection(OwnCall);
    ASSERT_TRUE(feed.isPolling());

    LoopPasses passes([&] { return numbers.size(); });
    const std::string burst = burstOf(Lines);
    std::atomic<bool> written { false };
    // The TNC's end writes it all at once, as fast as the cable takes it.
    std::thread tnc([&] { written = pty.writeFar(burst); });
    const bool arrived = QTest::qWaitFor([&] { return numbers.size() >= static_cast<std::size_t>(Lines); }, WaitMs);
    tnc.join();
    ASSERT_TRUE(written);
    ASSERT_TRUE(arrived) << numbers.size() << " handed over";

    EXPECT_EQ(numbers, expectedNumbers(Lines)) << "each once, in order";
    EXPECT_LE(passes.mostInOnePass(), mostInOnePass(Lines));
    EXPECT_LE(inserts.size(), Lines / 100) << "the list laid out for a batch, not for each spot";
    EXPECT_LE(mostHeld,
        SpotFeed::TncReceiveLimit + TncLineBuffer::TncBufferLimit + mostInOnePass(Lines) * burstLine(Lines - 1).size());
    expectAsOneByOne(Lines);
}

} // namespace
} // namespace brindle::test
