// One read tick's decoding of real rig replies, through the profile's name as the poll cycle calls it: the
// text families (Kenwood, Orion), the CI-V frame walk behind an echo, and the binary Yaesu status record.
// Each tick has to be far inside the fastest poll interval (100 ms); the aim is under a microsecond.

#include "rig/RigReplies.h"

#include <benchmark/benchmark.h>

#include <string>

namespace brindle {
namespace {

void decodeEveryTick(benchmark::State& state, const char* rig, std::string buffer, bool askedFrequency)
{
    RigReading reading;
    const RigReply reply { buffer, "FA;", "MD0;", askedFrequency };
    for (auto _ : state) {
        decodeRigReply(rig, reply, reading);
        benchmark::DoNotOptimize(reading);
    }
    // A reply that reads as nothing would time the quickest way out, not the decoding.
    if (!reading.freqMHz && reading.mode.empty()) {
        state.SkipWithError("the reply decodes to nothing");
    }
}

const std::string IfReply = "IF00014025000" + std::string(16, '0') + "31000000;";
const std::string CivFrequency("\xFE\xFE\x64\xE0\x03\xFD\xFE\xFE\xE0\x64\x03\x00\x50\x02\x14\x00\xFD", 17);
const std::string CivMode("\xFE\xFE\x64\xE0\x04\xFD\xFE\xFE\xE0\x64\x04\x03\x01\xFD", 14);
const std::string Yaesu890("\x00\x00\x15\x66\x84\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 18);

BENCHMARK_CAPTURE(decodeEveryTick, kenwood_fa_md, "Kenwood", "FA00014025000;MD3;", true);
BENCHMARK_CAPTURE(decodeEveryTick, kenwood_if, "Kenwood 2", IfReply, true);
BENCHMARK_CAPTURE(decodeEveryTick, icom_frequency_after_echo, "Icom", CivFrequency, true);
BENCHMARK_CAPTURE(decodeEveryTick, icom_mode_after_echo, "Icom", CivMode, false);
BENCHMARK_CAPTURE(decodeEveryTick, yaesu_890_status, "Yaesu 890", Yaesu890, true);
BENCHMARK_CAPTURE(decodeEveryTick, orion, "Ten Tec Orion", "@AF14025000\r@RMM3\r", true);

} // namespace
} // namespace brindle
