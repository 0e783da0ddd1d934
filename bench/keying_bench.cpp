// How exactly the CW keyer times its edges: messages keyed through the keyer's own thread onto a line
// that timestamps every switch, with the window thread idle and then busy listing 12,000 contacts while
// another thread burns a core. Prints the edge error against the ideal schedule, the message length
// error, and the CPU the keying takes.

#include "BenchFigures.h"
#include "BenchForm.h"

#include "keying/CwKeyer.h"
#include "log/ContestSession.h"
#include "keying/MorseTable.h"

#include "support/PtyPair.h"
#include "support/RecordingKeyingLine.h"
#include "support/TempFolder.h"
#include "support/WinKeySimulator.h"

#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace brindle {
namespace {

using namespace std::chrono;

// The ideal moment of every edge, in units from the first key-down.
std::vector<int> idealEdgeUnits(std::string_view text)
{
    std::vector<int> edges;
    int unit = 0;
    bool down = false;
    for (char c : text) {
        for (char u : keyedUnits(c, 0)) {
            const bool wanted = u == '1';
            if (wanted != down) {
                edges.push_back(unit);
                down = wanted;
            }
            ++unit;
        }
    }
    return edges;
}

double processCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

using bench::percentile;

struct Condition
{
    const char* name;
    BenchForm* busyForm; // nullptr: the window thread only waits
};

void keyOne(const char* label, std::string_view text, int wpm, const Condition& condition)
{
    test::TempFolder temp;
    PosixFileSystem fs;
    QtSettingsStore settings;
    test::ScriptedDialogs dialogs;
    test::RecordingKeyingLine line;
    test::RecordingLineSource source { line };
    ContestSession session { fs, temp.file("log.txt") };
    CwKeyer keyer(fs, temp.path(), settings, dialogs, test::lendingTo(source));
    keyer.attach(session);
    CwSettings cw;
    cw.keying = CwKeying::Rts;
    cw.port = "1";
    cw.speed = std::to_string(wpm);
    keyer.applySettings(cw);

    std::atomic<bool> hogging = condition.busyForm != nullptr;
    std::thread hog([&hogging] {
        volatile unsigned long spins = 0;
        while (hogging.load(std::memory_order_relaxed)) {
            spins = spins + 1;
        }
    });

    const double cpuBefore = processCpuSeconds();
    const auto wallBefore = steady_clock::now();
    keyer.appendText(text);
    auto* list = condition.busyForm ? condition.busyForm->form->findChild<QTableView*>(QStringLiteral("contactList"))
                                    : nullptr;
    int refreshes = 0;
    while (keyer.isSending()) {
        if (condition.busyForm) {
            condition.busyForm->form->refreshContactList();
            (void)list->viewport()->grab();
            ++refreshes;
        } else {
            QTest::qWait(20);
        }
    }
    const double cpu = processCpuSeconds() - cpuBefore;
    const double wall = duration<double>(steady_clock::now() - wallBefore).count();
    hogging = false;
    hog.join();

    const auto edges = line.edges();
    const std::vector<int> ideal = idealEdgeUnits(text);
    if (edges.size() != ideal.size()) {
        std::printf("%-28s %3d WPM %-5s: %zu edges keyed, %zu expected\n", label, wpm, condition.name, edges.size(),
            ideal.size());
        return;
    }
    const double unit = unitMs(wpm);
    std::vector<double> errors;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const double at = duration<double, std::milli>(edges[i].at - edges[0].at).count();
        errors.push_back(std::abs(at - ideal[i] * unit));
    }
    const double idealLength = ideal.back() * unit;
    const double length = duration<double, std::milli>(edges.back().at - edges[0].at).count();
    std::printf("%s", keyer.hasRealTimePriority() ? "" : "(keying thread without real-time priority) ");
    std::printf("%-28s %3d WPM %-5s: edge error p50 %.4f ms, p99 %.4f ms, max %.4f ms; length %+.4f %%; CPU %s%.1f %%%s\n",
        label, wpm, condition.name, percentile(errors, 0.5), percentile(errors, 0.99),
        *std::max_element(errors.begin(), errors.end()), (length - idealLength) / idealLength * 100,
        condition.busyForm ? "(whole process) " : "", cpu / wall * 100,
        condition.busyForm ? (" with " + std::to_string(refreshes) + " list refreshes").c_str() : "");
}

