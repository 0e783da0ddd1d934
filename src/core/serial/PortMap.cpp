#include "PortMap.h"

#include "common/Text.h"
#include "station/SettingsStore.h"

#include <charconv>
#include <cstdio>

namespace brindle {

namespace {

// A device path as a line of the map can hold it.
bool isStorableDevice(std::string_view device)
{
    return !device.empty() && device.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::optional<int> parsePortNumber(std::string_view text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1) {
        return std::nullopt;
    }
    return value;
}

void setOrClear(std::map<int, std::string>& map, int key, std::string_view device)
{
    if (isStorableDevice(device)) {
        map[key] = std::string(device);
    } else {
        map.erase(key);
    }
}

} // namespace

std::string defaultPortDevice(int number)
{
    return number < 1 ? std::string() : "/dev/ttyUSB" + std::to_string(number - 1);
}

std::string defaultParallelDevice(int address)
{
    // The three addresses of the printer ports a PC's BIOS knows, in the order Linux numbers them.
    switch (address) {
    case 0x378:
        return "/dev/parport0";
    case 0x278:
        return "/dev/parport1";
    case 0x3BC:
        return "/dev/parport2";
    default:
        return {};
    }
}

std::string PortMap::deviceForPort(int number) const
{
    const auto found = m_ports.find(number);
    return found != m_ports.end() ? found->second : defaultPortDevice(number);
}

std::string PortMap::deviceForParallelAddress(int address) const
{
    const auto found = m_parallel.find(address);
    return found != m_parallel.end() ? found->second : defaultParallelDevice(address);
}

void PortMap::setPortDevice(int number, std::string_view device)
{
    if (number >= 1) {
        setOrClear(m_ports, number, device);
    }
}

void PortMap::setParallelDevice(int address, std::string_view device)
{
    if (formatParallelAddress(address).empty()) {
        return;
    }
    setOrClear(m_parallel, address, device);
}

std::optional<int> parseParallelAddress(std::string_view text)
{
    text = trimBlanks(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        text.remove_prefix(2);
        base = 16;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0 || value > 0xFFFD) {
        return std::nullopt;
    }
    return value;
}

std::string formatParallelAddress(int address)
{
    if (address < 0 || address > 0xFFFD) {
        return {};
    }
    char text[16];
    std::snprintf(text, sizeof text, "&H%X", static_cast<unsigned>(address));
    return text;
}

PortMap parsePortMap(std::string_view text)
{
    PortMap map;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, equals);
        const std::string_view device = line.substr(equals + 1);
        if (key.starts_with("&")) {
            if (const auto address = parseParallelAddress(key)) {
                map.setParallelDevice(*address, device);
            }
        } else if (const auto number = parsePortNumber(key)) {
            map.setPortDevice(*number, device);
        }
    }
    return map;
}

std::string formatPortMap(const PortMap& map)
{
    std::string text;
    for (const auto& [number, device] : map.portDevices()) {
        text += std::to_string(number) + "=" + device + "\n";
    }
    for (const auto& [address, device] : map.parallelDevices()) {
        text += formatParallelAddress(address) + "=" + device + "\n";
    }
    return text;
}

PortMap loadPortMap(const SettingsStore& settings)
{
    return parsePortMap(settings.get(PortMapSettingKey, ""));
}

void savePortMap(SettingsStore& settings, const PortMap& map)
{
    settings.save(PortMapSettingKey, formatPortMap(map));
}

} // namespace brindle
