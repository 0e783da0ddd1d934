// "cw.txt" as an operator may have edited it: whatever it holds gives settings that are written in a form
// that reads back, and writing what was read back gives the very same file.
#include "FuzzSupport.h"

#include "keying/CwSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const std::string saved = brindle::formatCwSettings(brindle::parseCwSettings(content));
    brindle::fuzz::require(brindle::formatCwSettings(brindle::parseCwSettings(saved)) == saved);
    (void)brindle::leadingWholeNumber(content);
    (void)brindle::cwTimingFromText(content);
    return 0;
}
