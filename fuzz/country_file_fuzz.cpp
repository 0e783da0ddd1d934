// The country file, then calls looked up and country names completed over whatever table it gave.
#include "station/CountryTable.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string file = input.ConsumeRandomLengthString(64 * 1024);
    const brindle::CountryFileLoad loaded = brindle::parseCountryFile(file);
    while (input.remaining_bytes() > 0) {
        const std::string call = input.ConsumeRandomLengthString(16);
        (void)brindle::lookupCountry(loaded.table, call);
        const std::size_t cursor = input.ConsumeIntegralInRange<std::size_t>(0, call.size());
        (void)brindle::completeCountryName(loaded.table, call, cursor, input.ConsumeIntegral<char>());
    }
    return 0;
}
