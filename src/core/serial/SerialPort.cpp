#include "SerialPort.h"

#include "common/Text.h"

#include <limits>

namespace brindle {

namespace {

std::optional<int> wholeNumber(std::string_view text)
{
    const std::optional<long long> value = parseWholeNumber(text);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

} // namespace

std::string lineSettingsText(
    std::string_view baud, std::string_view parity, std::string_view dataBits, std::string_view stopBits)
{
    std::string text(trimBlanks(storableText(baud)));
    for (const std::string_view value : { parity, dataBits, stopBits }) {
        text += ',';
        text += value;
    }
    return text;
}

std::optional<LineSettings> parseLineSettings(std::string_view text)
{
    std::string_view parts[4];
    std::size_t count = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        if (count == 4) {
            return std::nullopt;
        }
        parts[count++] = text.substr(0, comma);
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    if (count != 4) {
        return std::nullopt;
    }
    LineSettings settings;
    const auto baud = wholeNumber(parts[0]);
    const std::string_view parity = trimBlanks(parts[1]);
    const auto dataBits = wholeNumber(parts[2]);
    const auto stopBits = wholeNumber(parts[3]);
    if (!baud || *baud < 50 || *baud > 4'000'000 || parity.size() != 1 || !dataBits || !stopBits) {
        return std::nullopt;
    }
    settings.baud = *baud;
    settings.parity = toUpperAscii(parity)[0];
    settings.dataBits = *dataBits;
    settings.stopBits = *stopBits;
    const bool validParity = settings.parity == 'N' || settings.parity == 'O' || settings.parity == 'E';
    const bool validData = settings.dataBits == 7 || settings.dataBits == 8;
    const bool validStop = settings.stopBits == 1 || settings.stopBits == 2;
    if (!validParity || !validData || !validStop) {
        return std::nullopt;
    }
    return settings;
}

} // namespace brindle
