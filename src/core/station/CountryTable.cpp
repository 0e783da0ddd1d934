#include "CountryTable.h"

#include "common/FieldReader.h"
#include "common/Text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>
#include <utility>

namespace brindle {

namespace {

constexpr int FieldsPerRecord = 8;

// Degrees per radian, to the digits the program has always used: changing them would move rounded
// bearings across a half degree here and there.
constexpr double DegreesPerRadian = 57.29577951;
constexpr double MilesPerRadian = 3955.75791314991;
// 1 - cos(d) for an arc d of about 9 m.
constexpr double SamePointTolerance = 1e-12;

// How a character sorts in the lookup: ASCII letters without regard to case, other bytes by their value.
int sortCode(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return (code >= 'a' && code <= 'z') ? code - 'a' + 'A' : code;
}

// An empty prefix has no first character; it sorts before every character.
int firstSortCode(std::string_view text)
{
    return text.empty() ? -1 : sortCode(text.front());
}

// The first eight bytes of a text, zero-padded, as one number: what PrefixHead holds.
std::uint64_t headBytes(std::string_view text)
{
    std::array<unsigned char, 8> bytes {};
    std::memcpy(bytes.data(), text.data(), std::min(text.size(), bytes.size()));
    std::uint64_t value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

// Masks keeping the first n of the eight bytes headBytes packs, in whatever order the machine stores them.
constexpr std::array<std::uint64_t, 9> HeadMasks = [] {
    std::array<std::uint64_t, 9> masks {};
    for (std::size_t kept = 0; kept < masks.size(); ++kept) {
        std::array<unsigned char, 8> bytes {};
        for (std::size_t i = 0; i < kept; ++i) {
            bytes[i] = 0xFF;
        }
        masks[kept] = std::bit_cast<std::uint64_t>(bytes);
    }
    return masks;
}();

bool beginsWithIgnoringCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && equalsIgnoreCase(text.substr(0, start.size()), start);
}

// Reads one record; false when the data ends inside it or a field is damaged.
bool readRecord(FieldReader& reader, CountryInfo& info)
{
    std::array<FieldReader::Field, FieldsPerRecord> fields;
    for (FieldReader::Field& field : fields) {
        if (reader.next(field) != FieldReader::Status::Ok) {
            return false;
        }
    }
    const std::optional<float> longitude = parseSingle(fields[3].text);
    const std::optional<float> latitude = parseSingle(fields[4].text);
    if (!longitude || !latitude) {
        return false;
    }
    info.prefix = std::move(fields[0].text);
    info.country = std::move(fields[1].text);
    info.continent = std::move(fields[2].text);
    info.longitude = *longitude;
    info.latitude = *latitude;
    return true;
}

// A call signed away from home ("DL1ABC/VE3") belongs to the country after the slash, but only when
// that part is short: "VE3/DL1ABC" and "DL1ABC/P" are looked up as typed.
std::string_view portableKey(std::string_view call)
{
    const std::size_t slash = call.find('/');
    if (slash == std::string_view::npos) {
        return call;
    }
    const double tail = static_cast<double>(call.size() - slash - 1);
    if (tail > 1 && tail < static_cast<double>(call.size()) / 2) {
        return call.substr(slash + 1);
    }
    return call;
}

// KG4 with two letters is Guantanamo Bay; the other KG4 calls are issued in the USA.
bool isUsaKg4Call(std::string_view call)
{
    return beginsWithIgnoringCase(call, "KG4") && (call.size() == 4 || call.size() > 5);
}

const CountryInfo* firstUsaRecord(const CountryTable& table)
{
    for (const CountryInfo& info : table.records()) {
        if (equalsIgnoreCase(info.country, "USA")) {
            return &info;
        }
    }
    return nullptr;
}

// The arc cosine the bearing has always been computed with. At 1 and -1 it used to divide by zero, and
// a rounding error beyond them made it take the root of a negative number; both now give the limits.
double arcCosine(double x)
{
    const double quarterTurn = 2 * std::atan(1.0);
    if (x >= 1) {
        return 0;
    }
    if (x <= -1) {
        return 2 * quarterTurn;
    }
    return std::atan(-x / std::sqrt(1 - x * x)) + quarterTurn;
}

// A whole number as the labels' "###" and "##,###" formats show it: rounded half away from zero, no
// mandatory digit (so zero shows as nothing), optionally with thousands separated by ",".
std::string formatWhole(double value, bool groupThousands)
{
    const double rounded = std::round(value);
    if (rounded == 0) {
        return {};
    }
    const std::string digits = std::to_string(static_cast<long long>(std::fabs(rounded)));
    std::string text = rounded < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (groupThousands && i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text;
}

} // namespace

CountryTable::CountryTable(std::vector<CountryInfo> records)
    : m_records(std::move(records))
{
    // The lookup compares prefixes byte for byte with the upper-cased call.
    m_heads.reserve(m_records.size());
    for (CountryInfo& info : m_records) {
        info.prefix = toUpperAscii(info.prefix);
        m_heads.push_back(
            { headBytes(info.prefix), static_cast<std::uint32_t>(info.prefix.size()), firstSortCode(info.prefix) });
    }
}

int CountryTable::count() const
{
    return static_cast<int>(m_records.size());
}

const CountryInfo& CountryTable::record(int number) const
{
    assert(number >= 1 && number <= count());
    return m_records[static_cast<std::size_t>(number - 1)];
}

const std::vector<CountryInfo>& CountryTable::records() const
{
    return m_records;
}

CountryFileLoad parseCountryFile(std::string_view content)
{
    CountryFileLoad load;
    std::vector<CountryInfo> records;
    FieldReader reader(content);
    for (;;) {
        reader.skipBlankLines();
        if (reader.atEnd()) {
            break;
        }
        CountryInfo info;
        if (static_cast<int>(records.size()) == CountryTable::Capacity || !readRecord(reader, info)) {
            load.failed = true;
            break;
        }
        records.push_back(std::move(info));
    }
    load.table = CountryTable(std::move(records));
    return load;
}

CountryFileLoad loadCountryTable(
    FileSystem& fs, const std::string& sharedDir, const std::string& programDataDir, const std::string& workingDir)
{
    for (const std::string* folder : { &sharedDir, &programDataDir, &workingDir }) {
        std::string path = joinPath(*folder, CountryFileName);
        Result<std::string> content = fs.readFile(path);
        if (!content && content.error().missing) {
            continue;
        }
        CountryFileLoad load;
        if (content) {
            load = parseCountryFile(content.value());
        } else {
            load.failed = true;
        }
        load.path = std::move(path);
        return load;
    }
    return {};
}

CountryLookup lookupCountry(const CountryTable& table, std::string_view callText)
{
    const std::string_view key = portableKey(callText);
    CountryLookup result;
    if (key.empty()) {
        return result;
    }
    result.outcome = CountryLookup::Outcome::NotFound;
    const int count = table.count();
    if (count == 0) {
        return result;
    }

    // Prefixes are sorted, so every first character is one block: start where the letter would fall if
    // the prefixes were spread evenly over the alphabet, back out of the block, then scan through it
    // towards its other end and no further.
    const std::vector<CountryInfo>& records = table.records();
    const std::vector<CountryTable::PrefixHead>& heads = table.m_heads;
    const auto firstOf = [&heads](int number) { return heads[static_cast<std::size_t>(number - 1)].firstSortCode; };
    const std::string upperKey = toUpperAscii(key);
    const std::uint64_t keyHead = headBytes(upperKey);
    const int keyFirst = sortCode(key.front());
    const int startCode = std::max(static_cast<int>(static_cast<unsigned char>(key.front())), 65);
    const double interpolated = std::floor(static_cast<double>(count) * (startCode - 64) / 26);
    int start = static_cast<int>(std::clamp(interpolated, 1.0, static_cast<double>(count)));
    while (firstOf(start) == keyFirst && start > 1) {
        start = std::max(start - 5, 1);
    }

    // Only a prefix with the key's first character can match, so the others are merely stepped over.
    int best = 0;
    std::size_t bestLength = 0;
    // A prefix matches when its first bytes equal the key's, and, longer than eight, the rest too.
    const auto matches = [&](const CountryTable::PrefixHead& head, int number) {
        const std::size_t length = head.length;
        return length <= upperKey.size() && (keyHead & HeadMasks[std::min<std::size_t>(length, 8)]) == head.bytes
            && (length <= 8 || upperKey.compare(8, length - 8, records[number - 1].prefix, 8) == 0);
    };
    if (firstOf(start) > keyFirst) {
        for (int i = start; i >= 1; --i) {
            const CountryTable::PrefixHead& head = heads[static_cast<std::size_t>(i - 1)];
            if (head.firstSortCode == keyFirst) {
                if (head.length > bestLength && matches(head, i)) {
                    best = i;
                    bestLength = head.length;
                }
            } else if (head.firstSortCode < keyFirst) {
                break;
            }
        }
    } else {
        for (int i = start; i <= count; ++i) {
            const CountryTable::PrefixHead& head = heads[static_cast<std::size_t>(i - 1)];
            if (head.firstSortCode == keyFirst) {
                if (head.length > bestLength && matches(head, i)) {
                    best = i;
                    bestLength = head.length;
                }
            } else if (head.firstSortCode > keyFirst) {
                break;
            }
        }
    }
    if (best == 0) {
        return result;
    }

    result.outcome = CountryLookup::Outcome::Found;
    if (isUsaKg4Call(callText)) {
        result.countryText = "USA";
        result.record = firstUsaRecord(table);
    } else {
        result.record = &records[static_cast<std::size_t>(best - 1)];
        result.countryText = result.record->country;
    }
    return result;
}

BearingDistance bearingAndDistance(
    double ownLatitude, double ownLongitude, double targetLatitude, double targetLongitude)
{
    const double ownLat = ownLatitude / DegreesPerRadian;
    const double targetLat = targetLatitude / DegreesPerRadian;
    const double deltaLongitude = (ownLongitude - targetLongitude) / DegreesPerRadian;
    const double x
        = std::sin(ownLat) * std::sin(targetLat) + std::cos(targetLat) * std::cos(ownLat) * std::cos(deltaLongitude);
    // At the own position or its antipode every direction is as good as another. Rounding seldom lets x
    // land on exactly 1 or -1 there, so anything within a few metres of those points counts as on them.
    if (!(std::fabs(x) < 1 - SamePointTolerance)) {
        return {};
    }
    const double arcDegrees = arcCosine(x) * DegreesPerRadian;
    const double denominator = std::cos(ownLat) * std::sin(arcDegrees / DegreesPerRadian);
    if (denominator == 0) {
        return {};
    }
    const double y = (std::sin(targetLat) - x * std::sin(ownLat)) / denominator;
    if (!std::isfinite(y)) {
        return {};
    }
    // y is the cosine of the bearing; due north or south it comes out as 1 or -1 give or take the last
    // bit, which arcCosine takes as exactly 1 or -1.
    const double azimuth = arcCosine(y) * DegreesPerRadian;
    const double bearing = std::sin(deltaLongitude) > 0 ? azimuth : 360 - azimuth;
    const double miles = arcCosine(x) * MilesPerRadian;
    return { formatWhole(bearing, false) + " ", formatWhole(miles, true) + " " };
}

std::optional<CountryCompletion> completeCountryName(
    const CountryTable& table, std::string_view fieldText, std::size_t cursor, char typed, CompletionCase letterCase)
{
    if (typed == '\0') {
        return std::nullopt;
    }
    std::string text(fieldText.substr(0, std::min(cursor, fieldText.size())));
    text += typed;
    // The last of several alike is offered, so the file's order decides which country a letter brings.
    const std::vector<CountryInfo>& records = table.records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const bool begins = letterCase == CompletionCase::Match ? std::string_view(it->country).starts_with(text)
                                                                : beginsWithIgnoringCase(it->country, text);
        if (!begins) {
            continue;
        }
        CountryCompletion completion;
        completion.record = &*it;
        completion.selectionStart = text.size();
        completion.selectionLength = it->country.size() - text.size();
        text += it->country.substr(text.size());
        completion.text = std::move(text);
        return completion;
    }
    return std::nullopt;
}

std::optional<std::string_view> provinceOfCallArea(std::string_view call)
{
    static constexpr std::pair<std::string_view, std::string_view> Areas[] = {
        { "VE1", "NS" },
        { "VE2", "QC" },
        { "VE3", "ON" },
        { "VE4", "MB" },
        { "VE5", "SK" },
        { "VE6", "AB" },
        { "VE7", "BC" },
        { "VE8", "NWT" },
        { "VE9", "NB" },
        { "VO1", "NF" },
        { "VO2", "LB" },
        { "VY0", "NU" },
        { "VY1", "YT" },
        { "VY2", "PEI" },
    };
    if (call.size() <= 2) {
        return std::nullopt;
    }
    for (const auto& [area, province] : Areas) {
        if (equalsIgnoreCase(call.substr(0, 3), area)) {
            return province;
        }
    }
    return std::nullopt;
}

std::string_view defaultReport(std::string_view mode)
{
    return equalsIgnoreCase(mode, "CW") ? "599" : "59";
}

} // namespace brindle
