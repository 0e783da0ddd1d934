#include "os/PosixFileSystem.h"
#include "station/CountryTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace brindle {
namespace {

// Stands in for the distributed file when it is missing: 7,700 prefixes, sorted, spread over digits and
// letters with a few crowded first characters, as the real file has them.
std::string syntheticCountryFile()
{
    std::vector<std::string> prefixes;
    const std::string firsts = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int n = 0; prefixes.size() < 7700; ++n) {
        // Every third prefix falls on R, U or B, like the many call areas of Russia and China.
        const char first = n % 3 == 0 ? "RUB"[n / 3 % 3] : firsts[static_cast<std::size_t>(n) % firsts.size()];
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%c%c%d", first, 'A' + n / 36 % 26, n / 936);
        prefixes.push_back(prefix);
    }
    std::sort(prefixes.begin(), prefixes.end());
    std::string content;
    for (const std::string& prefix : prefixes) {
        content += "\"" + prefix + "\",\"Land of " + prefix + "\",\"EU\",-10.00,51.00,14,28,-1.0\r\n";
    }
    return content;
}

struct CountryData
{
    CountryData()
    {
        PosixFileSystem fs;
        Result<std::string> read = fs.readFile(path);
        content = read ? read.value() : syntheticCountryFile();
        if (!read) {
            path.clear();
        }
        table = parseCountryFile(content).table;
    }

    std::string path = std::string(BRINDLE_DATA_DIR) + "/" + std::string(CountryFileName);
    std::string content;
    CountryTable table;
};

CountryData& countryData()
{
    static CountryData data;
    return data;
}

void describe(benchmark::State& state)
{
    const CountryData& data = countryData();
    state.SetLabel((data.path.empty() ? std::string("synthetic") : data.path) + ", "
        + std::to_string(data.table.count()) + " records");
}

// Looks the calls up one after another, round and round, for as long as the benchmark runs.
void lookUpInTurn(benchmark::State& state, const CountryTable& table, const std::vector<std::string>& calls)
{
    std::size_t next = 0;
    for (auto _ : state) {
        CountryLookup found = lookupCountry(table, calls[next]);
        benchmark::DoNotOptimize(found);
        next = next + 1 == calls.size() ? 0 : next + 1;
    }
    describe(state);
}

// One lookup per keystroke in the call field: calls from all over the world, as typed so far.
void BM_LookupCountry(benchmark::State& state)
{
    const CountryTable& table = countryData().table;
    const std::vector<std::string> calls = { "K1ABC", "W1AW", "N5XX", "AA7BQ", "KH6ABC", "KL7ABC", "KG4AB", "KG4ABC",
        "VE3ABC", "VA7XY", "VO1AA", "JA1ABC", "JH4XYZ", "PY2ABC", "LU1ABC", "DL1ABC", "DL1ABC/VE3", "G3ABC", "GM4ABC",
        "F5ABC", "EA8ABC", "I2ABC", "OH2ABC", "SM5ABC", "UA3ABC", "RA9ABC", "R3ABC", "UA0ABC", "BY1ABC", "BA4ABC",
        "HL1ABC", "VK2ABC", "ZL1ABC", "ZS6ABC", "5B4ABC", "9A1ABC", "4X4ABC", "3D2AB", "YB1ABC", "XE1ABC", "CE3ABC",
        "K", "KH", "VE", "R", "3" };
    lookUpInTurn(state, table, calls);
}
BENCHMARK(BM_LookupCountry);

// The slowest lookups: calls in the largest blocks of one first character, and the KG4 rule's search for
// the first USA record.
void BM_LookupCountryCrowdedBlocks(benchmark::State& state)
{
    const CountryTable& table = countryData().table;
    const std::vector<std::string> calls = { "RA9ABC", "RZ9ABC", "R1ABC", "3D2AB", "3W9ABC", "BY1ABC", "BV9ABC",
        "UA0ABC", "UN7ABC", "LU1ABC", "LZ1ABC", "KG4ABC", "ZZ9ZZ" };
    lookUpInTurn(state, table, calls);
}
BENCHMARK(BM_LookupCountryCrowdedBlocks);

// Parsing alone, from bytes already in memory.
void BM_ParseCountryFile(benchmark::State& state)
{
    const std::string& content = countryData().content;
    for (auto _ : state) {
        CountryFileLoad load = parseCountryFile(content);
        benchmark::DoNotOptimize(load.table.count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(content.size()));
    describe(state);
}
BENCHMARK(BM_ParseCountryFile)->Unit(benchmark::kMillisecond);

// What start-up spends: two folders without the file, then the read and the parse.
void BM_LoadCountryTable(benchmark::State& state)
{
    const CountryData& data = countryData();
    if (data.path.empty()) {
        state.SkipWithError("data/arrlpre2.txt has not been generated");
        return;
    }
    const std::string folder = std::string(BRINDLE_DATA_DIR);
    const std::string missing = folder + "/no such folder";
    PosixFileSystem fs;
    for (auto _ : state) {
        CountryFileLoad load = loadCountryTable(fs, missing, missing, folder);
        if (load.failed || load.table.count() == 0) {
            state.SkipWithError("country file did not load");
            break;
        }
        benchmark::DoNotOptimize(load.table.count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.content.size()));
    describe(state);
}
BENCHMARK(BM_LoadCountryTable)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace brindle
