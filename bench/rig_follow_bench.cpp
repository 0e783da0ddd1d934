// How the main window follows the radio, and what polling costs the window. A simulated Kenwood on
// a pseudo-terminal answers the real poll at "100 ms" (a request and a read every 100 ms) while the
// main window holds a full log: the dial is turned to another band at a random moment of the cycle
// and the time until the window's band has changed is measured, in milliseconds and in poll cycles
// (the band change itself reloads the band's log). Meanwhile a 1 ms timer on the window's thread
// notes how late each of its ticks comes: the longest wait is what a key pressed then would wait. Then
// the radio is tuned as a spot click tunes it, and the same probe runs through the longest change there
// is (an Elecraft's, 1.2 s before the frequency), while the time to the change's first byte is taken.

#include "BenchFigures.h"
#include "BenchForm.h"
#include "BenchLoop.h"

#include "rig/RigInterface.h"
#include "rig/RigProfile.h"
#include "serial/QtSerialPort.h"

#include "support/MapSettingsStore.h"
#include "support/PtyPair.h"
#include "support/RigSimulator.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

namespace brindle {
namespace {

using Clock = std::chrono::steady_clock;
using bench::LoopProbe;
using bench::largest;
using bench::ms;
using bench::percentile;
using bench::runFor;
using bench::runUntil;

constexpr int Contacts = 12'000;
constexpr double CycleMs = 100;

void report(const char* what, const std::vector<double>& gaps)
{
    std::printf("%-44s p50 %.2f ms, p99 %.2f ms, max %.2f ms late over %zu ticks\n", what, percentile(gaps, 0.5),
        percentile(gaps, 0.99), largest(gaps), gaps.size());
}

void followTheDial()
{
    test::TempFolder cable;
    test::PtyPair pty(cable.path());
    if (!pty.failure().empty()) {
        std::printf("no pseudo-terminals: %s\n", pty.failure().c_str());
        return;
    }
    auto radio = std::make_unique<test::RigSimulator>(pty.far(), test::RigSimulator::Protocol::Kenwood);
    BenchForm form(Contacts, false);
    // The band plan gives each change its mode command.
    std::filesystem::copy_file(std::string(BRINDLE_DATA_DIR) + "/BandPlan.txt", form.workingDir() + "/BandPlan.txt");
    test::MapSettingsStore store;
    auto made = std::make_unique<RigInterface>(form.fileSystem(), form.workingDir(), form.dialogs(), store,
        [&pty] { return std::make_unique<QtSerialPort>([&pty](int) { return pty.near(); }); });
    RigInterface& rig = *made;
    MainWindowKeyers keyers;
    keyers.rig = std::move(made);
    form.open(std::move(keyers));

    RigSettings settings;
    applyProfile("Kenwood", settings);
    settings.pollRate = "F";
    settings.useFrequency = true;
    rig.applySettings(settings);
    rig.loadSettings();
    rig.startPolling();
    (void)runUntil([&] { return form.form->operatingState().currentBand == "20"; }, 5000);
    runFor(500);

    LoopProbe probe;
    probe.start();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> phase(0, static_cast<int>(CycleMs) - 1);
    std::vector<double> followMs;
    bool onForty = false;
    for (int turn = 0; turn < 40; ++turn) {
        runFor(phase(random));
        onForty = !onForty;
        const std::string wanted = onForty ? "40" : "20";
        const auto turned = Clock::now();
        radio->setFrequencyHz(onForty ? 7'025'000 : 14'025'000);
        if (!runUntil([&] { return form.form->operatingState().currentBand == wanted; }, 5000)) {
            std::printf("turn %d: the band did not follow\n", turn);
            continue;
        }
        followMs.push_back(ms(Clock::now() - turned));
        runFor(150);
    }
    const std::vector<double> whileFollowing = probe.stop();

    std::vector<double> cycles;
    for (double m : followMs) {
        cycles.push_back(m / CycleMs);
    }
    std::printf("Band follows the dial (%d contacts, 100 ms poll): p50 %.0f ms, max %.0f ms = p50 %.2f, max %.2f "
                "poll cycles over %zu turns\n",
        Contacts, percentile(followMs, 0.5), largest(followMs), percentile(cycles, 0.5), largest(cycles),
        followMs.size());
    report("Window's loop while following the dial:", whileFollowing);

    // Changes: the longest of them (an Elecraft's 1.2 s before its frequency) while the probe runs, and
    // the time from asking to the first byte at the radio less the 99 ms the radio is given first.
    settings = RigSettings {};
    applyProfile("Elecraft", settings);
    settings.pollRate = "F";
    settings.useFrequency = true;
    rig.applySettings(settings);
    rig.startPolling();
    runFor(500);
    std::vector<double> toFirstByte;
    probe.start();
    for (int change = 0; change < 6; ++change) {
        (void)radio->takeReceived();
        const Hertz to = change % 2 == 0 ? 14'025'000 : 14'030'000;
        const auto asked = Clock::now();
        rig.changeFrequency(to);
        if (!runUntil([&] { return !rig.isChanging() && radio->frequencyHz() == to; }, 5000)) {
            std::printf("change %d did not reach the radio\n", change);
            continue;
        }
        const std::vector<test::RigSimulator::Arrival> arrivals = radio->arrivals();
        for (const test::RigSimulator::Arrival& arrival : arrivals) {
            if (arrival.bytes.find("MD3;") != std::string::npos) {
                toFirstByte.push_back(ms(arrival.at - asked) - 99);
                break;
            }
        }
    }
    report("Window's loop during Elecraft changes:", probe.stop());
    std::printf("Change asked to its first byte at the radio, less the 99 ms pause: p50 %.2f ms, max %.2f ms over "
                "%zu changes\n",
        percentile(toFirstByte, 0.5), largest(toFirstByte), toFirstByte.size());

    // Polling alone, with a rig that answers, one that is silent, and one whose cable is out.
    probe.start();
    runFor(3000);
    report("... polling an answering rig, same band:", probe.stop());
    radio->setSilent(true);
    probe.start();
    runFor(3000);
    report("... polling a silent rig:", probe.stop());
    radio->stop();
    pty.stop();
    probe.start();
    runFor(3000);
    report("... polling with the cable pulled:", probe.stop());
}

} // namespace
} // namespace brindle

int main(int argc, char** argv)
{
    brindle::keepSettingsAside();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    brindle::followTheDial();
    return 0;
}
