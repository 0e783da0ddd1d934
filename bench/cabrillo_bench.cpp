// The Cabrillo file of a full log: 12,000 contacts laid out in columns, then written whole to the disk.

#include "common/ProgramTitle.h"
#include "log/ContestLog.h"
#include "os/PosixFileSystem.h"
#include "reports/Cabrillo.h"
#include "support/LogSamples.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace brindle;

// A full log; every fiftieth contact has a call too long for its column, so the shifting path runs too.
ContestLog fullLog()
{
    ContestLog log;
    for (int n = 0; n < ContestLog::Capacity; ++n) {
        QsoRecord record = test::sampleRecord(n);
        if (n % 50 == 0) {
            record.call = "W1/" + record.call + "/MM";
        }
        log.append(std::move(record));
    }
    return log;
}

CabrilloHeader fullHeader()
{
    CabrilloHeader header;
    header.createdBy = programNameFromTitle(mainWindowTitle());
    header.ownCall = "DL1ABC";
    header.power = "100";
    header.mode = "CW";
    header.claimedScore = "2268000";
    header.section = "DX";
    header.name = "Hans Muster";
    header.addressLine1 = "Hauptstrasse 1";
    header.addressLine2 = "12345 Musterstadt";
    header.email = "dl1abc@example.org";
    return header;
}

// The text alone, in memory.
void BM_CabrilloText12000(benchmark::State& state)
{
    const ContestLog log = fullLog();
    const CabrilloHeader header = fullHeader();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string file = cabrilloFile(log, header);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_CabrilloText12000)->Unit(benchmark::kMillisecond);

// What "Write Cabrillo Log File" does once the file name is chosen: build the text and replace the file,
// synced to the disk.
void BM_CabrilloWrite12000(benchmark::State& state)
{
    const ContestLog log = fullLog();
    const CabrilloHeader header = fullHeader();
    test::TempFolder folder;
    PosixFileSystem fs;
    const std::string path = folder.file("DL1ABC.log");
    for (auto _ : state) {
        if (!fs.replaceFile(path, cabrilloFile(log, header))) {
            state.SkipWithError("the file could not be written");
            break;
        }
    }
}
BENCHMARK(BM_CabrilloWrite12000)->Unit(benchmark::kMillisecond);

} // namespace
