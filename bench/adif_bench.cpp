// The exports of a full log: the ADIF file of 12,000 contacts, built and written, and the clipboard text
// of the contact list showing all of them.

#include "log/ContactList.h"
#include "log/ContestLog.h"
#include "os/PosixFileSystem.h"
#include "reports/Adif.h"
#include "reports/ClipboardText.h"
#include "support/LogSamples.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace brindle;

// The sample contacts with the country names of the shipped tables, so every contact looks up a real
// DXCC number, with some Alaska, Hawaii and District of Columbia contacts and some without a country.
ContestLog fullLog()
{
    ContestLog log;
    for (int n = 0; n < ContestLog::Capacity; ++n) {
        QsoRecord record = test::sampleRecord(n);
        if (record.country != "Canada") {
            record.country = "USA";
        }
        switch (n % 50) {
        case 1:
            record.country = "Alaska";
            break;
        case 2:
            record.country = "Hawaii";
            break;
        case 3:
            record.country = "USA";
            record.section = "DC";
            break;
        case 4:
            record.country.clear();
            break;
        default:
            break;
        }
        log.append(std::move(record));
    }
    return log;
}

AdifCountryTable shippedTable()
{
    Result<AdifCountryTable> table = parseAdifCountryTable(test::readBytes(BRINDLE_DATA_DIR "/ADIFCnt.txt"));
    if (!table) {
        throw std::runtime_error(table.error().description);
    }
    return std::move(table).value();
}

AdifExportSettings exportSettings()
{
    return { "100", "International DX Contest", "CW", "KORVA's Brindle 1.8 (DX Version)", "2/21/26 2:05:09 PM" };
}

void BM_AdifFileText(benchmark::State& state)
{
    const ContestLog log = fullLog();
    const AdifCountryTable table = shippedTable();
    const AdifExportSettings settings = exportSettings();
    for (auto _ : state) {
        std::string text = adifFileText(log, table, settings);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * log.count());
}
BENCHMARK(BM_AdifFileText)->Unit(benchmark::kMillisecond);

// What the operator waits for once the file is chosen: the table read from disk, the text built, and the
// file replaced and synced.
void BM_AdifExportToDisk(benchmark::State& state)
{
    const ContestLog log = fullLog();
    const AdifExportSettings settings = exportSettings();
    const test::TempFolder temp;
    const std::string& folder = temp.path();
    std::filesystem::copy_file(BRINDLE_DATA_DIR "/ADIFCnt.txt", folder + "/ADIFCnt.txt");
    PosixFileSystem fs;
    const std::string path = folder + "/Brindle.adi";
    for (auto _ : state) {
        const Result<AdifCountryTable> table = loadAdifCountryTable(fs, folder, folder, folder);
        if (!table || !fs.replaceFile(path, adifFileText(log, table.value(), settings))) {
            state.SkipWithError("export failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * log.count());
}
BENCHMARK(BM_AdifExportToDisk)->Unit(benchmark::kMillisecond);

void BM_ClipboardTextOfAllContacts(benchmark::State& state)
{
    const ContestLog log = fullLog();
    const std::vector<int> listed = recentContacts(log.count(), true);
    for (auto _ : state) {
        std::string text = clipboardText(log, listed);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * log.count());
}
BENCHMARK(BM_ClipboardTextOfAllContacts)->Unit(benchmark::kMillisecond);

} // namespace
