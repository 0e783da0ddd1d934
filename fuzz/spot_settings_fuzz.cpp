// "PackSpot.txt" as an operator may have edited it, read over the window's values: whatever it holds gives
// settings that are written in a form that reads back the same, but for what a quoted value cannot hold
// (quotes, line ends), which is left out. The port and handshaking stay ones the window offers, and
// "List DX Only" is never taken from the file.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "spots/SpotSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brindle;
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    SpotSettings current;
    current.source = "Telnet";
    current.port = 3;
    current.telnetHost = "dxc.example.net";
    current.autoReconnect = true;
    const SpotSettings read = parseSpotSettings(content, current);
    fuzz::require(read.port >= LowestSpotPort && read.port <= HighestSpotPort);
    fuzz::require(read.handshaking >= 1 && read.handshaking <= 4);
    fuzz::require(!read.dxOnly);

    SpotSettings expected = read;
    for (std::string* text : { &expected.parity, &expected.dataBits, &expected.stopBits, &expected.power,
             &expected.source, &expected.commandChar, &expected.telnetPort, &expected.telnetHost, &expected.agwAddress,
             &expected.telnetLoginCall }) {
        *text = storableText(*text);
    }
    expected.speed = trimBlanks(storableText(read.speed));
    const std::string written = formatSpotSettings(read);
    fuzz::require(parseSpotSettings(written, SpotSettings {}) == expected);
    fuzz::require(parseSpotSettings(written, current) == expected);
    fuzz::require(formatSpotSettings(expected) == written);
    return 0;
}
