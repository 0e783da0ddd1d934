#include "log/Bands.h"
#include "log/LogFormat.h"
#include "log/SectionTable.h"
#include "log/WorkingLog.h"
#include "os/PosixFileSystem.h"

#include "support/LogSamples.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <string>

namespace brindle {
namespace {

// One folder on the real disk for the whole run, holding the full log; removed at exit.
struct BenchFolder
{
    BenchFolder()
        : log(test::sampleLog(ContestLog::Capacity))
        , content(formatLog(log))
        , logPath(temp.file("log.txt"))
    {
        test::writeBytes(logPath, content);
    }

    test::TempFolder temp;
    ContestLog log;
    std::string content;
    std::string logPath;
};

BenchFolder& benchFolder()
{
    static BenchFolder folder;
    return folder;
}

// The heart of every reload (band change, edit, delete): read the file, parse it, rebuild the tallies.
void BM_WorkingLogLoad12000(benchmark::State& state)
{
    BenchFolder& folder = benchFolder();
    PosixFileSystem fs;
    WorkingLog workingLog(fs, folder.logPath);
    for (auto _ : state) {
        if (workingLog.load()) {
            state.SkipWithError("log did not load");
            break;
        }
        benchmark::DoNotOptimize(workingLog.log().count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(folder.content.size()));
}
BENCHMARK(BM_WorkingLogLoad12000)->Unit(benchmark::kMillisecond);

// Parsing alone, from bytes already in memory.
void BM_ParseLog12000(benchmark::State& state)
{
    const std::string& content = benchFolder().content;
    for (auto _ : state) {
        ParsedLog parsed = parseLog(content);
        benchmark::DoNotOptimize(parsed.log.count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(content.size()));
}
BENCHMARK(BM_ParseLog12000)->Unit(benchmark::kMillisecond);

// Formatting alone: the part of a rewrite that is not the disk.
void BM_FormatLog12000(benchmark::State& state)
{
    const ContestLog& log = benchFolder().log;
    for (auto _ : state) {
        std::string content = formatLog(log);
        benchmark::DoNotOptimize(content.data());
    }
}
BENCHMARK(BM_FormatLog12000)->Unit(benchmark::kMillisecond);

// A whole-file rewrite after an edit or delete: format, write a temporary file, fsync, rename, sync the
// folder. Dominated by the disk, so measured in wall time.
void BM_WorkingLogRewrite12000(benchmark::State& state)
{
    BenchFolder& folder = benchFolder();
    PosixFileSystem fs;
    WorkingLog workingLog(fs, folder.logPath);
    for (auto _ : state) {
        if (!workingLog.rewrite(folder.log).ok()) {
            state.SkipWithError("rewrite failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(folder.content.size()));
}
BENCHMARK(BM_WorkingLogRewrite12000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace brindle
