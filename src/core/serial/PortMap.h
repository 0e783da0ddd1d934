#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

class SettingsStore;

// The settings-store key under which the map is kept.
inline constexpr std::string_view PortMapSettingKey = "SerialPortMap";

// Which device a port number, or a parallel port's I/O address, stands for on this computer. Operators
// choose ports by number ("1" to "10") as the windows ask for them; the map says that 1 is, say,
// /dev/serial/by-id/usb-FTDI_…; a number nobody mapped stands for /dev/ttyUSB(number - 1).
class PortMap
{
public:
    // The device a number stands for; empty for a number below 1.
    std::string deviceForPort(int number) const;
    // The ppdev device of a parallel port address; empty when the address is unknown and unmapped.
    std::string deviceForParallelAddress(int address) const;

    // An empty device returns the number or address to its default.
    void setPortDevice(int number, std::string_view device);
    void setParallelDevice(int address, std::string_view device);

    // Only what the operator chose, by number or address.
    const std::map<int, std::string>& portDevices() const
    {
        return m_ports;
    }
    const std::map<int, std::string>& parallelDevices() const
    {
        return m_parallel;
    }

    bool operator==(const PortMap&) const = default;

private:
    std::map<int, std::string> m_ports;
    std::map<int, std::string> m_parallel;
};

std::string defaultPortDevice(int number);
std::string defaultParallelDevice(int address);

// One "number=device" or "&Hhex=device" a line. A damaged line is skipped: one bad entry must not take
// the operator's other ports with it.
PortMap parsePortMap(std::string_view text);
std::string formatPortMap(const PortMap& map);

// The map in the per-user settings store, where the Serial Ports window keeps it for every window that
// opens a port.
PortMap loadPortMap(const SettingsStore& settings);
void savePortMap(SettingsStore& settings, const PortMap& map);

// A parallel port address as the CW and phone windows take it: "&H378" is hexadecimal, other text
// decimal. Nothing when it is neither, or outside the 16-bit I/O space with the control register's
// offset of 2.
std::optional<int> parseParallelAddress(std::string_view text);
// "&H378".
std::string formatParallelAddress(int address);

} // namespace brindle