// From an F-key pressed on the main window to the first key-down edge of its message, and how long the
// window takes over each key typed at full speed (one every 30 ms) while a message is being sent.
void functionKeyToAir()
{
    test::RecordingKeyingLine line;
    test::RecordingLineSource source { line };
    BenchForm bench(ContestLog::Capacity, false);
    MainWindowKeyers keyers;
    auto cw = std::make_unique<CwKeyer>(
        bench.fileSystem(), bench.workingDir(), bench.settings(), bench.dialogs(), test::lendingTo(source));
    CwKeyer* keyer = cw.get();
    keyers.cw = std::move(cw);
    bench.open(std::move(keyers));
    CwSettings cw2;
    cw2.keying = CwKeying::Rts;
    cw2.port = "1";
    cw2.speed = "60";
    cw2.messages[1] = "$ 5NN";
    keyer->applySettings(cw2);
    QLineEdit* call = bench.field("callField");
    QTest::keyClicks(call, QStringLiteral("G4ABC"));

    std::vector<double> toAir;
    std::vector<double> perKey;
    for (int round = 0; round < 10; ++round) {
        const std::size_t edgesBefore = line.edges().size();
        const auto pressed = steady_clock::now();
        QTest::keyClick(call, Qt::Key_F2);
        while (line.edges().size() == edgesBefore) {
            std::this_thread::yield();
        }
        toAir.push_back(duration<double, std::milli>(line.edges()[edgesBefore].at - pressed).count());
        // Type into the received report while the message is on the air.
        QLineEdit* report = bench.field("rstRcvdField");
        while (keyer->isSending()) {
            const auto before = steady_clock::now();
            QTest::keyClick(report, Qt::Key_5);
            QTest::keyClick(report, Qt::Key_Backspace);
            perKey.push_back(duration<double, std::milli>(steady_clock::now() - before).count() / 2);
            QTest::qWait(30);
        }
        call->setFocus();
    }
    std::printf("F-key to first key-down edge: p50 %.3f ms, max %.3f ms over %zu presses\n", percentile(toAir, 0.5),
        *std::max_element(toAir.begin(), toAir.end()), toAir.size());
    std::printf("A key typed while sending: p50 %.3f ms, p99 %.3f ms, max %.3f ms over %zu keys\n",
        percentile(perKey, 0.5), percentile(perKey, 0.99), *std::max_element(perKey.begin(), perKey.end()),
        perKey.size());
}

// From an F-key pressed on the main window to the first byte of its message at the far end of the WinKey
// keyer's serial line, a pseudo-terminal with a simulated keyer answering.
void functionKeyToWinKey()
{
    test::TempFolder temp;
    test::PtyPair pty(temp.path());
    if (!pty.failure().empty()) {
        std::printf("F-key to WinKey: not measured: %s\n", pty.failure().c_str());
        return;
    }
    test::WinKeySimulator winKey(pty.far());
    winKey.setCharacterMs(5);
    test::RecordingKeyingLine line;
    test::RecordingLineSource source { line };
    BenchForm bench(ContestLog::Capacity, false);
    MainWindowKeyers keyers;
    auto cw = std::make_unique<CwKeyer>(bench.fileSystem(), bench.workingDir(), bench.settings(), bench.dialogs(),
        test::lendingTo(source), [&pty](int) { return pty.near(); });
    CwKeyer* keyer = cw.get();
    keyers.cw = std::move(cw);
    bench.open(std::move(keyers));
    CwSettings settings;
    settings.keying = CwKeying::WinKey;
    settings.speed = "30";
    settings.messages[1] = "$ 5NN";
    keyer->applySettings(settings);
    WinKeySettings winKeySettings = keyer->winKeySettings();
    winKeySettings.port = 1;
    keyer->setWinKeySettings(winKeySettings);
    keyer->openWinKey();
    if (!QTest::qWaitFor([keyer] { return keyer->winKeyer().isOpen(); }, 5000)) {
        std::printf("F-key to WinKey: not measured: the simulated keyer did not open\n");
        return;
    }
    QLineEdit* call = bench.field("callField");
    QTest::keyClicks(call, QStringLiteral("G4ABC"));
    QTest::qWait(100);

    std::vector<double> toKeyer;
    for (int round = 0; round < 50; ++round) {
        const std::size_t before = winKey.received().size();
        const auto pressed = steady_clock::now();
        QTest::keyClick(call, Qt::Key_F2);
        while (winKey.received().size() == before) {
            std::this_thread::yield();
        }
        toKeyer.push_back(duration<double, std::milli>(steady_clock::now() - pressed).count());
        (void)QTest::qWaitFor([keyer] { return !keyer->isSending(); }, 5000);
    }
    std::printf("F-key to first byte at the WinKey keyer: p50 %.3f ms, p99 %.3f ms, max %.3f ms over %zu presses\n",
        percentile(toKeyer, 0.5), percentile(toKeyer, 0.99), *std::max_element(toKeyer.begin(), toKeyer.end()),
        toKeyer.size());
}

} // namespace
} // namespace brindle

int main(int argc, char** argv)
{
    using namespace brindle;
    brindle::keepSettingsAside();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // Each line as soon as it is measured: the whole run takes minutes.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    std::string paris;
    for (int i = 0; i < 10; ++i) {
        paris += "PARIS ";
    }
    functionKeyToAir();
    functionKeyToWinKey();

    BenchForm busy(ContestLog::Capacity);
    busy.form->findChild<QPushButton*>(QStringLiteral("listAllButton"))->click();
    const Condition conditions[] = { { "idle", nullptr }, { "busy", &busy } };
    for (const Condition& condition : conditions) {
        for (int wpm : { 25, 40 }) {
            keyOne("CQ CQ TEST G4ABC G4ABC TEST", "CQ CQ TEST G4ABC G4ABC TEST", wpm, condition);
            keyOne("PARIS x10", paris, wpm, condition);
        }
    }
    return 0;
}
