#include "spots/SpotLine.h"

#include "station/CountryTable.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace brindle {

void PrintTo(const SpotListRow& row, std::ostream* out)
{
    *out << '{' << row.call << " | " << row.frequency << " | " << row.qth << " | " << row.status << " | "
         << row.comments << " | " << row.prefix << " | " << row.time << " | " << row.from << '}';
}

void PrintTo(const ParsedSpot& spot, std::ostream* out)
{
    *out << '{' << spot.call << " | " << spot.freqKHzText << " | " << spot.recordText << '}';
}

namespace {

// Text placed from a column counted from 1, blanks before it.
std::string at(std::string line, std::size_t column, std::string_view text)
{
    line.resize(std::max(line.size(), column - 1), ' ');
    return line.substr(0, column - 1) + std::string(text);
}

// A standard cluster line: frequency in columns 18 to 24, call from 27, comment from 40, time at 71.
const std::string ExampleLine
    = at(at(at(at("DX de Q1AAA:", 18, "14025.0"), 27, "Q9ZZZ"), 40, "CQ CONTEST"), 71, "1200Z") + "\r\n";

CountryInfo info(std::string prefix, std::string country)
{
    CountryInfo record;
    record.prefix = std::move(prefix);
    record.country = std::move(country);
    return record;
}

const CountryTable SmallTable({ info("3A", "Monaco"), info("Q9", "Nowhere"), info("W", "USA") });

// What a spot line comes to in the list: its frequency as listed, or "not stored".
std::string listedFrequency(const ParsedSpot& spot)
{
    const std::optional<float> mhz = spotFrequencyMHz(spot.freqKHzText);
    return mhz ? frequencyMHzText(*mhz) : "not stored";
}

TEST(SpotLine, TheExampleLineGivesFrequencyCallRecordAndListRow)
{
    const std::optional<ParsedSpot> spot = parseSpotLine(ExampleLine);
    ASSERT_TRUE(spot);
    EXPECT_EQ(spot->freqKHzText, "14025.0");
    EXPECT_EQ(spot->call, "Q9ZZZ");
    EXPECT_TRUE(spot->recordText.starts_with("de Q1AAA:"));
    EXPECT_TRUE(spot->recordText.ends_with("1200Z")) << "cut before the CR";

    const std::optional<float> mhz = spotFrequencyMHz(spot->freqKHzText);
    ASSERT_TRUE(mhz);
    EXPECT_FLOAT_EQ(*mhz, 14.025f);
    EXPECT_EQ(spotListRow(spot->call, *mhz, spot->recordText, SmallTable),
        (SpotListRow { "Q9ZZZ", "14.025", "Nowhere", "", "de Q1AAA:  CQ CONTEST", "", "1200", "" }));
}

TEST(SpotLine, ColumnsOfShortAndUnusualLines)
{
    const struct Case
    {
        const char* name;
        std::string line;
        std::optional<ParsedSpot> spot;
    } cases[] = {
        { "shorter than three characters", "DX", std::nullopt },
        { "three characters", "DX ", ParsedSpot {} },
        { "ends inside the frequency", "DX de W3LPL:     1402", ParsedSpot { "", "1402", "de W3LPL:     1402" } },
        { "line end inside the call columns", "DX de W3LPL:     14025.0  Q9ZZZ\r\n",
            ParsedSpot { "Q9ZZZ", "14025.0", "de W3LPL:     14025.0  Q9ZZZ" } },
        { "a line feed alone", "DX de W3LPL:     14025.0  Q9ZZZ\n",
            ParsedSpot { "Q9ZZZ", "14025.0", "de W3LPL:     14025.0  Q9ZZZ" } },
        { "blanks before the line end stay in the record", "DX de W3LPL:  x  \r\n",
            ParsedSpot { "", "", "de W3LPL:  x  " } },
        { "a call running past its 13 columns is read whole", "DX de W3LPL:     14025.0  VP2V/K1ABC/QRPX",
            ParsedSpot { "VP2V/K1ABC/QRPX", "14025.0", "de W3LPL:     14025.0  VP2V/K1ABC/QRPX" } },
        { "a frequency running on from column 15 is read by the fields", "DX de PA3ABC: 10368100.0  DL0ABC",
            ParsedSpot { "DL0ABC", "10368100.0", "de PA3ABC: 10368100.0  DL0ABC" } },
        { "whole kHz running on past column 24 likewise", "DX de W3LPL:        14025  Q9ZZZ",
            ParsedSpot { "Q9ZZZ", "14025", "de W3LPL:        14025  Q9ZZZ" } },
        { "tenths past column 24 likewise", "DX de KM3T-#:     7016.3  Q9ZZZ",
            ParsedSpot { "Q9ZZZ", "7016.3", "de KM3T-#:     7016.3  Q9ZZZ" } },
        { "a frequency in neither form is no frequency", "DX de W3LPL:        14025x Q9ZZZ",
            ParsedSpot { "Q9ZZZ", "", "de W3LPL:        14025x Q9ZZZ" } },
        { "a spotter its node cut short of the ':' is its word", "DX de DL8LAS-        7016.3  Q9ZZZ",
            ParsedSpot { "Q9ZZZ", "7016.3", "de DL8LAS-        7016.3  Q9ZZZ" } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseSpotLine(c.line), c.spot) << c.name;
    }
    EXPECT_EQ(spotRecordText("  "), "");
    EXPECT_EQ(spotRecordText("DX   de K1TTT:  up 2   \r\n"), "de K1TTT:  up 2   ");
}

TEST(SpotLine, ClusterAndSkimmerLinesInEveryLayout)
{
    // One row per line of the fixture, in order. A cluster's standard line is read by its columns; a
    // skimmer's, whose spotter call pushes the frequency and the time along, by its fields, and so is a
    // frequency of 10 GHz or more, which begins a column early.
    const struct Row
    {
        const char* shape;
        const char* call;
        const char* listed;
        const char* time;
    } rows[] = {
        { "cluster", "Q9ZZZ", "14.025", "1200" },
        { "cluster, 7 MHz", "Q1AAA", "7.0119", "1201" },
        { "portable call", "Q7XYZ/P", "1.8385", "1202" },
        { "above 100 MHz", "K1ABC/VE7", "144.05", "1203" },
        { "10 GHz: the frequency starts in column 15", "DL0ABC", "10368.1", "1204" },
        { "truncated spotter", "OH0Z", "3.505", "1205" },
        { "12-character call", "VP2V/K1ABC/Q", "21.025", "1206" },
        { "lower-case call", "q9zzz", "28.074", "1207" },
        { "skimmer, frequency one column late", "Q9ZZZ", "14.025", "1200" },
        { "skimmer, time one column early", "OK1RR", "14.0279", "1206" },
        { "skimmer", "DL2ZZ", "7.0031", "1206" },
        { "skimmer, FT8", "K1ABC", "14.074", "1207" },
        { "skimmer with SSID", "N1MM", "3.573", "1207" },
        { "skimmer, long spotter: ':' in the frequency's columns", "Q9ZZZ", "14.0809", "1208" },
        { "skimmer, longer spotter: '#:' in the frequency's columns", "W6WX/B", "28.2", "1209" },
        { "skimmer, longer spotter", "Q1AAA", "10.1245", "1210" },
        { "skimmer, 6 m", "Q7XYZ", "50.313", "1211" },
        { "cluster with locator", "Q9ZZZ", "14.025", "1200" },
        { "frequency one column late", "Q1AAA", "7.025", "1212" },
        { "three decimals", "Q9ZZZ", "14.195", "1213" },
        { "not a spot at all", "ive from 1 Ma", "not stored", "" },
        { "lower-case line", "Q9ZZZ", "14.025", "1214" },
    };
    std::istringstream fixture(test::fixture("spots/rbn_lines.txt"));
    std::string line;
    std::size_t index = 0;
    while (std::getline(fixture, line)) {
        ASSERT_LT(index, std::size(rows)) << "a row for every line";
        const Row& row = rows[index++];
        const std::optional<ParsedSpot> spot = parseSpotLine(line);
        ASSERT_TRUE(spot) << row.shape;
        EXPECT_EQ(spot->call, row.call) << row.shape;
        EXPECT_EQ(listedFrequency(*spot), row.listed) << row.shape;
        EXPECT_EQ(spotListRow(spot->call, 0, spot->recordText, SmallTable).time, row.time) << row.shape;
    }
    EXPECT_EQ(index, std::size(rows));
}

TEST(SpotFrequency, ANumberInKHzOrNothingStored)
{
    const struct Case
    {
        const char* text;
        std::optional<float> mhz;
    } cases[] = {
        { "14025.0", 14.025f },
        { "7012.3", 7.0123f },
        { "  3525.5", 3.5255f },
        { "3525.5  ", 3.5255f },
        { "14025.", 14.025f },
        { "+14025", 14.025f },
        { ".5", 0.0005f },
        { "1.4025E4", 14.025f },
        { "1402500e-2", 14.025f },
        { "0", 0.0f },
        { "-0", 0.0f },
        { "", std::nullopt },
        { "   ", std::nullopt },
        { "ABCDEF", std::nullopt },
        { "14O25.0", std::nullopt },
        { "-14025.0", std::nullopt },
        { "14,025.0", std::nullopt },
        { "1.2.3", std::nullopt },
        { ".", std::nullopt },
        { "+-1", std::nullopt },
        { "1e", std::nullopt },
        { "e5", std::nullopt },
        { "0x3A", std::nullopt },
        { "inf", std::nullopt },
        { "NaN", std::nullopt },
        { "1e999", std::nullopt },
        { "9.999E99", std::nullopt },
    };
    for (const Case& c : cases) {
        const std::optional<float> mhz = spotFrequencyMHz(c.text);
        ASSERT_EQ(mhz.has_value(), c.mhz.has_value()) << c.text;
        if (mhz) {
            EXPECT_FLOAT_EQ(*mhz, *c.mhz) << c.text;
        }
    }
}

TEST(SpotFrequency, ListedAsAPlainDecimal)
{
    const struct Case
    {
        const char* kHz;
        const char* listed;
    } cases[] = {
        { "14025.0", "14.025" },
        { "7012.3", "7.0123" },
        { "144050.0", "144.05" },
        { "50000", "50" },
        { "0", "0" },
        { "1E7", "10000" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frequencyMHzText(spotFrequencyMHz(c.kHz).value()), c.listed) << c.kHz;
    }
}

TEST(SpotListRow, ColumnsOfTheRecordGiveWhatExists)
{
    const std::string full
        = at(at(at(at(at("de K1TTT:", 38, "CQ TEST"), 62, "EU123"), 68, "1200Z"), 73, "FN32"), 78, "x");
    const struct Case
    {
        const char* name;
        std::string record;
        SpotListRow expected;
    } cases[] = {
        { "every column", full, { "Q9ZZZ", "14.025", "Nowhere", "", "de K1TTT:  CQ TEST", "EU123", "1200", "FN32" } },
        { "ends inside the time", full.substr(0, 69),
            { "Q9ZZZ", "14.025", "Nowhere", "", "de K1TTT:  CQ TEST", "EU123", "12", "" } },
        { "spotter part only", "de X:", { "Q9ZZZ", "14.025", "Nowhere", "", "de X:  ", "", "", "" } },
        { "empty record", "", { "Q9ZZZ", "14.025", "Nowhere", "", "  ", "", "", "" } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spotListRow("Q9ZZZ", 14.025f, c.record, SmallTable), c.expected) << c.name;
    }
    EXPECT_EQ(spotListRow("Z9ZZZ", 7.0f, "", SmallTable).qth, "") << "a call the table cannot place";
}

TEST(SpotListRow, ASkimmersLineIsListedByItsFieldsNotByColumnDebris)
{
    const struct Case
    {
        const char* name;
        std::string line;
        SpotListRow expected;
    } cases[] = {
        { "frequency and time one column late",
            "DX de KM3T-#:      7016.2  Q9ZZZ          CW    24 dB  25 WPM  CQ      1844Z",
            { "Q9ZZZ", "7.0162", "Nowhere", "", "de KM3T-#:  CW    24 dB  25 WPM  CQ", "", "1844", "" } },
        { "a long skimmer call, a beacon",
            "DX de VE2WU-12-#: 28200.0  W6WX/B         CW    31 dB  22 WPM  BEACON  1209Z",
            { "W6WX/B", "28.2", "USA", "", "de VE2WU-12-#:  CW    31 dB  22 WPM  BEACON", "", "1209", "" } },
        { "a locator after the time, a bell after that",
            "DX de W1AW:        7025.0  Q1AAA        split up 1                     1212Z FN31\a\a",
            { "Q1AAA", "7.025", "", "", "de W1AW:  split up 1", "", "1212", "FN31" } },
        { "a cluster's own layout keeps its columns",
            "DX de K1TTT:     14025.0  Q9ZZZ        CQ TEST                        1200Z",
            { "Q9ZZZ", "14.025", "Nowhere", "", "de K1TTT:  CQ TEST", "", "1200", "" } },
    };
    for (const Case& c : cases) {
        const std::optional<ParsedSpot> spot = parseSpotLine(c.line);
        ASSERT_TRUE(spot) << c.name;
        EXPECT_EQ(spotListRow(spot->call, spotFrequencyMHz(spot->freqKHzText).value_or(-1), spot->recordText,
                      SmallTable),
            c.expected)
            << c.name;
    }
}

TEST(SpotOwnCall, AnyCaseButNeverAnEmptyCall)
{
    const struct Case
    {
        const char* spotted;
        const char* own;
        bool alert;
    } cases[] = {
        { "Q9ZZZ", "Q9ZZZ", true },
        { "q9zzz", "Q9ZZZ", true },
        { "Q9ZZZ", "q9zzz", true },
        { "Q9ZZ", "Q9ZZZ", false },
        { "Q9ZZZ/P", "Q9ZZZ", false },
        { "Q9ZZZ", "", false },
        { "", "", false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isOwnCallSpotted(c.spotted, c.own), c.alert) << c.spotted << " / " << c.own;
    }
}

} // namespace
} // namespace brindle
