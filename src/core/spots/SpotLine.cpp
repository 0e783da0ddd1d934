#include "SpotLine.h"

#include "common/Text.h"
#include "spots/SpotCountry.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace brindle {

namespace {

constexpr std::size_t FreqFirstColumn = 16;
constexpr std::size_t FreqLastColumn = 24;
constexpr std::size_t CallFirstColumn = 27;
constexpr std::size_t CallLastColumn = 39;
constexpr std::size_t RecordStart = 3;

// Columns first to last, counted from 1; what exists of them.
std::string_view columns(std::string_view text, std::size_t first, std::size_t last)
{
    if (first > text.size()) {
        return {};
    }
    return text.substr(first - 1, last - first + 1);
}

std::string_view beforeLineEnd(std::string_view text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    return at;
}

// The digits of the frequency run on into the column before or after its own: column 16 begins a number
// that column 15 started, or column 25 carries on a whole number of kHz that has lost digits. Losing only the
// tenths past column 24 (an RBN skimmer's call one character longer than usual) still leaves the kHz right.
bool frequencyRunsOn(std::string_view line, std::string_view freqText)
{
    const auto at = [line](std::size_t column) { return column <= line.size() ? line[column - 1] : ' '; };
    const auto isNumberChar = [](char c) { return isDigit(c) || c == '.'; };
    if (isNumberChar(at(FreqFirstColumn - 1)) && isNumberChar(at(FreqFirstColumn))) {
        return true;
    }
    return isDigit(at(FreqLastColumn + 1)) && isDigit(at(FreqLastColumn))
        && freqText.find('.') == std::string_view::npos;
}

} // namespace

std::optional<ParsedSpot> parseSpotLine(std::string_view line)
{
    if (line.size() < RecordStart) {
        return std::nullopt;
    }
    const std::string_view content = beforeLineEnd(line);
    ParsedSpot spot;
    spot.call = trimBlanks(columns(content, CallFirstColumn, CallLastColumn));
    const std::string_view freqText = trimBlanks(columns(content, FreqFirstColumn, FreqLastColumn));
    if (!frequencyRunsOn(content, freqText)) {
        spot.freqKHzText = freqText;
    }
    spot.recordText = spotRecordText(line);
    return spot;
}

std::string spotRecordText(std::string_view line)
{
    if (line.size() < RecordStart) {
        return {};
    }
    return std::string(beforeLineEnd(trimBlanks(line.substr(RecordStart))));
}

std::optional<double> spotNumberValue(std::string_view text)
{
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    // The form is checked here rather than left to from_chars, which would also take "inf", "nan" and a
    // minus after a plus.
    std::size_t at = text.starts_with('-') ? 1 : 0;
    const std::size_t wholeEnd = skipDigits(text, at);
    std::size_t digits = wholeEnd - at;
    at = wholeEnd;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionEnd = skipDigits(text, at + 1);
        digits += fractionEnd - at - 1;
        at = fractionEnd;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd == exponent) {
            return std::nullopt;
        }
        at = exponentEnd;
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> spotFrequencyMHz(std::string_view freqKHzText)
{
    const std::optional<double> kHz = spotNumberValue(freqKHzText);
    if (!kHz || *kHz < 0) {
        return std::nullopt;
    }
    const double mHz = *kHz / 1000;
    if (mHz > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    // "-0" is a number too; the store and the list know only the one zero.
    return mHz == 0 ? 0.0f : static_cast<float>(mHz);
}

std::string frequencyMHzText(float freqMHz)
{
    std::array<char, 64> text {};
    const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), freqMHz, std::chars_format::fixed);
    if (ec != std::errc()) {
        return {};
    }
    return std::string(text.data(), end);
}

SpotListRow spotListRow(
    std::string_view call, float freqMHz, std::string_view recordText, const CountryTable& countries)
{
    SpotListRow row;
    row.call = call;
    row.frequency = frequencyMHzText(freqMHz);
    row.qth = lookupSpotCountry(call, countries);
    row.comments = trimBlanks(columns(recordText, 1, 11));
    row.comments += "  ";
    row.comments += trimBlanks(columns(recordText, 35, 59));
    row.prefix = trimBlanks(columns(recordText, 62, 66));
    row.time = columns(recordText, 68, 71);
    row.from = trimBlanks(columns(recordText, 73, 76));
    return row;
}

bool isOwnCallSpotted(std::string_view spottedCall, std::string_view ownCall)
{
    return !ownCall.empty() && equalsIgnoreCase(spottedCall, ownCall);
}

} // namespace brindle
