#pragma once

#include "common/FileSystem.h"
#include "common/Result.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brindle {

class ContestLog;

// One record of the country-to-ADIF table "ADIFCnt.txt": a country as the country file names it, and
// its DXCC entity number.
struct AdifCountry
{
    std::string name;
    int dxcc = 0; // a 16-bit value

    bool operator==(const AdifCountry&) const = default;
};

// The country-to-ADIF table in memory, records numbered from 1 in file order.
class AdifCountryTable
{
public:
    static constexpr int Capacity = 1000;

    AdifCountryTable() = default;
    explicit AdifCountryTable(std::vector<AdifCountry> records);

    const std::vector<AdifCountry>& records() const
    {
        return m_records;
    }

    // The number of the first record whose name equals the given one trimmed of blanks, without regard
    // to case; 0 when no record has that name.
    int dxccOf(std::string_view country) const;

private:
    std::vector<AdifCountry> m_records;
    // Every contact of a 12,000-contact log looks up its country: upper-cased name to the first number.
    std::unordered_map<std::string, int> m_byName;
};

inline constexpr std::string_view AdifTableFileName = "ADIFCnt.txt";

// Two fields a record, the name and the number; blank lines between records are skipped. An Error
// describes the damage (a number that is not a 16-bit whole number, a missing number, a stray quote)
// or more than Capacity records.
Result<AdifCountryTable> parseAdifCountryTable(std::string_view content);

// Reads the table from the first of the three folders that has one; none anywhere is a failure too.
Result<AdifCountryTable> loadAdifCountryTable(
    FileSystem& fs, const std::string& sharedDir, const std::string& programDataDir, const std::string& workingDir);

// What the operator and the station add to every record, and the header's texts.
struct AdifExportSettings
{
    std::string power; // as answered; empty: no power field
    std::string comment; // as answered; empty: no comment field
    std::string mode; // the contest mode of the station: "PH" is exported as SSB, anything else as CW
    std::string programName; // the name and version, as the main window's title starts
    std::string exportedOn; // the date and time of the export as the desktop writes them
};

// The whole ADIF file: the header, then every contact in log order, CR LF line ends.
std::string adifFileText(const ContestLog& log, const AdifCountryTable& countries, const AdifExportSettings& settings);

// The operator's texts of the export.
namespace adifmsg {

inline constexpr std::string_view PowerTitle = "Please enter your transmitter output power.";
inline constexpr std::string_view PowerPrompt
    = "Please enter the power value that you would like to record.  This is an optional value that will be included "
      "in each QSO record and displayed in Pennant's power output column.";
inline constexpr std::string_view PowerProposed = "100";

inline constexpr std::string_view CommentTitle = "Please enter a comment.";
inline constexpr std::string_view CommentPrompt
    = "Please enter a comment that you would like to appear on each QSO record.  This is an optional description "
      "that will be displayed in Pennant's Comments column.";
inline constexpr std::string_view CommentProposed = "International DX Contest";

inline constexpr std::string_view ProposedFileName = "Brindle.adi";
inline constexpr std::string_view FileFilter = "ADIF Files (*.adi) | *.adi";

inline constexpr std::string_view FailureTitle = "Unable to write file.";
inline constexpr std::string_view WrittenTitle = "File Written Successfully.";
inline constexpr std::string_view WrittenText = "The file was successfully written to the directory:";

} // namespace adifmsg

} // namespace brindle
