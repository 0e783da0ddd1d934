// The default-data file as an operator may have edited it: whatever parses is saved in a form that
// reads back, and saving what was read back gives the very same file.
#include "FuzzSupport.h"

#include "station/DefaultData.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    brindle::Result<brindle::DefaultData> parsed = brindle::parseDefaultData(content);
    if (!parsed) {
        return 0;
    }
    const std::string saved = brindle::formatDefaultData(parsed.value());
    brindle::Result<brindle::DefaultData> reread = brindle::parseDefaultData(saved);
    brindle::fuzz::require(reread && brindle::formatDefaultData(reread.value()) == saved);
    return 0;
}
