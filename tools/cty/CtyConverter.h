#pragma once

#include <cstddef>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::tools {

// Turns AD1C's country file in its CSV form ("cty.csv") into the program's country prefix file
// ("arrlpre2.txt") and country-to-DXCC table ("ADIFCnt.txt").

// Input the converter cannot turn into correct output; the message names the line of cty.csv.
class CtyError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t MaxPrefixRecords = 10000; // what the country table holds
inline constexpr std::size_t MaxEntityRecords = 1000; // what the country-to-DXCC table reader takes

inline constexpr std::string_view PrefixFileName = "arrlpre2.txt";
inline constexpr std::string_view EntityFileName = "ADIFCnt.txt";

// One line of the prefix file.
struct PrefixRecord
{
    std::string prefix; // upper case
    std::string country;
    std::string continent;
    double longitude = 0; // degrees, west positive
    double latitude = 0; // degrees, north positive
    int cqZone = 0;
    int ituZone = 0;
    std::string utcOffset; // as cty.csv writes it

    bool operator==(const PrefixRecord&) const = default;
};

// One line of the country-to-DXCC table.
struct EntityRecord
{
    std::string country;
    int dxcc = 0;

    bool operator==(const EntityRecord&) const = default;
};

struct CountryData
{
    std::vector<PrefixRecord> prefixes; // ascending by prefix, upper-cased bytes compared
    std::vector<EntityRecord> entities; // ascending by name without regard to case
    std::size_t duplicatesDropped = 0;
    std::size_t wholeCallsDropped = 0;
    std::size_t wholeCallsKept = 0;
};

// Throws CtyError on malformed input, on names or prefixes the output files cannot hold, and on
// more records than the program's tables take.
CountryData convertCty(std::string_view csv);

// File contents, CR LF line ends.
std::string prefixFileText(const CountryData& data);
std::string entityFileText(const CountryData& data);

// The command line: args are the arguments after the program name (CTY_CSV OUTPUT_FOLDER). Writes
// both files into the folder, a summary to out and problems to err; returns the exit status.
int runCtyConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace brindle::tools
