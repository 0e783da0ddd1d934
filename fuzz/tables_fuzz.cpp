// The ADIF country table and the band plan, with lookups and the chart laid out over what they gave.
#include "reports/Adif.h"
#include "reports/BandPlan.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string names = input.ConsumeRandomLengthString(16 * 1024);
    if (const auto table = brindle::parseAdifCountryTable(names)) {
        (void)table.value().dxccOf(input.ConsumeRandomLengthString(32));
    }
    const std::string licenceClass(1, input.ConsumeIntegral<char>());
    const brindle::ChartArea area { input.ConsumeFloatingPointInRange(0.0, 1e5),
        input.ConsumeFloatingPointInRange(0.0, 1e5), input.ConsumeFloatingPointInRange(0.0, 1e4) };
    const brindle::BandPlanReading reading = brindle::parseBandPlan(input.ConsumeRemainingBytesAsString());
    (void)brindle::chartRowRecords(reading.plan.records, licenceClass);
    (void)brindle::layoutBandPlanChart(reading.plan.records, licenceClass, area);
    return 0;
}
