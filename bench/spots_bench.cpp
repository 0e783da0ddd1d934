// A cluster feed's text as the reads deliver it: a contest weekend's spot lines (DX cluster and Reverse
// Beacon Network) in pieces of random size up to a TCP segment, taken as lines by the Telnet splitter, by
// the whole Telnet receiver (monitor and login watch included), and by the TNC's line buffer with its
// repeat search over the monitor. The Reverse Beacon Network alone can send a few hundred lines a second
// in a contest; the aim is at least 100,000 lines a second.

#include "spots/LineSplitter.h"
#include "spots/TelnetReceiver.h"
#include "spots/TncLines.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {
namespace {

constexpr int LineCount = 20'000;

struct Feed
{
    std::string text;
    std::vector<std::string_view> reads;
};

const Feed& feed()
{
    static const Feed f = [] {
        Feed made;
        std::mt19937 random(20240113);
        const char* modes[] = { "CW", "RTTY", "FT8" };
        char line[160];
        for (int i = 0; i < LineCount; ++i) {
            const double freqKHz = 7000.0 + (random() % 200000) / 10.0;
            const int minute = i / 60;
            if (i % 3 == 0) {
                std::snprintf(line, sizeof line,
                    "DX de W%dLPL:    %8.1f  K%dABC        %s 599 TEST           %02d%02dZ\r\n", i % 10, freqKHz,
                    i % 10, modes[i % 3], minute / 60 % 24, minute % 60);
            } else {
                std::snprintf(line, sizeof line,
                    "DX de KM%dT-#:   %8.1f  N%dXYZ          %-4s %2d dB  %2d WPM  CQ      %02d%02dZ\r\n", i % 10,
                    freqKHz, i % 10, modes[i % 3], static_cast<int>(random() % 40),
                    15 + static_cast<int>(random() % 25), minute / 60 % 24, minute % 60);
            }
            made.text += line;
        }
        std::string_view rest = made.text;
        while (!rest.empty()) {
            const std::size_t size = std::min<std::size_t>(rest.size(), 1 + random() % 1460);
            made.reads.push_back(rest.substr(0, size));
            rest.remove_prefix(size);
        }
        return made;
    }();
    return f;
}

// What one connection does with each read: the number of lines or spots the read completes.
using ReadTaker = std::function<std::size_t(std::string_view)>;

// The whole feed each pass, through a fresh connection's receiver.
void timeFeed(benchmark::State& state, const std::function<ReadTaker()>& connect)
{
    const Feed& f = feed();
    std::size_t taken = 0;
    for (auto _ : state) {
        const ReadTaker take = connect();
        taken = 0;
        for (const std::string_view read : f.reads) {
            taken += take(read);
        }
    }
    // Fewer would time a receiver that lost lines, not one that keeps up.
    if (taken != LineCount) {
        state.SkipWithError("not every line of the feed came out");
    }
    state.SetItemsProcessed(state.iterations() * LineCount);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(f.text.size()));
}

void telnetLines(benchmark::State& state)
{
    timeFeed(state, [] {
        return [splitter = LineSplitter(), lines = std::vector<std::string>()](std::string_view read) mutable {
            lines.clear();
            splitter.take(read, lines);
            return lines.size();
        };
    });
}

void telnetReceiver(benchmark::State& state)
{
    timeFeed(state, [] {
        return
            [receiver = TelnetReceiver(), monitor = std::string(), now = std::int64_t(0)](
                std::string_view read) mutable { return receiver.take(read, now += 10, monitor, false).spots.size(); };
    });
}

void tncLines(benchmark::State& state)
{
    timeFeed(state, [] {
        return [tnc = TncLineBuffer(), monitor = std::string()](
                   std::string_view read) mutable { return tnc.take(read, monitor, false).size(); };
    });
}

BENCHMARK(telnetLines)->Unit(benchmark::kMillisecond);
BENCHMARK(telnetReceiver)->Unit(benchmark::kMillisecond);
BENCHMARK(tncLines)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace brindle
