#include "SpotLine.h"

#include "common/Text.h"
#include "spots/SpotCountry.h"

#include <algorithm>
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
constexpr std::size_t TimeFirstColumn = 68; // of the record

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

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isNumberChar(char c)
{
    return isDigit(c) || c == '.';
}

// Column n of the line, counted from 1; a blank beyond its end.
char columnChar(std::string_view line, std::size_t column)
{
    return column <= line.size() ? line[column - 1] : ' ';
}

// The frequency stands in its columns: a number, not begun in column 15 nor carried on into column 25.
// A skimmer whose call is longer than a cluster's pushes the frequency along, and the columns would then
// hold another number (the kHz without their tenths, or the tail of a 10 GHz frequency).
bool frequencyColumnsHold(std::string_view line, std::string_view freqText)
{
    if (isNumberChar(columnChar(line, FreqFirstColumn - 1)) && isNumberChar(columnChar(line, FreqFirstColumn))) {
        return false;
    }
    if (isNumberChar(columnChar(line, FreqLastColumn)) && isNumberChar(columnChar(line, FreqLastColumn + 1))) {
        return false;
    }
    return spotNumberValue(freqText).has_value();
}

// The call stands in its columns: one word that neither begins before them nor runs on past them.
bool callColumnsHold(std::string_view line, std::string_view call)
{
    return !call.empty() && call.find_first_of(" \t") == std::string_view::npos
        && isBlank(columnChar(line, CallFirstColumn - 1)) && isBlank(columnChar(line, CallLastColumn + 1));
}

// The record's time stands where a cluster puts it: four digits and the Z.
bool timeColumnsHold(std::string_view record)
{
    const std::string_view time = columns(record, TimeFirstColumn, TimeFirstColumn + 4);
    return time.size() == 5 && std::all_of(time.begin(), time.begin() + 4, isDigit)
        && (time[4] == 'Z' || time[4] == 'z');
}

std::string_view nextWord(std::string_view text, std::size_t& at)
{
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    const std::size_t start = at;
    while (at < text.size() && !isBlank(text[at])) {
        ++at;
    }
    return text.substr(start, at - start);
}

bool isTimeWord(std::string_view word)
{
    return word.size() == 5 && std::all_of(word.begin(), word.begin() + 4, isDigit)
        && (word[4] == 'Z' || word[4] == 'z');
}

// A spot line's record read by its fields, whatever their columns: "de", the spotter to its ':', the
// frequency in kHz, the call, the comment, and the time as HHMMZ at the end, with what a node adds after
// it (a locator). Nothing when the record does not begin that way; the time is empty when there is none.
struct SpotFields
{
    std::string_view spotter; // "de" to the ':'
    std::string_view freqKHz;
    std::string_view call;
    std::string_view comment;
    std::string_view time; // HHMM
    std::string after;
};

std::optional<SpotFields> spotFieldsOf(std::string_view record)
{
    if (!startsWithIgnoreCase(record, "de") || record.size() < 3 || !isBlank(record[2])) {
        return std::nullopt;
    }
    std::size_t at = 2;
    const std::string_view spotterWord = nextWord(record, at);
    // The spotter ends at its ':', which a long call may leave no blank after; a spotter cut short by its
    // node (no ':' left) is its word.
    if (const std::size_t colon = spotterWord.find(':'); colon != std::string_view::npos) {
        at = static_cast<std::size_t>(spotterWord.data() - record.data()) + colon + 1;
    }
    SpotFields fields;
    fields.spotter = trimBlanks(record.substr(0, at));
    fields.freqKHz = nextWord(record, at);
    fields.call = nextWord(record, at);
    if (!spotNumberValue(fields.freqKHz) || fields.call.empty()) {
        return std::nullopt;
    }
    const std::size_t commentStart = at;
    std::size_t timeAt = std::string_view::npos;
    for (std::size_t word = at; word < record.size();) {
        const std::string_view found = nextWord(record, word);
        if (isTimeWord(found)) {
            timeAt = word - found.size();
        }
    }
    if (timeAt == std::string_view::npos) {
        fields.comment = trimBlanks(record.substr(commentStart));
        return fields;
    }
    fields.comment = trimBlanks(record.substr(commentStart, timeAt - commentStart));
    fields.time = record.substr(timeAt, 4);
    std::size_t afterAt = timeAt + 5;
    for (const char c : nextWord(record, afterAt)) {
        // A node's bell after the locator is no part of it.
        if (static_cast<unsigned char>(c) >= 0x20) {
            fields.after += c;
        }
    }
    return fields;
}

} // namespace

std::optional<ParsedSpot> parseSpotLine(std::string_view line)
{
    if (line.size() < RecordStart) {
        return std::nullopt;
    }
    const std::string_view content = beforeLineEnd(line);
    ParsedSpot spot;
    spot.recordText = spotRecordText(line);
    const std::string_view call = trimBlanks(columns(content, CallFirstColumn, CallLastColumn));
    const std::string_view freqText = trimBlanks(columns(content, FreqFirstColumn, FreqLastColumn));
    const bool freqHolds = frequencyColumnsHold(content, freqText);
    const bool callHolds = callColumnsHold(content, call);
    const std::optional<SpotFields> fields
        = freqHolds && callHolds ? std::nullopt : spotFieldsOf(spot.recordText);
    spot.call = callHolds || !fields ? call : fields->call;
    if (freqHolds) {
        spot.freqKHzText = freqText;
    } else if (fields) {
        spot.freqKHzText = fields->freqKHz;
    }
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
    const std::optional<SpotFields> fields
        = timeColumnsHold(recordText) ? std::nullopt : spotFieldsOf(recordText);
    if (fields && !fields->time.empty()) {
        // A line laid out otherwise than a cluster's (a skimmer's, a long spotter's): its columns would
        // cut into the comment and take the time's digits apart. There is no prefix field to read.
        row.comments = std::string(fields->spotter) + "  " + std::string(fields->comment);
        row.time = fields->time;
        row.from = fields->after;
        return row;
    }
    row.comments = trimBlanks(columns(recordText, 1, 11));
    row.comments += "  ";
    row.comments += trimBlanks(columns(recordText, 35, 59));
    row.prefix = trimBlanks(columns(recordText, 62, 66));
    row.time = columns(recordText, TimeFirstColumn, TimeFirstColumn + 3);
    row.from = trimBlanks(columns(recordText, 73, 76));
    return row;
}

bool isOwnCallSpotted(std::string_view spottedCall, std::string_view ownCall)
{
    return !ownCall.empty() && equalsIgnoreCase(spottedCall, ownCall);
}

} // namespace brindle
