// The serial port map as the settings store keeps it, and the port texts the settings files hold: a map
// read back from what it writes is the same map, and a damaged entry never takes the others with it.
#include "FuzzSupport.h"

#include "serial/PortMap.h"
#include "serial/SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using brindle::fuzz::require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const brindle::PortMap map = brindle::parsePortMap(text);
    require(brindle::parsePortMap(brindle::formatPortMap(map)) == map);
    for (const auto& [number, device] : map.portDevices()) {
        require(number >= 1 && map.deviceForPort(number) == device && !device.empty());
    }
    for (const auto& [address, device] : map.parallelDevices()) {
        require(map.deviceForParallelAddress(address) == device);
    }

    if (const auto address = brindle::parseParallelAddress(text)) {
        require(*address >= 0 && *address <= 0xFFFD);
        require(brindle::parseParallelAddress(brindle::formatParallelAddress(*address)) == address);
    }
    if (const auto settings = brindle::parseLineSettings(text)) {
        require(settings->parity == 'N' || settings->parity == 'O' || settings->parity == 'E');
        require(settings->dataBits == 7 || settings->dataBits == 8);
        require(settings->stopBits == 1 || settings->stopBits == 2);
        require(settings->baud > 0);
    }
    return 0;
}
