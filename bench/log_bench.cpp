#include "common/PosixFileSystem.h"
#include "log/Bands.h"
#include "log/LogFormat.h"
#include "log/SectionTable.h"
#include "log/WorkingLog.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace brindle {
namespace {

// A full contest's log: 12,000 contacts spread over the six bands and the 63 sections, about the size
// a busy two-day effort reaches. Calls are distinct so nothing about the data is unusually cheap.
ContestLog fullContestLog()
{
    static const char* const prefixes[] = { "K", "W", "N", "AA", "KB", "WA", "VE", "VA" };
    static const char* const frequencies[] = { "1.8305", "3.5251", "7.0143", "14.0257", "21.0318", "28.0224" };
    ContestLog log;
    for (int n = 0; n < ContestLog::Capacity; ++n) {
        const std::string prefix = prefixes[n % 8];
        std::string suffix;
        for (int rest = n / 10, i = 0; i < 3; ++i, rest /= 26) {
            suffix += static_cast<char>('A' + rest % 26);
        }
        const bool canadian = prefix[0] == 'V';
        const int second = (n * 14) % (48 * 3600);
        char date[16];
        char time[16];
        std::snprintf(date, sizeof date, "2026/02/%02d", 21 + second / 86400);
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", second % 86400 / 3600, second % 3600 / 60, second % 60);
        const std::size_t band = static_cast<std::size_t>(n / 7) % BandCount;
        QsoRecord record;
        record.call = prefix + std::to_string(n % 10) + suffix;
        record.rstRcvd = "599";
        record.section = std::string(SectionTable::at(canadian ? 50 + n % 14 : 1 + n % 49).abbreviation);
        record.rstSent = "599";
        record.country = canadian ? "Canada" : "United States";
        record.qsoDate = date;
        record.qsoTime = time;
        record.band = std::string(BandCodes[band]);
        record.frequency = n % 4 == 0 ? "" : frequencies[band];
        log.append(std::move(record));
    }
    return log;
}

// One folder on the real disk for the whole run, holding the full log; removed at exit.
struct BenchFolder
{
    BenchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brindle-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path = pattern;
        log = fullContestLog();
        content = formatLog(log);
        logPath = path + "/log.txt";
        std::ofstream(logPath, std::ios::binary) << content;
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    std::string path;
    std::string logPath;
    ContestLog log;
    std::string content;
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
