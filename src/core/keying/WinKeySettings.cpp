#include "WinKeySettings.h"

#include "common/FieldReader.h"
#include "common/FieldWriter.h"
#include "common/Text.h"

#include <cmath>

namespace brindle {

std::optional<std::uint8_t> winKeyByte(std::string_view text)
{
    const std::optional<double> value = parseDecimal(trimBlanks(text));
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    // The conversion the window's numbers have always had: "12.5" is 12, "13.5" is 14.
    const double rounded = std::nearbyint(*value);
    if (rounded < 0 || rounded > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(rounded);
}

namespace {

WinKeyFieldCheck checkInRange(std::string_view text, int lowest, int highest, const char* fallback)
{
    const std::optional<std::uint8_t> value = winKeyByte(text);
    if (!value) {
        return { std::nullopt, std::string(fallback) };
    }
    if (*value < lowest || *value > highest) {
        return {};
    }
    return { value, std::nullopt };
}

} // namespace

WinKeyFieldCheck checkWinKeySpeed(std::string_view text)
{
    return checkInRange(text, 0, 99, "18");
}

WinKeyFieldCheck checkWinKeyWeight(std::string_view text)
{
    return checkInRange(text, 0, 99, "50");
}

WinKeyFieldCheck checkWinKeyRatio(std::string_view text)
{
    return checkInRange(text, 33, 66, "50");
}

WinKeyLeadTailCheck checkWinKeyLeadInAndTail(std::string_view leadIn, std::string_view tail)
{
    const std::optional<std::uint8_t> lead = winKeyByte(leadIn);
    const std::optional<std::uint8_t> after = winKeyByte(tail);
    if (!lead || !after) {
        return { std::nullopt, true };
    }
    return { std::pair { *lead, *after }, false };
}

WinKeyPortCheck checkWinKeyPort(std::string_view text)
{
    if (!parseDecimal(trimBlanks(text))) {
        return { 0, std::string("0") };
    }
    return { winKeyByte(text).value_or(0), std::nullopt };
}

WinKeySettings parseWinKeySettings(std::string_view content)
{
    WinKeySettings s;
    FieldReader reader(content);
    const auto text = [&reader](std::string& out) { return reader.readText(out); };
    const auto number = [&reader](int& out) {
        const std::optional<int> value = reader.nextWholeNumber();
        out = value.value_or(out);
        return value.has_value();
    };
    if (!number(s.port) || !text(s.speed) || !text(s.weight) || !text(s.leadIn) || !text(s.tail) || !text(s.ratio)) {
        return s;
    }
    if (!reader.hasMoreValues() || !number(s.pinConfiguration)) {
        return s;
    }
    if (reader.hasMoreValues()) {
        (void)number(s.keyerMode);
    }
    return s;
}

std::string formatWinKeySettings(const WinKeySettings& s)
{
    FieldWriter out;
    const auto text = [&out](std::string_view value) { out.text(value); };
    out.number(s.port);
    text(s.speed);
    text(s.weight);
    text(s.leadIn);
    text(s.tail);
    text(s.ratio);
    out.number(s.pinConfiguration);
    out.number(s.keyerMode);
    return out.content();
}

} // namespace brindle
