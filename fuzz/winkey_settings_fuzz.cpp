// "WK.txt" as an operator may have edited it: whatever it holds gives settings that are written in a form
// that reads back the same, but for what a quoted value cannot hold (quotes, line ends), which is left out.
// The field checks take any text, and what they send or show is always within the field's rules.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "keying/WinKeySettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brindle;
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const WinKeySettings read = parseWinKeySettings(content);
    WinKeySettings expected = read;
    for (std::string* text : { &expected.speed, &expected.weight, &expected.leadIn, &expected.tail, &expected.ratio }) {
        *text = storableText(*text);
    }
    fuzz::require(parseWinKeySettings(formatWinKeySettings(read)) == expected);

    if (const auto ratio = checkWinKeyRatio(content); ratio.send) {
        fuzz::require(*ratio.send >= 33 && *ratio.send <= 66 && !ratio.replacement);
    }
    for (const auto check : { checkWinKeySpeed, checkWinKeyWeight }) {
        const WinKeyFieldCheck result = check(content);
        fuzz::require(!(result.send && result.replacement));
        fuzz::require(!result.send || *result.send <= 99);
    }
    const std::size_t half = size / 2;
    const WinKeyLeadTailCheck leadTail = checkWinKeyLeadInAndTail(content.substr(0, half), content.substr(half));
    fuzz::require(leadTail.send.has_value() != leadTail.resetLeftField);
    const WinKeyPortCheck port = checkWinKeyPort(content);
    fuzz::require(port.port >= 0 && port.port <= 255);
    return 0;
}
