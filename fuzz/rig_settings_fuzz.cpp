// "RigCntrl.txt" as an operator may have edited it, read over the window's values: whatever it holds gives
// settings that are written in a form that reads back the same, but for what a quoted value cannot hold
// (quotes, line ends), which is left out. The port stays one the window offers, and the line settings
// the file writes are always the ones its values give.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "rig/RigProfile.h"
#include "rig/RigSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brindle;
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    RigSettings current;
    (void)applyProfile("Icom", current);
    const RigSettings read = parseRigSettings(content, current);
    fuzz::require(read.port >= LowestRigPort && read.port <= HighestRigPort);

    RigSettings expected = read;
    for (std::string* text :
        { &expected.rigName, &expected.parity, &expected.dataBits, &expected.stopBits, &expected.power,
            &expected.pollRate, &expected.frequencyPoll, &expected.modePoll, &expected.rigctldAddress }) {
        *text = storableText(*text);
    }
    expected.baud = trimBlanks(storableText(read.baud));
    const std::string written = formatRigSettings(read);
    fuzz::require(parseRigSettings(written, RigSettings {}) == expected);
    fuzz::require(parseRigSettings(written, current) == expected);
    fuzz::require(formatRigSettings(expected) == written);
    return 0;
}
