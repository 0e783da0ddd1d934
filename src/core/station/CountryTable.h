#pragma once

#include "common/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

struct CountryLookup;

// One prefix of the country file: which country a call beginning with it belongs to, and where that is.
struct CountryInfo
{
    std::string prefix; // upper case
    std::string country;
    std::string continent; // two letters, such as "NA"
    float longitude = 0; // degrees, west positive
    float latitude = 0; // degrees, north positive

    bool operator==(const CountryInfo&) const = default;
};

// The country file "arrlpre2.txt" in memory: records numbered from 1 in file order, which is ascending
// order of prefix (without regard to case), so every first character forms one block.
class CountryTable
{
public:
    static constexpr int Capacity = 10000;

    CountryTable() = default;
    explicit CountryTable(std::vector<CountryInfo> records);

    int count() const;
    const CountryInfo& record(int number) const; // 1 to count()
    const std::vector<CountryInfo>& records() const;

private:
    friend CountryLookup lookupCountry(const CountryTable& table, std::string_view callText);

    // The lookup runs on every keystroke and may pass a thousand prefixes or more; their first bytes side
    // by side keep that scan in a few cache lines instead of one or two for every record.
    struct PrefixHead
    {
        std::uint64_t bytes = 0; // the prefix's first eight bytes, zero-padded
        std::uint32_t length = 0;
        std::int32_t firstSortCode = -1; // -1: an empty prefix, which sorts before everything
    };

    std::vector<CountryInfo> m_records;
    std::vector<PrefixHead> m_heads;
};

inline constexpr std::string_view CountryFileName = "arrlpre2.txt";
inline constexpr std::string_view CountryFileErrorTitle = "Error opening country list file.";
inline constexpr std::string_view CountryFileErrorText
    = "Error reading country file (arrlpre2.txt).  Using notepad, open this file and check to make sure that there are "
      "quotes around each field and that they are separated by commas.";

struct CountryFileLoad
{
    CountryTable table; // on a failure: the complete records read before it, never more than Capacity
    bool failed = false; // a field of the wrong type, an incomplete last record, or too many records
    std::string path; // the file read; empty when there was none in any of the folders
};

// Eight fields a record: prefix, country, continent (text), longitude, latitude (numbers), three unused.
CountryFileLoad parseCountryFile(std::string_view content);

// Reads the country file from the first of the three folders that has one. None anywhere is no
// failure: the table is empty.
CountryFileLoad loadCountryTable(
    FileSystem& fs, const std::string& sharedDir, const std::string& programDataDir, const std::string& workingDir);

struct CountryLookup
{
    enum class Outcome
    {
        Unchanged, // the call is empty: the form shows what it showed
        NotFound, // the country field shows "Not Found", continent, bearing and distance are emptied
        Found,
    };
    Outcome outcome = Outcome::Unchanged;
    const CountryInfo* record = nullptr; // when Found: continent and position to show; may be null only when
                                         // the KG4 rule names "USA" and the table has no "USA" record
    std::string countryText; // when Found: the text for the country field
};

inline constexpr std::string_view NotFoundText = "Not Found";

// The country of a call as typed into the call field: the longest matching prefix, after the portable
// rule ("DL1ABC/VE3" is looked up as "VE3"), with KG4 calls of four or six and more characters shown
// as "USA".
CountryLookup lookupCountry(const CountryTable& table, std::string_view callText);

// Bearing and distance label texts ("###" and "##,###", each followed by a blank) from the own station
// to a target, both in degrees with longitudes west positive. Both empty where no bearing exists (the
// target at the own position or its antipode).
struct BearingDistance
{
    std::string bearing;
    std::string distance;

    bool operator==(const BearingDistance&) const = default;
};
BearingDistance bearingAndDistance(
    double ownLatitude, double ownLongitude, double targetLatitude, double targetLongitude);

// Type-ahead completion of a country name: the text up to the cursor plus the typed character, completed
// with the last record whose country begins with it, with or without regard to letter case.
enum class CompletionCase
{
    Ignore,
    Match,
};
struct CountryCompletion
{
    const CountryInfo* record = nullptr;
    std::string text; // the field's new text
    std::size_t selectionStart = 0; // the cursor: just after what was typed
    std::size_t selectionLength = 0; // the completed remainder, selected
};
std::optional<CountryCompletion> completeCountryName(const CountryTable& table, std::string_view fieldText,
    std::size_t cursor, char typed, CompletionCase letterCase = CompletionCase::Ignore);

// The province a Canadian call area stands for ("VE8" gives "NWT"), from the call's first three
// characters without regard to case; nothing for other calls or calls of two characters or fewer.
std::optional<std::string_view> provinceOfCallArea(std::string_view call);

// The usual signal report of a contest mode: "599" in CW, "59" otherwise.
std::string_view defaultReport(std::string_view mode);

} // namespace brindle
