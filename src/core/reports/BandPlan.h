#pragma once

#include "common/FileSystem.h"
#include "common/OperatorMessage.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The band plan "BandPlan.txt": which parts of each band every licence class may use, for CW and for
// phone. The privileges chart draws it for one class at a time; the rig interface looks a frequency up in
// its class "E" records to choose a mode.
//
// The file holds the date (or other text) from which the plan is effective, then one record a line:
// band, class, mode, start, end, the edges in MHz. The records of one band stand together, the band's
// "O" record (its whole edges) first, then the segments of the classes.

inline constexpr std::string_view BandPlanFileName = "BandPlan.txt";
// The chart holds this many records and draws this many rows; anything past them is left out.
inline constexpr std::size_t BandPlanMaxRecords = 200;
inline constexpr std::size_t BandPlanMaxRows = 20;

inline constexpr std::string_view BandEdgesClass = "O";
inline constexpr std::string_view CwSegmentMode = "CW";

struct BandPlanRecord
{
    std::string band; // as the chart's row shows it, such as "20"
    std::string licenceClass; // "N", "T", "P", "G", "A", "E", or "O" for the band's edges
    std::string mode; // "CW", or any other text for phone
    float start = 0; // MHz
    float end = 0;

    bool operator==(const BandPlanRecord&) const = default;
};

struct BandPlan
{
    std::string effective; // the file's first value
    std::vector<BandPlanRecord> records; // file order
};

// What reading the file gave. Reading stops at the first damaged record (a short record, a number that is
// not one, a stray quote); the records before it are kept, for a reader that makes do with part of the
// plan, and complete tells whether anything was wrong.
struct BandPlanReading
{
    BandPlan plan;
    bool complete = false;
};

BandPlanReading parseBandPlan(std::string_view content);
// "BandPlan.txt" in a folder; a file that is missing or cannot be read gives an empty, incomplete reading.
BandPlanReading readBandPlan(FileSystem& fs, const std::string& folder);

// What the chart tells the operator when the file cannot be read.
OperatorMessage bandDataNotAvailableMessage();

// A licence class as the chart offers it: the button's caption, the heading it shows and its code.
struct LicenceClass
{
    std::string_view button;
    std::string_view heading;
    std::string_view code;
};
inline constexpr std::array<LicenceClass, 6> LicenceClasses = { {
    { "Novice", "Novice Frequency Privileges", "N" },
    { "Technician", "Technician Frequency Privileges", "T" },
    { "Tech +", "Technician Plus Frequency Privileges", "P" },
    { "General", "General Frequency Privileges", "G" },
    { "Advanced", "Advanced Frequency Privileges", "A" },
    { "Extra", "Extra Frequency Privileges", "E" },
} };

inline constexpr std::uint32_t CwSegmentColour = 0x00FF0000; // blue
inline constexpr std::uint32_t PhoneSegmentColour = 0x0000FF00; // green
inline constexpr std::uint32_t BandNameColour = 0x0000FFFF; // yellow

bool isCwSegment(const BandPlanRecord& record);

// An edge as the chart writes it: "#,###.##0", three decimals, no leading zero below 1 MHz.
std::string formatPlanFrequency(float mhz);
// "14.000 - 14.150".
std::string formatPlanEdges(float start, float end);

// The chart of one class, laid out on an area of the given size whose rows begin below its header line.
struct ChartArea
{
    double width = 0;
    double height = 0;
    double headerLine = 0;
};

struct ChartBox
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct ChartSegment
{
    ChartBox box;
    std::string caption; // "14.000 - 14.150"
    std::string toolTip; // "CW  14.000 - 14.150" or "PH  ..."
    bool cw = false;
};

struct ChartRow
{
    std::string band;
    ChartBox nameBox; // the band's name on yellow, left of the bar
    ChartBox bar; // the whole band
    std::string barToolTip; // "20  14.000 - 14.350"
    std::vector<ChartSegment> segments;
};

struct BandPlanChart
{
    std::vector<ChartRow> rows;
    // False when a row's geometry could not be worked out (a band whose edges meet or run backwards);
    // the chart then holds what came before it.
    bool complete = true;
};

// The bands with a row for a class: each "O" record followed, within its band's group, by a record of the
// class. Indexes of the "O" records, in file order, at most BandPlanMaxRows.
std::vector<std::size_t> chartRowRecords(const std::vector<BandPlanRecord>& records, std::string_view licenceClass);

BandPlanChart layoutBandPlanChart(
    const std::vector<BandPlanRecord>& records, std::string_view licenceClass, const ChartArea& area);

} // namespace brindle
