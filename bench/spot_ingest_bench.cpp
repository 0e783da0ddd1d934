// A Telnet cluster feed at ten times the Reverse Beacon Network's average rate, 630 spot lines a
// second, into the running main window with the spotting window open and its monitor in sight, and the
// band map of 20 m on the main window drawn afresh for every spot while the operator types calls. The node
// runs on a thread of its own and writes the lines as a node does, several to a write and cut anywhere,
// after a greeting and a login prompt. Measured: how late the window's loop comes to a 1 ms timer (the
// wait a key pressed then would see), each spot's cost on the window's thread (store, band map, list),
// each typed key's, whether every line is handed over once and in order, and the process's resident
// memory through the run.
//
// spot_ingest_bench [seconds]   (60 unless told)

#include "BenchForm.h"
#include "BenchLoop.h"

#include "serial/QtSerialPort.h"
#include "spots/SpotFeed.h"
#include "spots/SpotSettings.h"
#include "spots/SpotPanel.h"
#include "spots/SpotsModel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace brindle {
namespace {

using bench::largest;
using bench::LoopProbe;
using bench::percentile;
using bench::runFor;
using bench::runUntil;
using SteadyClock = std::chrono::steady_clock;

constexpr int LinesPerSecond = 630;
constexpr int Contacts = 12'000;

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::string spotLine(int sequence)
{
    char line[128];
    if (sequence % 3 == 0) {
        std::snprintf(line, sizeof line, "DX de W3LPL:     %7.1f  K%06d      CW 599 TEST                 %02d%02dZ\r\n",
            14000.0 + sequence % 3500 / 10.0, sequence, sequence / 3600 % 24, sequence / 60 % 60);
    } else {
        std::snprintf(line, sizeof line,
            "DX de KM3T-#:    %7.1f  N%06d      CW    %2d dB  %2d WPM  CQ      %02d%02dZ\r\n",
            7000.0 + sequence % 3000 / 10.0, sequence, sequence % 40, 18 + sequence % 20, sequence / 3600 % 24,
            sequence / 60 % 60);
    }
    return line;
}

// A cluster node on loopback: greeting, login prompt, then the lines at the rate, cut into writes of
// random size every few milliseconds.
class ClusterNode
{
public:
    explicit ClusterNode(int seconds)
        : m_seconds(seconds)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        ::listen(m_listener, 1);
        m_thread = std::thread([this] { serve(); });
    }
    ~ClusterNode()
    {
        m_stop = true;
        ::shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        ::close(m_listener);
    }
    int port() const
    {
        return m_port;
    }
    int linesSent() const
    {
        return m_sent;
    }
    bool finished() const
    {
        return m_finished;
    }
    const std::string& login() const
    {
        return m_login;
    }

private:
    void serve()
    {
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0) {
            return;
        }
        const std::string greeting = "Hello, this is a DX cluster node.\r\nPlease enter your call: ";
        (void)::send(client, greeting.data(), greeting.size(), MSG_NOSIGNAL);
        char buffer[256];
        while (m_login.find('\n') == std::string::npos) {
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) {
                ::close(client);
                return;
            }
            m_login.append(buffer, static_cast<std::size_t>(got));
        }
        const std::string welcome = "\r\nHello " + m_login.substr(0, m_login.find_first_of("\r\n")) + ", 1234 users\r\n";
        (void)::send(client, welcome.data(), welcome.size(), MSG_NOSIGNAL);
        std::mt19937 random(11);
        const auto start = SteadyClock::now();
        const int total = LinesPerSecond * m_seconds;
        std::string pending;
        while (!m_stop && m_sent < total) {
            const double elapsed = std::chrono::duration<double>(SteadyClock::now() - start).count();
            const int due = std::min(total, static_cast<int>(elapsed * LinesPerSecond));
            while (m_sent < due) {
                pending += spotLine(m_sent++);
            }
            // A write ends anywhere: what is not sent now goes with the next.
            const std::size_t cut = pending.empty() ? 0 : 1 + random() % pending.size();
            if (cut > 0 && ::send(client, pending.data(), cut, MSG_NOSIGNAL) > 0) {
                pending.erase(0, cut);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2 + random() % 8));
        }
        if (!pending.empty()) {
            (void)::send(client, pending.data(), pending.size(), MSG_NOSIGNAL);
        }
        m_finished = true;
        while (!m_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::close(client);
    }

    int m_seconds;
    int m_listener = -1;
    int m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_sent { 0 };
    std::atomic<bool> m_finished { false };
    std::string m_login;
};

