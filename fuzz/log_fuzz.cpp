// The log file as an operator or another program may have left it: whatever parses must write back and
// read back to the same log, so a rewrite never changes or loses a contact.
#include "FuzzSupport.h"

#include "log/LogFormat.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const brindle::ParsedLog parsed = brindle::parseLog(content);
    if (parsed.failure) {
        return 0;
    }
    const brindle::ParsedLog reread = brindle::parseLog(brindle::formatLog(parsed.log));
    brindle::fuzz::require(!reread.failure && reread.log == parsed.log);
    return 0;
}
