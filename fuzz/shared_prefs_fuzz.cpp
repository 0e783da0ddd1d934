// SharedUserPreferences.xml as another program may have left it, then elements published into it: the
// published value must be what the element then holds.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "station/SharedPreferences.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    brindle::fuzz::MemoryFileSystem fs;
    const std::string path = "SharedUserPreferences.xml";
    fs.files[path] = input.ConsumeRandomLengthString(8 * 1024);
    brindle::SharedPreferences prefs(fs);
    prefs.load(path);
    while (input.remaining_bytes() > 0) {
        // Element names are the program's own upper-case words; values are storable typed text.
        std::string name = input.ConsumeRandomLengthString(12);
        std::erase_if(name, [](char c) { return !((c >= 'A' && c <= 'Z') || c == '_'); });
        if (name.empty()) {
            continue;
        }
        std::string value = brindle::storableText(input.ConsumeRandomLengthString(24));
        std::erase_if(value, [](char c) { return c == '<' || c == '>'; });
        (void)prefs.publish(name, value, input.ConsumeBool());
        const std::string element = "<" + name + ">" + brindle::latin1ToUtf8(value) + "</" + name + ">";
        brindle::fuzz::require(prefs.text().find(element) != std::string::npos);
    }
    return 0;
}
