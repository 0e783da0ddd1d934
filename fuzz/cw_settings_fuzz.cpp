// "cw.txt" as an operator may have edited it: whatever it holds gives settings that are written in a form
// that reads back the same, but for what a quoted value cannot hold (quotes, line ends), which is left out,
// and an empty F9 message, which reads back as the test text.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "keying/CwSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const brindle::CwSettings read = brindle::parseCwSettings(content);
    brindle::CwSettings expected = read;
    for (std::string* text : { &expected.port, &expected.speed, &expected.wordSpace, &expected.parallelAddress,
             &expected.repeatSeconds }) {
        *text = brindle::storableText(*text);
    }
    for (std::string& message : expected.messages) {
        message = brindle::storableText(message);
    }
    if (expected.messages[8].empty()) {
        expected.messages[8] = brindle::EmptyF9Message;
    }
    brindle::fuzz::require(brindle::parseCwSettings(brindle::formatCwSettings(read)) == expected);
    (void)brindle::leadingWholeNumber(content);
    (void)brindle::cwTimingFromText(content);
    return 0;
}
