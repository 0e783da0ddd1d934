#include "CwSettings.h"

#include "common/FieldReader.h"
#include "common/FieldWriter.h"
#include "common/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace brindle {

CwKeying cwKeyingFromNumber(int number)
{
    switch (number) {
    case 1:
        return CwKeying::Rts;
    case 2:
        return CwKeying::Dtr;
    case 3:
        return CwKeying::ParallelPort;
    case 5:
        return CwKeying::WinKey;
    default:
        return CwKeying::None;
    }
}

CwTiming cwTimingFromText(std::string_view text)
{
    if (equalsIgnoreCase(text, "Loop")) {
        return CwTiming::Loop;
    }
    if (equalsIgnoreCase(text, "Sleep")) {
        return CwTiming::Sleep;
    }
    return CwTiming::Timer;
}

std::string_view cwTimingText(CwTiming timing)
{
    switch (timing) {
    case CwTiming::Loop:
        return "Loop";
    case CwTiming::Sleep:
        return "Sleep";
    case CwTiming::Timer:
        break;
    }
    return "Timer";
}

int leadingWholeNumber(std::string_view text)
{
    text = trimBlanks(text);
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        return text.starts_with('-') ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    if (ec != std::errc()) {
        return 0;
    }
    return static_cast<int>(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

namespace {

constexpr double ShortestWordSpace = -8;

std::string shortestText(double value)
{
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

} // namespace

std::string stepWordSpace(std::string_view text, int step)
{
    const std::optional<double> value = parseDecimal(trimBlanks(text));
    return value ? limitWordSpace(shortestText(*value + step)) : std::string("0");
}

std::string limitWordSpace(std::string_view text)
{
    const std::optional<double> value = parseDecimal(trimBlanks(text));
    return value && *value < ShortestWordSpace ? shortestText(ShortestWordSpace) : std::string(text);
}

CwSettings parseCwSettings(std::string_view content)
{
    CwSettings s;
    FieldReader reader(content);
    // Each takes the next value; false once one is missing or of the wrong kind.
    const auto text = [&reader](std::string& out) { return reader.readText(out); };
    const auto number = [&reader](double& out) {
        const std::optional<double> value = reader.nextNumber();
        out = value.value_or(out);
        return value.has_value();
    };
    for (int f = 0; f < 9; ++f) {
        if (!text(s.messages[static_cast<std::size_t>(f)])) {
            return s;
        }
    }
    if (s.messages[8].empty()) {
        s.messages[8] = EmptyF9Message;
    }
    double keying = 0;
    double shown = 0;
    if (!text(s.port) || !text(s.speed) || !text(s.messages[9]) || !text(s.messages[10]) || !text(s.wordSpace)
        || !number(keying)) {
        return s;
    }
    s.keying = keying == std::floor(keying) && std::abs(keying) < 256 ? cwKeyingFromNumber(static_cast<int>(keying))
                                                                      : CwKeying::None;
    if (!text(s.parallelAddress) || !number(shown)) {
        return s;
    }
    s.showTextOnMain = shown != 0;
    (void)text(s.repeatSeconds);
    return s;
}

std::string formatCwSettings(const CwSettings& s)
{
    FieldWriter out;
    const auto text = [&out](std::string_view value) { out.text(value); };
    for (int f = 0; f < 9; ++f) {
        text(s.messages[static_cast<std::size_t>(f)]);
    }
    text(s.port);
    text(s.speed);
    text(s.messages[9]);
    text(s.messages[10]);
    text(s.wordSpace);
    out.number(static_cast<int>(s.keying));
    text(s.parallelAddress);
    out.number(s.showTextOnMain ? 1 : 0);
    text(s.repeatSeconds);
    return out.content();
}

} // namespace brindle
