// The default-data file: whatever parses must be written and read back unchanged.
#include "station/DefaultData.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    brindle::Result<brindle::DefaultData> parsed = brindle::parseDefaultData(content);
    if (!parsed) {
        return 0;
    }
    brindle::Result<brindle::DefaultData> reread
        = brindle::parseDefaultData(brindle::formatDefaultData(parsed.value()));
    if (!reread || !(reread.value() == parsed.value())) {
        __builtin_trap();
    }
    return 0;
}
