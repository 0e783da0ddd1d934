// How quickly a phone message goes on the air: from the function key to PTT on and to the first sound
// at the sound card's output, and from the last sound to PTT off. The message plays through the real
// wave player into a PulseAudio null sink, whose monitor a recorder thread reads in 2 ms pieces; PTT is
// a line that stamps its switches.
//
// The recorder hears a sound a few milliseconds after the output has it, so the figures for the first
// sound are upper bounds and "PTT off after the last sound" is short by as much.

#include "BenchFigures.h"

#include "keying/PhoneKeyer.h"
#include "keying/QtWavePlayer.h"
#include "log/ContestSession.h"
#include "os/PosixFileSystem.h"

#include "support/PulseNullSink.h"
#include "support/RecordingKeyingLine.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "support/WaveBytes.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace brindle {
namespace {

using namespace std::chrono;
using Clock = steady_clock;

using bench::percentile;
using bench::ms;

// Reads the sink's monitor on a thread of its own and notes when sound starts and stops arriving.
class SoundWatch
{
public:
    explicit SoundWatch(const std::string& server)
    {
        const std::string command = "PULSE_SERVER=" + server
            + " parec --device=brindle_test.monitor --raw --format=s16le --rate=44100 --channels=1 "
              "--latency-msec=2";
        m_pipe = ::popen(command.c_str(), "r");
        m_thread = std::thread([this] { listen(); });
    }
    ~SoundWatch()
    {
        m_stop = true;
        ::pclose(m_pipe);
        m_thread.join();
    }
    void reset()
    {
        m_first = Clock::time_point {};
        m_last = Clock::time_point {};
    }
    Clock::time_point first() const
    {
        return m_first.load();
    }
    Clock::time_point last() const
    {
        return m_last.load();
    }

private:
    void listen()
    {
        std::int16_t samples[88]; // 2 ms
        while (!m_stop && std::fread(samples, sizeof samples, 1, m_pipe) == 1) {
            const auto now = Clock::now();
            const bool loud = std::any_of(std::begin(samples), std::end(samples), [](std::int16_t s) { return std::abs(s) > 1000; });
            if (loud) {
                Clock::time_point none {};
                m_first.compare_exchange_strong(none, now);
                m_last = now;
            }
        }
    }

    FILE* m_pipe = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stop = false;
    std::atomic<Clock::time_point> m_first {};
    std::atomic<Clock::time_point> m_last {};
};

void functionKeyToAudio()
{
    test::PulseNullSink sink;
    if (!sink.failure().empty()) {
        std::printf("no sound server: %s\n", sink.failure().c_str());
        return;
    }
    test::TempFolder temp;
    constexpr int ToneMs = 500;
    const std::string tone = temp.file("cq.wav");
    test::writeBytes(tone, test::toneWave(1, 16, 1, ToneMs));
    PosixFileSystem fs;
    test::ScriptedDialogs dialogs;
    ContestSession session(fs, temp.file("log.txt"));
    test::RecordingKeyingLine ptt;
    test::RecordingLineSource pttSource(ptt);
    PhoneKeyer keyer(fs, temp.path(), dialogs, std::make_unique<QtWavePlayer>(), test::lendingTo(pttSource));
    keyer.attach(session);
    PhoneSettings settings;
    settings.waveFiles[0] = tone;
    settings.pttPort = "1";
    keyer.applySettings(settings);
    SoundWatch watch(qEnvironmentVariable("PULSE_SERVER").toStdString());
    QTest::qWait(500);
    // One message unmeasured: the recorder's stream takes a moment to come up on a server just started,
    // and hears nothing of what plays meanwhile.
    keyer.playMessage(112);
    (void)QTest::qWaitFor([&] { return !keyer.isPlaying(); }, 5000);
    QTest::qWait(500);

    std::vector<double> toPtt, toSound, pttAfterEnd;
    for (int press = 0; press < 30; ++press) {
        watch.reset();
        const std::size_t edgesBefore = ptt.edges().size();
        const auto pressed = Clock::now();
        keyer.playMessage(112);
        (void)QTest::qWaitFor([&] { return !keyer.isPlaying(); }, 5000);
        QTest::qWait(200);
        const auto edges = ptt.edges();
        if (edges.size() < edgesBefore + 2 || watch.first() == Clock::time_point {}) {
            std::printf("press %d: %zu PTT switches, sound %s, playing %d\n", press, edges.size() - edgesBefore, watch.first() == Clock::time_point {} ? "none" : "heard", keyer.isPlaying());
            continue;
        }
        const auto on = edges[edgesBefore].at;
        const auto off = edges[edgesBefore + 1].at;
        toPtt.push_back(ms(on - pressed));
        toSound.push_back(ms(watch.first() - pressed));
        // The end as the recorder heard it, less nothing for its own delay: a bound from below.
        pttAfterEnd.push_back(ms(off - (watch.first() + milliseconds(ToneMs))));
    }
    if (toPtt.empty()) {
        return;
    }
    std::printf("F1 to PTT on:                p50 %.3f ms, max %.3f ms\n", percentile(toPtt, 0.5),
        *std::max_element(toPtt.begin(), toPtt.end()));
    std::printf("F1 to first sound heard:     p50 %.1f ms, p90 %.1f ms, max %.1f ms\n", percentile(toSound, 0.5),
        percentile(toSound, 0.9), *std::max_element(toSound.begin(), toSound.end()));
    std::printf("PTT off after the last sound: p50 %.1f ms, p90 %.1f ms, max %.1f ms over %zu presses\n",
        percentile(pttAfterEnd, 0.5), percentile(pttAfterEnd, 0.9),
        *std::max_element(pttAfterEnd.begin(), pttAfterEnd.end()), pttAfterEnd.size());
}

} // namespace
} // namespace brindle

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    brindle::functionKeyToAudio();
    return 0;
}
