#include "log/Bands.h"
#include "log/SectionTable.h"
#include "log/Statistics.h"

#include "support/LogSamples.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace brindle {
namespace {

const ContestLog& fullLog()
{
    static const ContestLog log = test::sampleLogOnOneBand(ContestLog::Capacity, "20");
    return log;
}

// The index the working log keeps beside the full log.
const CallIndex& fullIndex()
{
    static const CallIndex calls(fullLog());
    return calls;
}

// A new call: no record starts with it.
void partialSearchNoMatch(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    const CallIndex& calls = fullIndex();
    for (auto _ : state) {
        benchmark::DoNotOptimize(partialCallSearch(log, calls, "20", "DL1Z", 'Q', true, true));
    }
}
BENCHMARK(partialSearchNoMatch)->Unit(benchmark::kMicrosecond);

// The third key of a common prefix: matches are sparse enough that the list fills late in the log.
void partialSearchThirdKey(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    const CallIndex& calls = fullIndex();
    for (auto _ : state) {
        benchmark::DoNotOptimize(partialCallSearch(log, calls, "20", "K3", 'Z', true, true));
    }
}
BENCHMARK(partialSearchThirdKey)->Unit(benchmark::kMicrosecond);

// The first key: the list passes 100 characters after a few records.
void partialSearchFirstKey(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    const CallIndex& calls = fullIndex();
    for (auto _ : state) {
        benchmark::DoNotOptimize(partialCallSearch(log, calls, "20", "", 'K', true, true));
    }
}
BENCHMARK(partialSearchFirstKey)->Unit(benchmark::kMicrosecond);

void dupcheckNewCall(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    const CallIndex& calls = fullIndex();
    for (auto _ : state) {
        benchmark::DoNotOptimize(duplicateCheck(log, calls, "DL1ZQ", "20"));
    }
}
BENCHMARK(dupcheckNewCall)->Unit(benchmark::kMicrosecond);

// The last record's call: the latest contact with a station.
void dupcheckLastRecord(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    const CallIndex& calls = fullIndex();
    const std::string call = log.record(log.count()).call;
    for (auto _ : state) {
        benchmark::DoNotOptimize(duplicateCheck(log, calls, call, "20"));
    }
}
BENCHMARK(dupcheckLastRecord)->Unit(benchmark::kMicrosecond);

// The last record's call on another band: every contact with the station is read, none is a duplicate.
void dupcheckOtherBand(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    const CallIndex& calls = fullIndex();
    const std::string call = log.record(log.count()).call;
    for (auto _ : state) {
        benchmark::DoNotOptimize(duplicateCheck(log, calls, call, "40"));
    }
}
BENCHMARK(dupcheckOtherBand)->Unit(benchmark::kMicrosecond);

// The first record's call typed in lower case: the duplicate is the first contact read.
void dupcheckFirstRecordLowerCase(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    const CallIndex& calls = fullIndex();
    std::string call = log.record(1).call;
    for (char& c : call) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(duplicateCheck(log, calls, call, "20"));
    }
}
BENCHMARK(dupcheckFirstRecordLowerCase)->Unit(benchmark::kMicrosecond);

// Every call of a log spread over the six bands, checked on 20 in turn: duplicates, calls worked only on
// other bands and, typed in lower case, the same again.
void dupcheckEveryCallOfAMixedLog(benchmark::State& state)
{
    static const ContestLog log = test::sampleLog(ContestLog::Capacity);
    static const CallIndex calls(log);
    std::vector<std::string> probes;
    for (const QsoRecord& record : log.records()) {
        probes.push_back(record.call);
        std::string lower = record.call;
        for (char& c : lower) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        probes.push_back(lower + "/P");
    }
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(duplicateCheck(log, calls, probes[next], "20"));
        next = next + 1 == probes.size() ? 0 : next + 1;
    }
}
BENCHMARK(dupcheckEveryCallOfAMixedLog)->Unit(benchmark::kMicrosecond);

// What starting the program or adopting a rewritten log adds: the index of the full log, built afresh.
void rebuildCallIndex(benchmark::State& state)
{
    const ContestLog& log = fullLog();
    CallIndex calls;
    for (auto _ : state) {
        calls.rebuild(log);
        benchmark::DoNotOptimize(calls.count());
    }
    state.counters["index_bytes"] = static_cast<double>(calls.bytesHeld());
}
BENCHMARK(rebuildCallIndex)->Unit(benchmark::kMicrosecond);

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
