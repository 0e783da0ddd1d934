// A Telnet cluster node feeding the running main window (12,000 contacts) with the spotting window open and
// its monitor in sight and the band map of 20 m on the main window, while the operator types calls.
// The node runs on a thread of its own; it greets, asks for the call, and then sends spot lines in one of
// two ways:
//
//   spot_ingest_bench [seconds]       630 lines a second, ten times the Reverse Beacon Network's average,
//                                     cut into writes of random size every few milliseconds (60 s unless told)
//   spot_ingest_bench burst [lines]   the lines all in one write, as a node's backlog after a reconnection
//                                     or a SH/DX of thousands arrives (100,000 unless told)
//
// Measured: how late the window's loop comes to a 1 ms timer (the wait a key pressed then would see), how
// long a key typed from outside takes to show in the call field, whether every line is handed over once and
// in order, the processor time of the process per spot (less the node's own thread, which stands in for the
// network) and of the window's thread, the most the feed held of the node's text, and resident memory.
// The probe's own timer costs processor time, so the steady feed is probed over its first half and its
// processor time taken over the second; three seconds of the same windows and typing with nothing arriving,
// beforehand, give the figure to set it against.
//
// The window is offscreen unless QT_QPA_PLATFORM says otherwise. For a screen-reader user's case, with
// Qt's AT-SPI accessibility bridge on, run it on a real X server with the accessibility bus up:
//
//   bench/accessible_session.sh build/bench/spot_ingest_bench burst
//   bench/accessible_session.sh --no-bridge build/bench/spot_ingest_bench burst   (same display, bridge off)
//
// which starts Xvfb and openbox, a D-Bus session with at-spi-bus-launcher in it, and sets
// QT_QPA_PLATFORM=xcb and QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 (packages: xvfb, openbox, xdotool, dbus,
// at-spi2-core; scripts/deps.sh --tests installs them). There keys are typed through the X server with
// xdotool. Run it as an ordinary user: timings taken as root differ.

#include "BenchCpu.h"
#include "BenchForm.h"
#include "BenchKeys.h"
#include "BenchLoop.h"

#include "common/SystemClock.h"
#include "serial/QtSerialPort.h"
#include "spots/SpotFeed.h"
#include "spots/SpotPanel.h"
#include "spots/SpotSettings.h"
#include "spots/SpotsModel.h"
#include "spots/TelnetConnection.h"
#include "support/FreePort.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
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
// A key every so often, as a quick typist's call.
constexpr int KeySpacingMs = 150;

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