void ingest(int seconds)
{
    ClusterNode node(seconds);
    BenchForm form(Contacts, false);
    SpotSettings stored;
    stored.source = "Telnet";
    stored.telnetHost = "127.0.0.1";
    stored.telnetPort = std::to_string(node.port());
    test::writeBytes(form.workingDir() + "/" + std::string(SpotSettingsFileName), formatSpotSettings(stored));
    auto made = std::make_unique<SpotFeed>(form.fileSystem(), form.workingDir(), form.dialogs(),
        [] { return std::make_unique<QtSerialPort>([](int) { return std::string(); }); });
    SpotFeed& feed = *made;
    MainWindowKeyers keyers;
    keyers.spots = std::move(made);
    form.open(std::move(keyers));

    int handedOver = 0;
    int outOfOrder = 0;
    // Each spot's cost on the window's thread: the store and the list, the map drawn once the read's
    // spots are in. In the last ten seconds the map is drawn for every spot, as the worst case.
    QObject::disconnect(&feed, &SpotFeed::spotLine, nullptr, nullptr);
    SpotPanel* strip = form.form->findChild<SpotPanel*>(QStringLiteral("spotPanel"));
    bool drawEach = false;
    std::vector<double> perSpot;
    std::vector<double> perSpotDrawn;
    perSpotDrawn.assign(static_cast<std::size_t>(LinesPerSecond) * 12, 0.0);
    perSpotDrawn.clear();
    // Written once, so that the memory figures below do not count the measurements' own pages.
    perSpot.assign(static_cast<std::size_t>(LinesPerSecond * seconds), 0.0);
    perSpot.clear();
    QObject::connect(&feed, &SpotFeed::spotLine, [&](const std::string& line) {
        const auto started = SteadyClock::now();
        form.form->spots().addSpotLine(line);
        if (drawEach) {
            strip->drawBandMap();
            perSpotDrawn.push_back(bench::ms(SteadyClock::now() - started));
        } else {
            perSpot.push_back(bench::ms(SteadyClock::now() - started));
        }
    });
    QObject::connect(&feed, &SpotFeed::spotLine, [&](const std::string& line) {
        const std::size_t at = line.find("  K") != std::string::npos ? line.find("  K") + 3 : line.find("  N") + 3;
        if (std::stoi(line.substr(at, 6)) != handedOver) {
            ++outOfOrder;
        }
        ++handedOver;
    });
    // Ctrl+D, as the operator opens it; the stored source connects at once.
    QKeyEvent ctrlD(QEvent::KeyPress, Qt::Key_D, Qt::ControlModifier, QStringLiteral("\x04"));
    QApplication::sendEvent(form.field("callField"), &ctrlD);
    if (!runUntil([&] { return !node.login().empty(); }, 5000)) {
        std::printf("the node was not logged in to\n");
        return;
    }

    // "&Done" with the band map chosen: the strip comes and every spot on 20 m is drawn on it.
    form.form->updateSpotPanel();

    // The operator types calls meanwhile: each key's handling, as the entry benchmark times it.
    QLineEdit* call = form.field("callField");
    std::vector<double> perKey;
    perKey.reserve(static_cast<std::size_t>(seconds) * 10);
    QTimer typing;
    int typed = 0;
    QObject::connect(&typing, &QTimer::timeout, [&] {
        if (typed % 6 == 0) {
            call->clear();
        }
        const char key = "K1ABCD"[typed % 6];
        call->setFocus();
        const auto started = SteadyClock::now();
        QTest::keyClick(call, key);
        perKey.push_back(bench::ms(SteadyClock::now() - started));
        ++typed;
    });
    typing.start(150);

    LoopProbe probe;
    probe.start(static_cast<std::size_t>(seconds) * 1000);
    const long startKiB = residentKiB();
    std::vector<long> memoryKiB;
    const auto started = SteadyClock::now();
    std::vector<double> gaps;
    while (!node.finished() || handedOver < node.linesSent()) {
        runFor(5000);
        memoryKiB.push_back(residentKiB());
        if (!drawEach && SteadyClock::now() - started > std::chrono::seconds(std::max(0, seconds - 10))) {
            gaps = probe.stop();
            typing.stop();
            drawEach = true;
        }
        if (SteadyClock::now() - started > std::chrono::seconds(seconds + 30)) {
            break;
        }
    }
    if (!drawEach) {
        gaps = probe.stop();
        typing.stop();
    }
    std::vector<double> late;
    for (double gap : gaps) {
        late.push_back(gap);
    }
    std::printf("Telnet ingest, %d lines/s for %d s, main window (%d contacts) and spotting window shown:\n",
        LinesPerSecond, seconds, Contacts);
    std::printf("  node logged in as %s", node.login().c_str());
    std::printf("  lines sent %d, handed over %d, out of order %d, monitor %zu chars\n", node.linesSent(),
        handedOver, outOfOrder, feed.monitorText().size());
    std::printf("  (loop and keys measured over the first %d s)\n", std::max(0, seconds - 10));
    std::printf("  window's loop: p50 %.2f ms, p99 %.2f ms, p99.9 %.2f ms, max %.2f ms late over %zu ticks; "
                "ticks over 16 ms: %zd\n",
        percentile(late, 0.5), percentile(late, 0.99), percentile(late, 0.999), largest(late), late.size(),
        std::count_if(late.begin(), late.end(), [](double gap) { return gap > 16; }));
    // When the long waits came, in seconds into the run: a regular pattern points at a timer.
    double at = 0;
    std::printf("  waits over 16 ms at:");
    for (double gap : late) {
        at += gap + 1;
        if (gap > 16) {
            std::printf(" %.1f s (%.1f ms)", at / 1000, gap);
        }
    }
    std::printf("\n");
    std::printf("  each spot (store, list row; the map drawn once a read's spots are in): p50 %.3f ms, p99 %.3f ms, "
                "max %.3f ms over %zu spots\n",
        percentile(perSpot, 0.5), percentile(perSpot, 0.99), largest(perSpot), perSpot.size());
    std::printf("  each spot with the band map drawn for it (last 10 s): p50 %.3f ms, p99 %.3f ms, max %.3f ms over "
                "%zu spots\n",
        percentile(perSpotDrawn, 0.5), percentile(perSpotDrawn, 0.99), largest(perSpotDrawn), perSpotDrawn.size());
    std::printf("  a key in the call field meanwhile: p50 %.3f ms, p99 %.3f ms, max %.3f ms over %zu keys\n",
        percentile(perKey, 0.5), percentile(perKey, 0.99), largest(perKey), perKey.size());
    std::printf("  resident memory: %ld KiB at the start", startKiB);
    for (std::size_t i = 0; i < memoryKiB.size(); ++i) {
        if (i % 3 == 2 || i + 1 == memoryKiB.size()) {
            std::printf(", %ld at %zu s", memoryKiB[i], (i + 1) * 5);
        }
    }
    std::printf(" KiB\n");
}

} // namespace
} // namespace brindle

int main(int argc, char** argv)
{
    brindle::keepSettingsAside();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    brindle::ingest(argc > 1 ? std::atoi(argv[1]) : 60);
    return 0;
}
