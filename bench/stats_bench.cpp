#include "log/Bands.h"
#include "log/SectionTable.h"
#include "log/Statistics.h"

#include "support/LogSamples.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace brindle {
namespace {

const ContestLog& fullLog()
{
    static const ContestLog log = test::sampleLogOnOneBand(ContestLog::Capacity, "20");
    return log;
}

// A new call: no record starts with it, so every key scans the whole log.
void partialSearchNoMatch(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    for (auto _ : state) {
        benchmark::DoNotOptimize(partialCallSearch(log, "20", "DL1Z", 'Q', true, true));
    }
}
BENCHMARK(partialSearchNoMatch)->Unit(benchmark::kMicrosecond);

// The third key of a common prefix: matches are sparse enough that the list fills late in the log.
void partialSearchThirdKey(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    for (auto _ : state) {
        benchmark::DoNotOptimize(partialCallSearch(log, "20", "K3", 'Z', true, true));
    }
}
BENCHMARK(partialSearchThirdKey)->Unit(benchmark::kMicrosecond);

// The first key: the list passes 100 characters after a few records.
void partialSearchFirstKey(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    for (auto _ : state) {
        benchmark::DoNotOptimize(partialCallSearch(log, "20", "", 'K', true, true));
    }
}
BENCHMARK(partialSearchFirstKey)->Unit(benchmark::kMicrosecond);

void dupcheckNewCall(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    for (auto _ : state) {
        benchmark::DoNotOptimize(duplicateCheck(log, "DL1ZQ", "20"));
    }
}
BENCHMARK(dupcheckNewCall)->Unit(benchmark::kMicrosecond);

// The last record's call: found only at the end of the scan.
void dupcheckLastRecord(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    const std::string call = log.record(log.count()).call;
    for (auto _ : state) {
        benchmark::DoNotOptimize(duplicateCheck(log, call, "20"));
    }
}
BENCHMARK(dupcheckLastRecord)->Unit(benchmark::kMicrosecond);

void rebuildTalliesAndScore(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    BandTallies tallies;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tallies.rebuild(log));
        benchmark::DoNotOptimize(scoreSummary(tallies, "20"));
    }
}
BENCHMARK(rebuildTalliesAndScore)->Unit(benchmark::kMicrosecond);

// A minute after the last contact: the scan reads back through a full hour of the log.
void timeStatsFullHour(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    const QsoRecord& last = log.record(log.count());
    DateTime now { 2026, 2, 21, 0, 0, 0 };
    std::sscanf(last.qsoDate.c_str(), "%d/%d/%d", &now.year, &now.month, &now.day);
    std::sscanf(last.qsoTime.c_str(), "%d:%d:%d", &now.hour, &now.minute, &now.second);
    now = addHours(now, 1.0 / 60);
    for (auto _ : state) {
        benchmark::DoNotOptimize(contactRates(log, now));
    }
}
BENCHMARK(timeStatsFullHour)->Unit(benchmark::kMicrosecond);

void sectionTallyFullLog(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    for (auto _ : state) {
        benchmark::DoNotOptimize(sectionTallyText(log, 2));
    }
}
BENCHMARK(sectionTallyFullLog)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brindle