// A cluster node on loopback: greeting, login prompt, then, once told to go, the lines: at the rate, cut
// into writes of random size every few milliseconds, or all in one write.
class ClusterNode
{
public:
    // lines: how many; ratePerSecond 0 sends them in one write.
    ClusterNode(int lines, int ratePerSecond)
        : m_lines(lines)
        , m_rate(ratePerSecond)
    {
        m_listener = test::listenOnLoopback(m_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~ClusterNode()
    {
        m_stop = true;
        ::shutdown(m_listener, SHUT_RDWR);
        if (m_client >= 0) {
            ::shutdown(m_client, SHUT_RDWR);
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
        m_go = true;
    }
    int linesSent() const
    {
        return m_sent;
    }
    bool finished() const
    {
        return m_finished;
    }
    bool loggedIn() const
    {
        return m_loggedIn;
    }
    // Only once logged in.
    const std::string& login() const
    {
        return m_login;
    }
    // The node's own processor time so far: it stands in for the network and is no part of the program's.
    double cpuMs()
    {
        return bench::threadCpuMs(m_thread.native_handle());
    }

private:
    void serve()
    {
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0) {
            return;
        }
        m_client = client;
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
        m_loggedIn = true;
        while (!m_go && !m_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (m_rate > 0) {
            sendAtRate(client);
        } else {
            sendAtOnce(client);
        }
        m_finished = true;
        while (!m_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::close(client);
    }

    void sendAtRate(int client)
    {
        std::mt19937 random(11);
        const auto start = SteadyClock::now();
        std::string pending;
        while (!m_stop && m_sent < m_lines) {
            const double elapsed = std::chrono::duration<double>(SteadyClock::now() - start).count();
            const int due = std::min(m_lines, static_cast<int>(elapsed * m_rate));
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
    }

    void sendAtOnce(int client)
    {
        std::string all;
        all.reserve(static_cast<std::size_t>(m_lines) * 80);
        for (int i = 0; i < m_lines; ++i) {
            all += spotLine(i);
        }
        m_sent = m_lines;
        // One write; the system takes it in as fast as the reader lets it.
        std::size_t from = 0;
        while (from < all.size() && !m_stop) {
            const ssize_t sent = ::send(client, all.data() + from, all.size() - from, MSG_NOSIGNAL);
            if (sent <= 0) {
                return;
            }
            from += static_cast<std::size_t>(sent);
        }
    }

    int m_lines;
    int m_rate;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<int> m_client { -1 };
    std::thread m_thread;
    std::atomic<bool> m_stop { false };
    std::atomic<bool> m_go { false };
    std::atomic<int> m_sent { 0 };
    std::atomic<bool> m_finished { false };
    std::atomic<bool> m_loggedIn { false };
    std::string m_login;
};

// The program's processor time over a stretch: the process less the node's thread, and the window's
// thread alone.
struct CpuSpent
{
    double processMs = 0;
    double windowMs = 0;
    double nodeMs = 0;

    static CpuSpent now(ClusterNode& node)
    {
        return { bench::processCpuMs(), bench::cpuMs(CLOCK_THREAD_CPUTIME_ID), node.cpuMs() };
    }
    CpuSpent operator-(const CpuSpent& before) const
    {
        return { processMs - before.processMs, windowMs - before.windowMs, nodeMs - before.nodeMs };
    }
    double programMs() const
    {
        return processMs - nodeMs;
    }
};

void printLoop(const std::vector<double>& late)
{
    if (late.empty()) {
        std::printf("  window's loop: no ticks\n");
        return;
    }
    std::printf("  window's loop: p50 %.2f ms, p99 %.2f ms, p99.9 %.2f ms, max %.2f ms late over %zu ticks; "
                "ticks over 16 ms: %zd\n",
        percentile(late, 0.5), percentile(late, 0.99), percentile(late, 0.999), largest(late), late.size(),
        std::count_if(late.begin(), late.end(), [](double gap) { return gap > 16; }));
}

void printKeys(const std::vector<double>& keys, bool throughServer)
{
    if (keys.empty()) {
        std::printf("  keys: none typed\n");
        return;
    }
    std::printf("  a key typed (%s) until it shows in the call field: p50 %.2f ms, p99 %.2f ms, max %.2f ms over "
                "%zu keys\n",
        throughServer ? "through the X server" : "posted", percentile(keys, 0.5), percentile(keys, 0.99), largest(keys),
        keys.size());
}

void ingest(int lines, int ratePerSecond)
{
    const bool burst = ratePerSecond == 0;
    ClusterNode node(lines, ratePerSecond);
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
    // The form's clock stands still for the contest's sake; the batches are spaced by the computer's.
    SystemClock computerClock;
    feed.useClock(computerClock);

    int handedOver = 0;
    int outOfOrder = 0;
    std::size_t batches = 0;
    std::size_t mostHeld = 0;
    std::vector<double> perBatch; // the store and the list, per spot of the batch
    std::vector<double> batchDraws; // the band map drawn for the batch
    perBatch.reserve(static_cast<std::size_t>(lines));
    batchDraws.reserve(static_cast<std::size_t>(lines));
    // Each batch's cost on the window's thread: the store and the list, then the band map, drawn here
    // rather than in the next pass, as the main window has it drawn, so as to be timed.
    SpotPanel* strip = form.form->findChild<SpotPanel*>(QStringLiteral("spotPanel"));
    QObject::disconnect(&feed, &SpotFeed::spotLines, nullptr, nullptr);
    QObject::connect(&feed, &SpotFeed::spotLines, [&](const std::vector<std::string>& batch) {
        mostHeld = std::max(mostHeld, feed.bytesHeld());
        const auto started = SteadyClock::now();
        form.form->spots().addSpotLines(batch);
        const auto stored = SteadyClock::now();
        strip->drawBandMap();
        batchDraws.push_back(bench::ms(SteadyClock::now() - stored));
        perBatch.push_back(bench::ms(stored - started) / static_cast<double>(batch.size()));
        ++batches;
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
    if (!runUntil([&] { return node.loggedIn(); }, 5000)) {
        std::printf("the node was not logged in to\n");
        return;
    }
    // "&Done" with the band map chosen: the strip comes and every spot on 20 m is drawn on it.
    form.form->updateSpotPanel();
    // The operator is back in the call field, the spotting window open beside it.
    form.form->activateWindow();
    form.form->raise();
    QLineEdit* call = form.field("callField");
    call->setFocus();
    bench::KeyTyper typer(*call, KeySpacingMs);
    if (!typer.start()) {
        std::printf("xdotool cannot be started: no keys are typed\n");
    }
    if (!runUntil([&] { return QApplication::activeWindow() == form.form.get() && call->hasFocus(); }, 3000)) {
        std::printf("the call field did not get the keyboard: the keys typed go elsewhere\n");
    }
    // The typing begins.
    runFor(600);
    // The loop's lateness is probed by a timer of its own, which costs processor time: the steady feed's
    // first half is probed, its processor time taken over the second; the burst is probed throughout.
    LoopProbe probe;
    const std::size_t expectedTicks = static_cast<std::size_t>(burst ? 60 : lines / LinesPerSecond + 30) * 1000;

    // The window as it stands with nothing arriving, with the probe where the figure it is set against has it.
    constexpr int IdleMs = 3000;
    if (burst) {
        probe.start(expectedTicks);
    }
    CpuSpent before = CpuSpent::now(node);
    runFor(IdleMs);
    const CpuSpent idle = CpuSpent::now(node) - before;
    (void)probe.stop();
    const std::vector<double> idleKeys = typer.take();

    const long startKiB = residentKiB();
    std::vector<long> memoryKiB;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { memoryKiB.push_back(residentKiB()); });
    sampler.start(5000);
    probe.start(expectedTicks);
    auto started = SteadyClock::now();
    before = CpuSpent::now(node);
    int measuredFrom = 0;
    node.go();
    if (burst) {
        (void)runUntil([&] { return handedOver >= lines; }, 600'000, 5);
    } else {
        (void)runUntil([&] { return handedOver >= lines / 2; }, (lines / LinesPerSecond + 30) * 1000, 50);
    }
    const std::vector<double> late = probe.stop();
    if (!burst) {
        started = SteadyClock::now();
        before = CpuSpent::now(node);
        measuredFrom = handedOver;
        (void)runUntil([&] { return node.finished() && handedOver >= node.linesSent(); },
            (lines / LinesPerSecond + 30) * 1000, 50);
    }
    const double tookMs = bench::ms(SteadyClock::now() - started);
    const CpuSpent spent = CpuSpent::now(node) - before;
    const std::vector<double> keys = typer.stop();
    memoryKiB.push_back(residentKiB());

    // The band map drawn again with nothing new, for what a draw costs by itself.
    std::vector<double> perDraw;
    for (int i = 0; i < 200; ++i) {
        const auto drawStarted = SteadyClock::now();
        strip->drawBandMap();
        perDraw.push_back(bench::ms(SteadyClock::now() - drawStarted));
    }

    const double spots = std::max(1, handedOver - measuredFrom);
    if (burst) {
        std::printf("Telnet burst, %d lines in one write, main window (%d contacts) and spotting window shown, %s:\n",
            lines, Contacts, QGuiApplication::platformName().toUtf8().constData());
        std::printf("  all handed over in %.0f ms\n", tookMs);
    } else {
        std::printf("Telnet ingest, %d lines/s for %d s, main window (%d contacts) and spotting window shown, %s:\n",
            LinesPerSecond, lines / LinesPerSecond, Contacts, QGuiApplication::platformName().toUtf8().constData());
    }
    std::printf(
        "  accessibility %s; node logged in as %s", QAccessible::isActive() ? "active" : "off", node.login().c_str());
    std::printf("  lines sent %d, handed over %d in %zu batches, out of order %d; list %d rows, monitor %zu chars\n",
        node.linesSent(), handedOver, batches, outOfOrder, form.form->spots().list().rowCount(),
        feed.monitorText().size());
    if (!burst) {
        std::printf("  (the loop probed over the first half, processor time taken over the second)\n");
    }
    printLoop(late);
    printKeys(keys, typer.throughServer());
    std::printf("  the same keys beforehand, nothing arriving: p50 %.2f ms, max %.2f ms over %zu keys\n",
        idleKeys.empty() ? 0 : percentile(idleKeys, 0.5), largest(idleKeys), idleKeys.size());
    std::printf("  processor time of the process, the node's thread left out: %.1f ms over %.1f s for %.0f spots, "
                "%.4f ms per spot; the window's thread %.4f ms per spot\n",
        spent.programMs(), tookMs / 1000, spots, spent.programMs() / spots, spent.windowMs / spots);
    std::printf("  idle beforehand (the same windows and typing%s, no spots): %.1f ms a second; per spot less that: "
                "%.4f ms\n",
        burst ? ", the probe" : "", idle.programMs() * 1000 / IdleMs,
        (spent.programMs() - idle.programMs() * tookMs / IdleMs) / spots);
    std::printf("  store and list, per spot of a batch: p50 %.4f ms, p99 %.4f ms over %zu batches\n",
        perBatch.empty() ? 0 : percentile(perBatch, 0.5), perBatch.empty() ? 0 : percentile(perBatch, 0.99),
        perBatch.size());
    std::printf("  the band map drawn for a batch: p50 %.3f ms, p99 %.3f ms; again with nothing new: p50 %.3f ms\n",
        batchDraws.empty() ? 0 : percentile(batchDraws, 0.5), batchDraws.empty() ? 0 : percentile(batchDraws, 0.99),
        percentile(perDraw, 0.5));
    std::printf("  most of the node's text held by the program at a batch: %zu bytes\n", mostHeld);
    std::printf("  resident memory: %ld KiB at the start, %ld at most (taken every 5 s), %ld at the end\n", startKiB,
        *std::max_element(memoryKiB.begin(), memoryKiB.end()), memoryKiB.back());
}

} // namespace
} // namespace brindle

int main(int argc, char** argv)
{
    brindle::keepSettingsAside();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc > 1 && std::strcmp(argv[1], "burst") == 0) {
        brindle::ingest(argc > 2 ? std::atoi(argv[2]) : 100'000, 0);
    } else {
        brindle::ingest((argc > 1 ? std::atoi(argv[1]) : 60) * brindle::LinesPerSecond, brindle::LinesPerSecond);
    }
    return 0;
}
