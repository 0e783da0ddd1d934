#include "SerialDevices.h"

#include "common/QtText.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <system_error>

namespace brindle {

namespace {

namespace fs = std::filesystem;

std::string detailsOf(const QSerialPortInfo& port)
{
    QStringList known { port.portName() };
    for (const QString& detail : { port.description(), port.manufacturer() }) {
        if (!detail.isEmpty()) {
            known << detail;
        }
    }
    if (!port.serialNumber().isEmpty()) {
        known << QStringLiteral("serial number ") + port.serialNumber();
    }
    return pathFromQString(known.join(QStringLiteral(", ")));
}

// The number after "parport", or nothing for another name.
std::optional<int> parportNumber(std::string_view name)
{
    constexpr std::string_view Prefix = "parport";
    if (!name.starts_with(Prefix)) {
        return std::nullopt;
    }
    name.remove_prefix(Prefix.size());
    int number = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (name.empty() || ec != std::errc() || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return number;
}

} // namespace

std::vector<SerialDeviceChoice> presentSerialDevices(const std::string& stableFolder)
{
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(),
        [](const QSerialPortInfo& a, const QSerialPortInfo& b) { return a.systemLocation() < b.systemLocation(); });
    std::vector<SerialDeviceChoice> choices;
    for (const QSerialPortInfo& port : ports) {
        const std::string device = pathFromQString(port.systemLocation());
        const std::string stable = stableLinkTo(device, stableFolder);
        choices.push_back({ stable.empty() ? device : stable, detailsOf(port) });
    }
    return choices;
}

std::vector<std::string> presentParallelDevices(const std::string& deviceFolder)
{
    std::vector<std::pair<int, std::string>> found;
    std::error_code error;
    for (fs::directory_iterator entry(deviceFolder, error), end; !error && entry != end; entry.increment(error)) {
        if (const auto number = parportNumber(entry->path().filename().string())) {
            found.emplace_back(*number, entry->path().string());
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> devices;
    for (auto& [number, path] : found) {
        devices.push_back(std::move(path));
    }
    return devices;
}

std::string stableLinkTo(const std::string& device, const std::string& stableFolder)
{
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    if (error) {
        return {};
    }
    // Of several links to one device, the first by name, so that the choice does not change between visits.
    std::string first;
    for (fs::directory_iterator entry(stableFolder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code unresolved;
        const fs::path resolved = fs::canonical(entry->path(), unresolved);
        const std::string link = entry->path().string();
        if (!unresolved && resolved == target && (first.empty() || link < first)) {
            first = link;
        }
    }
    return first;
}

} // namespace brindle
