#pragma once

#include <string>
#include <vector>

namespace brindle {

// A serial device present on this computer, as the Serial Ports window offers it.
struct SerialDeviceChoice
{
    // The link under /dev/serial/by-id when one leads to the device: it names the adapter itself, so it
    // stays right when adapters are plugged in another order and their ttyUSB numbers change.
    std::string path;
    // What the system knows of it: its name, description, maker and serial number.
    std::string details;
};

// In the order of their device names.
std::vector<SerialDeviceChoice> presentSerialDevices(const std::string& stableFolder = "/dev/serial/by-id");

// The parport devices (the ppdev driver's) in deviceFolder, in the order of their numbers.
std::vector<std::string> presentParallelDevices(const std::string& deviceFolder = "/dev");

// The link in stableFolder that leads to device, or nothing.
std::string stableLinkTo(const std::string& device, const std::string& stableFolder);

} // namespace brindle
