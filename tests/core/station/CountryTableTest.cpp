#include "station/CountryTable.h"

#include "os/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace brindle {
namespace {

using test::fixture;
using test::TempFolder;
using test::writeBytes;

CountryInfo info(
    std::string prefix, std::string country, std::string continent = "NA", float longitude = 0, float latitude = 0)
{
    return CountryInfo { std::move(prefix), std::move(country), std::move(continent), longitude, latitude };
}

std::vector<CountryInfo> recordsOf(const CountryFileLoad& load)
{
    return load.table.records();
}

std::string countryLine(std::string_view prefix, std::string_view country)
{
    return "\"" + std::string(prefix) + "\",\"" + std::string(country) + "\",\"NA\",98,38,5,8,\"5.0\"\r\n";
}

std::string repeatedRecords(int count)
{
    std::string content;
    for (int n = 0; n < count; ++n) {
        content += countryLine("K", "USA");
    }
    return content;
}

// ---------------------------------------------------------------------------------------------------
// Reading the file

const CountryInfo monaco = info("3A", "Monaco", "EU", -7.4f, 43.73f);
const CountryInfo germany = info("DL", "Fed. Rep. of Germany", "EU", -10, 51);
const CountryInfo aland = info("OH0", "\xC5land Islands", "EU", -19.9f, 60.25f);
const CountryInfo curacao = info("PJ2", "Curacao, Bonaire", "SA", 68.95f, 12.17f);

TEST(CountryFile, readsEightFieldsPerRecordLongitudeBeforeLatitude)
{
    const CountryFileLoad load = parseCountryFile(fixture("station/country_small.txt"));
    EXPECT_FALSE(load.failed);
    EXPECT_EQ(recordsOf(load), (std::vector<CountryInfo> { monaco, germany, aland, curacao }));
    EXPECT_EQ(load.path, "");
}

TEST(CountryFile, lineBreaksAndBlankLinesDoNotShiftRecords)
{
    const CountryFileLoad load = parseCountryFile(fixture("station/country_lf_record_split_over_lines.txt"));
    EXPECT_FALSE(load.failed);
    EXPECT_EQ(recordsOf(load), (std::vector<CountryInfo> { monaco, germany, aland, curacao }));
}

TEST(CountryFile, emptyFileGivesAnEmptyTableWithoutFailure)
{
    for (const char* content : { "", "\r\n", "  \r\n\r\n" }) {
        const CountryFileLoad load = parseCountryFile(content);
        EXPECT_FALSE(load.failed) << content;
        EXPECT_EQ(load.table.count(), 0) << content;
    }
}

TEST(CountryFile, damageKeepsTheCompleteRecordsReadBeforeIt)
{
    struct Case
    {
        const char* fixture;
        std::vector<CountryInfo> kept;
    };
    const Case cases[] = {
        { "station/country_short_last_record.txt", { monaco, germany } },
        { "station/country_latitude_not_a_number.txt", { monaco, germany } },
        { "station/country_quote_inside_name.txt", { monaco } },
    };
    for (const Case& c : cases) {
        const CountryFileLoad load = parseCountryFile(fixture(c.fixture));
        EXPECT_TRUE(load.failed) << c.fixture;
        EXPECT_EQ(recordsOf(load), c.kept) << c.fixture;
    }
}

TEST(CountryFile, positionsMustBeSinglePrecisionNumbers)
{
    struct Case
    {
        std::string longitude;
        std::string latitude;
        bool readable;
        float expectedLongitude;
        float expectedLatitude;
    };
    const Case cases[] = {
        { "98.5", "38", true, 98.5f, 38 },
        { "-7.4", "+43.73", true, -7.4f, 43.73f },
        { " 1e2 ", "-0", true, 100, 0 },
        { "3.4e38", "0", true, 3.4e38f, 0 },
        { "", "38", false, 0, 0 },
        { "98", "", false, 0, 0 },
        { "W98", "38", false, 0, 0 },
        { "98.5.1", "38", false, 0, 0 },
        { "98", "38N", false, 0, 0 },
        { "1e39", "38", false, 0, 0 },
        { "inf", "38", false, 0, 0 },
        { "98", "nan", false, 0, 0 },
    };
    for (const Case& c : cases) {
        const std::string content = countryLine("DL", "Fed. Rep. of Germany") + "\"K\",\"USA\",\"NA\"," + c.longitude
            + "," + c.latitude + ",5,8,\"5.0\"\r\n";
        const CountryFileLoad load = parseCountryFile(content);
        EXPECT_EQ(load.failed, !c.readable) << c.longitude << " " << c.latitude;
        ASSERT_EQ(load.table.count(), c.readable ? 2 : 1) << c.longitude << " " << c.latitude;
        if (c.readable) {
            EXPECT_EQ(load.table.record(2).longitude, c.expectedLongitude) << c.longitude;
            EXPECT_EQ(load.table.record(2).latitude, c.expectedLatitude) << c.latitude;
        }
    }
}

TEST(CountryFile, holdsTenThousandRecordsAndRefusesMore)
{
    const CountryFileLoad full = parseCountryFile(repeatedRecords(CountryTable::Capacity) + "\r\n\r\n");
    EXPECT_FALSE(full.failed);
    EXPECT_EQ(full.table.count(), CountryTable::Capacity);

    const CountryFileLoad over = parseCountryFile(repeatedRecords(CountryTable::Capacity + 1));
    EXPECT_TRUE(over.failed);
    EXPECT_EQ(over.table.count(), CountryTable::Capacity);
}

// ---------------------------------------------------------------------------------------------------
// Finding the file

class CountryFileFolders : public ::testing::Test
{
protected:
    CountryFileFolders()
    {
        for (const std::string* folder : { &shared, &programData, &working }) {
            std::filesystem::create_directory(*folder);
        }
    }

    // A file whose one country names the folder it lies in.
    void placeFileIn(const std::string& folder)
    {
        writeBytes(joinPath(folder, CountryFileName), countryLine("K", folder));
    }

    CountryFileLoad load()
    {
        return loadCountryTable(fs, shared, programData, working);
    }

    TempFolder root;
    PosixFileSystem fs;
    std::string shared = root.file("Shared");
    std::string programData = root.file("Brindle");
    std::string working = root.file("work");
};

TEST_F(CountryFileFolders, firstFolderHoldingTheFileWins)
{
    const std::string* const folders[] = { &shared, &programData, &working };
    for (int present = 1; present < 8; ++present) {
        for (int i = 0; i < 3; ++i) {
            std::filesystem::remove(joinPath(*folders[i], CountryFileName));
            if (present & (1 << i)) {
                placeFileIn(*folders[i]);
            }
        }
        const std::string& expected = present & 1 ? shared : present & 2 ? programData : working;
        const CountryFileLoad loaded = load();
        EXPECT_FALSE(loaded.failed) << present;
        EXPECT_EQ(loaded.path, joinPath(expected, CountryFileName)) << present;
        ASSERT_EQ(loaded.table.count(), 1) << present;
        EXPECT_EQ(loaded.table.record(1).country, expected) << present;
    }
}

TEST_F(CountryFileFolders, noFileAnywhereIsAnEmptyTableAndNoFailure)
{
    const CountryFileLoad loaded = load();
    EXPECT_FALSE(loaded.failed);
    EXPECT_EQ(loaded.path, "");
    EXPECT_EQ(loaded.table.count(), 0);
}

TEST_F(CountryFileFolders, missingFoldersAndFoldersNamedLikeTheFileAreSkipped)
{
    placeFileIn(working);
    std::filesystem::remove(shared);
    std::filesystem::create_directory(joinPath(programData, CountryFileName));
    const CountryFileLoad loaded = load();
    EXPECT_FALSE(loaded.failed);
    EXPECT_EQ(loaded.path, joinPath(working, CountryFileName));

    writeBytes(shared, "a file where the folder should be");
    const CountryFileLoad throughFile = load();
    EXPECT_FALSE(throughFile.failed);
    EXPECT_EQ(throughFile.path, joinPath(working, CountryFileName));
}

TEST_F(CountryFileFolders, fileThatCannotBeReadFailsInsteadOfFallingBack)
{
    placeFileIn(programData);
    // A link to itself exists as a name but can never be opened, even by root.
    const std::string path = joinPath(shared, CountryFileName);
    std::filesystem::create_symlink(path, path);
    const CountryFileLoad loaded = load();
    EXPECT_TRUE(loaded.failed);
    EXPECT_EQ(loaded.path, path);
    EXPECT_EQ(loaded.table.count(), 0);
}

TEST_F(CountryFileFolders, damagedFileFailsKeepingItsCompleteRecords)
{
    placeFileIn(programData);
    writeBytes(joinPath(shared, CountryFileName), fixture("station/country_short_last_record.txt"));
    const CountryFileLoad loaded = load();
    EXPECT_TRUE(loaded.failed);
    EXPECT_EQ(loaded.path, joinPath(shared, CountryFileName));
    EXPECT_EQ(recordsOf(loaded), (std::vector<CountryInfo> { monaco, germany }));
}

// ---------------------------------------------------------------------------------------------------
// Looking up a call

// In the file's order: ascending prefixes, digits before letters.
CountryTable smallWorld()
{
    return CountryTable({
        info("3A", "Monaco", "EU"),
        info("4X", "Israel", "AS"),
        info("9A", "Croatia", "EU"),
        info("AA", "USA", "NA", 77, 39),
        info("DL", "Fed. Rep. of Germany", "EU"),
        info("G", "England", "EU"),
        info("JA", "Japan", "AS"),
        info("K", "USA", "NA", 98, 38),
        info("KG4", "Guantanamo Bay", "NA"),
        info("KH6", "Hawaii", "OC"),
        info("KL", "Alaska", "NA"),
        info("PY", "Brazil", "SA"),
        info("VE", "Canada", "NA"),
        info("VK", "Australia", "OC"),
        info("W", "USA", "NA", 90, 40),
        info("ZS", "South Africa", "AF"),
    });
}

struct LookupCase
{
    const char* call;
    CountryLookup::Outcome outcome;
    const char* countryText; // when found
    const char* prefix; // of the record shown when found; empty for none
};

void expectLookups(const CountryTable& table, const std::vector<LookupCase>& cases)
{
    for (const LookupCase& c : cases) {
        const CountryLookup found = lookupCountry(table, c.call);
        EXPECT_EQ(found.outcome, c.outcome) << c.call;
        if (c.outcome != CountryLookup::Outcome::Found) {
            EXPECT_EQ(found.record, nullptr) << c.call;
            continue;
        }
        EXPECT_EQ(found.countryText, c.countryText) << c.call;
        if (std::string_view(c.prefix).empty()) {
            EXPECT_EQ(found.record, nullptr) << c.call;
        } else {
            ASSERT_NE(found.record, nullptr) << c.call;
            EXPECT_EQ(found.record->prefix, c.prefix) << c.call;
            // The record belongs to the table, so the form shows its continent and position.
            const auto& records = table.records();
            EXPECT_TRUE(found.record >= records.data() && found.record < records.data() + records.size()) << c.call;
        }
    }
}

constexpr auto Found = CountryLookup::Outcome::Found;
constexpr auto NotFound = CountryLookup::Outcome::NotFound;
constexpr auto Unchanged = CountryLookup::Outcome::Unchanged;

TEST(CountryLookup, longestMatchingPrefixWins)
{
    expectLookups(smallWorld(),
        {
            { "K1ABC", Found, "USA", "K" },
            { "KA1ABC", Found, "USA", "K" },
            { "KH6ABC", Found, "Hawaii", "KH6" },
            { "KH7ABC", Found, "USA", "K" },
            { "KL7ABC", Found, "Alaska", "KL" },
            { "W1AW", Found, "USA", "W" },
            { "AA1A", Found, "USA", "AA" },
            { "ZS6ABC", Found, "South Africa", "ZS" },
            { "G", Found, "England", "G" },
            { "kh6abc", Found, "Hawaii", "KH6" },
            { "ve3Abc", Found, "Canada", "VE" },
        });
}

TEST(CountryLookup, prefixesLongerThanEightCharactersMatchInFull)
{
    const CountryTable table({
        info("FO", "French Polynesia", "OC"),
        info("FO/AC4LN/A", "Austral Islands", "OC"),
        info("FO/AC4LN/M", "Marquesas Islands", "OC"),
        info("FO/AC4LO", "Clipperton Island", "NA"),
    });
    expectLookups(table,
        {
            { "FO/AC4LN/M", Found, "Marquesas Islands", "FO/AC4LN/M" },
            { "FO/AC4LN/A", Found, "Austral Islands", "FO/AC4LN/A" },
            { "FO/AC4LN/X", Found, "French Polynesia", "FO" },
            { "FO/AC4LN/", Found, "French Polynesia", "FO" },
            { "FO/AC4LO", Found, "Clipperton Island", "FO/AC4LO" },
            { "FO/AC4L", Found, "French Polynesia", "FO" },
        });
}

TEST(CountryLookup, callsBeginningWithADigitAreFound)
{
    expectLookups(smallWorld(),
        {
            { "3A2MW", Found, "Monaco", "3A" },
            { "4X4AB", Found, "Israel", "4X" },
            { "9A1A", Found, "Croatia", "9A" },
            { "4Z5AB", NotFound, "", "" },
            { "1A0KM", NotFound, "", "" },
        });
}

TEST(CountryLookup, unknownAndEmptyCalls)
{
    expectLookups(smallWorld(),
        {
            { "", Unchanged, "", "" },
            { "XX1ABC", NotFound, "", "" },
            { "Z", NotFound, "", "" },
            { "ZZ9ZZ", NotFound, "", "" },
            { "/", NotFound, "", "" },
            { "\xC5", NotFound, "", "" },
        });
}

TEST(CountryLookup, portableCallsAreLookedUpAfterTheSlashOnlyWhenThatPartIsShort)
{
    expectLookups(smallWorld(),
        {
            { "DL1ABC/VE3", Found, "Canada", "VE" },
            { "W1AW/KH6", Found, "Hawaii", "KH6" },
            { "DL1ABC/VK", Found, "Australia", "VK" },
            { "VE3/DL1ABC", Found, "Canada", "VE" },
            { "DL1ABC/P", Found, "Fed. Rep. of Germany", "DL" },
            { "DL1ABC/", Found, "Fed. Rep. of Germany", "DL" },
            // Three after the slash of seven is under half only when divided exactly.
            { "K1A/VE3", Found, "Canada", "VE" },
            { "K1/VE3", Found, "USA", "K" },
            { "DL/K1ABC/P", Found, "Fed. Rep. of Germany", "DL" },
            { "DL1ABC/XX9", NotFound, "", "" },
        });
}

TEST(CountryLookup, kg4CallsOtherThanFiveCharactersShowTheFirstUsaRecord)
{
    expectLookups(smallWorld(),
        {
            { "KG4", Found, "Guantanamo Bay", "KG4" },
            { "KG4A", Found, "USA", "AA" },
            { "KG4AB", Found, "Guantanamo Bay", "KG4" },
            { "KG4ABC", Found, "USA", "AA" },
            { "kg4abc", Found, "USA", "AA" },
            { "KG4AB/P", Found, "USA", "AA" },
            // The rule reads the call as typed, not the part after the slash.
            { "KG4ABC/VE3", Found, "USA", "AA" },
            { "DL1ABC/KG4", Found, "Guantanamo Bay", "KG4" },
        });
}

TEST(CountryLookup, kg4RuleWithoutAUsaRecordNamesUsaWithNoRecord)
{
    const CountryTable table({ info("K", "United States"), info("KG4", "Guantanamo Bay") });
    expectLookups(table,
        {
            { "KG4ABC", Found, "USA", "" },
            { "KG4AB", Found, "Guantanamo Bay", "KG4" },
        });
}

TEST(CountryLookup, kg4RuleNeedsAPrefixMatchFirst)
{
    const CountryTable table({ info("DL", "Fed. Rep. of Germany"), info("W", "USA") });
    expectLookups(table, { { "KG4ABC", NotFound, "", "" } });
}

TEST(CountryLookup, emptyTableFindsNothing)
{
    expectLookups(CountryTable {},
        {
            { "K1ABC", NotFound, "", "" },
            { "KG4ABC", NotFound, "", "" },
            { "", Unchanged, "", "" },
        });
}

TEST(CountryLookup, emptyPrefixNeverMatches)
{
    const CountryTable table({ info("", "Nowhere"), info("", "Nowhere either"), info("DL", "Fed. Rep. of Germany") });
    expectLookups(table,
        {
            { "DL1ABC", Found, "Fed. Rep. of Germany", "DL" },
            { "1A0KM", NotFound, "", "" },
            { "K1ABC", NotFound, "", "" },
        });
}

TEST(CountryLookup, prefixesAreKeptUpperCase)
{
    const CountryTable table({ info("kh6", "Hawaii"), info("k", "USA") });
    EXPECT_EQ(table.record(1).prefix, "KH6");
    expectLookups(table, { { "KH6ABC", Found, "Hawaii", "KH6" }, { "k1abc", Found, "USA", "K" } });
}

TEST(CountryLookup, ofEquallyLongMatchesTheFirstMetInScanOrderWins)
{
    // Forward: the start falls before the K block, so the earlier of the two is met first.
    std::vector<CountryInfo> forward;
    for (char c = 'A'; c <= 'J'; ++c) {
        forward.push_back(info(std::string(1, c), "filler"));
    }
    forward.push_back(info("K", "earlier"));
    forward.push_back(info("K", "later"));
    for (char c = 'L'; c <= 'Z'; ++c) {
        forward.push_back(info(std::string(1, c), "filler"));
    }
    expectLookups(CountryTable(forward), { { "K1ABC", Found, "earlier", "K" } });

    // Backward: the start falls among the Z prefixes after the K block, so the later one is met first.
    std::vector<CountryInfo> backward = { info("K", "earlier"), info("K", "later") };
    for (int n = 0; n < 10; ++n) {
        backward.push_back(info("Z" + std::to_string(n), "filler"));
    }
    expectLookups(CountryTable(backward), { { "K1ABC", Found, "later", "K" } });
}

// The shortcut start, back-off and early stop must find exactly what a scan of the whole table finds,
// whatever the table's size and however its blocks fall.
TEST(CountryLookup, findsWhatAWholeTableScanFinds)
{
    const std::vector<std::string> pool = { "", "1A", "3A", "4X", "9A", "9M2", "A4", "A6", "AA", "BY", "CE", "CO", "DL",
        "E7", "EA", "EA8", "EI", "ES", "EU", "EX", "EY", "EZ", "F", "G", "GM", "HA", "HB", "HC", "HC8", "HI", "HK",
        "HL", "HP", "HR", "HS", "HV", "HZ", "I", "JA", "JD1", "K", "KA", "KB", "KC4", "KG4", "KH0", "KH2", "KH6", "KL",
        "KP2", "KP4", "LU", "N", "OH", "OH0", "PY", "SM", "UA", "UA9", "VE", "VK", "VK9X", "VO", "VP2E", "VP8", "VY",
        "W", "WP4", "XE", "YB", "ZL", "ZS" };
    const std::vector<std::string> calls = { "K1ABC", "KH6XX", "KG4AB", "KL7A", "N0AX", "WP4Z", "VE3A", "VK9XX", "VO1A",
        "A61Q", "AA1A", "BY1", "DL1", "EA8A", "EZ1", "F5", "GM3", "HC8N", "HZ1", "1A0", "3A2", "4X4", "9M2A", "9A1",
        "ZZ9", "QQ1", "E", "H", "Z", "2A", "hc8n", "ea8a", "zs6", "/", "\xC5" };
    std::mt19937 random(20260221);
    for (std::size_t size = 1; size <= pool.size(); ++size) {
        for (int round = 0; round < 4; ++round) {
            std::vector<std::string> chosen;
            std::sample(pool.begin(), pool.end(), std::back_inserter(chosen), size, random);
            std::vector<CountryInfo> records;
            for (const std::string& prefix : chosen) {
                records.push_back(info(prefix, "Land of " + prefix));
            }
            const CountryTable table(records);
            for (const std::string& call : calls) {
                const std::string upper = [&call] {
                    std::string u = call;
                    for (char& c : u) {
                        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
                    }
                    return u;
                }();
                const CountryInfo* longest = nullptr;
                for (const CountryInfo& candidate : table.records()) {
                    if (!candidate.prefix.empty() && upper.starts_with(candidate.prefix)
                        && (!longest || candidate.prefix.size() > longest->prefix.size())) {
                        longest = &candidate;
                    }
                }
                const CountryLookup found = lookupCountry(table, call);
                ASSERT_EQ(found.outcome, longest ? Found : NotFound) << call << " in a table of " << size;
                EXPECT_EQ(found.record, longest) << call << " in a table of " << size;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// Bearing and distance

constexpr double MilesPerRadian = 3955.75791314991;
constexpr double Pi = 3.14159265358979323846;

// The great-circle course and distance by the usual spherical formulas (atan2 for the course, the
// haversine for the arc), with east-positive longitudes as they are commonly written.
struct Course
{
    double bearing;
    double miles;
};
Course greatCircle(double lat1, double lonEast1, double lat2, double lonEast2)
{
    const double p1 = lat1 * Pi / 180;
    const double p2 = lat2 * Pi / 180;
    const double dl = (lonEast2 - lonEast1) * Pi / 180;
    const double theta = std::atan2(
        std::sin(dl) * std::cos(p2), std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
    const double h = std::pow(std::sin((p2 - p1) / 2), 2) + std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
    return { std::fmod(theta * 180 / Pi + 360, 360), 2 * std::asin(std::sqrt(h)) * MilesPerRadian };
}

long long labelNumber(const std::string& label)
{
    std::string digits;
    for (char c : label) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    return digits.empty() ? 0 : std::stoll(digits);
}

TEST(BearingDistance, matchesTheGreatCircleBetweenCities)
{
    struct City
    {
        double latitude;
        double longitudeEast;
    };
    const City london { 51.5074, -0.1278 };
    const City newYork { 40.7128, -74.0060 };
    const City berlin { 52.52, 13.405 };
    const City tokyo { 35.6762, 139.6503 };
    const City sydney { -33.8688, 151.2093 };
    const City capeTown { -33.9249, 18.4241 };
    const City honolulu { 21.3069, -157.8583 };
    const City rio { -22.9068, -43.1729 };
    const City anchorage { 61.2181, -149.9003 };
    const City johannesburg { -26.2041, 28.0473 };
    struct Case
    {
        City from;
        City to;
        BearingDistance expected;
    };
    const Case cases[] = {
        { london, newYork, { "288 ", "3,459 " } },
        { newYork, london, { "51 ", "3,459 " } },
        { berlin, tokyo, { "42 ", "5,536 " } },
        { sydney, capeTown, { "218 ", "6,837 " } },
        { honolulu, rio, { "105 ", "8,284 " } },
        { rio, honolulu, { "282 ", "8,284 " } },
        { anchorage, johannesburg, { "3 ", "10,008 " } },
    };
    for (const Case& c : cases) {
        // The table and the own station write longitudes west positive.
        const BearingDistance shown
            = bearingAndDistance(c.from.latitude, -c.from.longitudeEast, c.to.latitude, -c.to.longitudeEast);
        EXPECT_EQ(shown, c.expected) << shown.bearing << "/" << shown.distance;
        const Course reference = greatCircle(c.from.latitude, c.from.longitudeEast, c.to.latitude, c.to.longitudeEast);
        EXPECT_EQ(labelNumber(c.expected.bearing), std::llround(reference.bearing));
        EXPECT_EQ(labelNumber(c.expected.distance), std::llround(reference.miles));
    }
}

TEST(BearingDistance, dueNorthAndDueSouthStillHaveABearing)
{
    EXPECT_EQ(bearingAndDistance(50, 10, 60, 10), (BearingDistance { "360 ", "690 " }));
    EXPECT_EQ(bearingAndDistance(50, 10, 40, 10), (BearingDistance { "180 ", "690 " }));
    EXPECT_EQ(bearingAndDistance(0, 0, 60, 0), (BearingDistance { "360 ", "4,142 " }));
    EXPECT_EQ(bearingAndDistance(-33.9, -18.4, -80, -18.4), (BearingDistance { "180 ", "3,183 " }));
}

TEST(BearingDistance, ownPositionAndItsAntipodeHaveNone)
{
    const BearingDistance none;
    EXPECT_EQ(bearingAndDistance(52.5f, -13.4f, 52.5f, -13.4f), none);
    EXPECT_EQ(bearingAndDistance(43.73f, -7.4f, 43.73f, -7.4f), none);
    EXPECT_EQ(bearingAndDistance(0, 0, 0, 0), none);
    EXPECT_EQ(bearingAndDistance(50, 10, -50, -170), none);
    EXPECT_EQ(bearingAndDistance(0, 0, 0, 180), none);
}

TEST(BearingDistance, labelsRoundToWholeNumbersAndShowZeroAsNothing)
{
    struct Case
    {
        double targetLatitude;
        double targetLongitude;
        BearingDistance expected;
    };
    // From 0 N 0 E: a target a little west of north gives a bearing just under 360.
    const Case cases[] = {
        { 10, -0.05, { " ", "690 " } }, // 0.28
        { 10, -0.1, { "1 ", "690 " } }, // 0.57
        { 10, 0.1, { "359 ", "690 " } }, // 359.43
        { 10, 0.05, { "360 ", "690 " } }, // 359.72
        { 0, -0.001, { "90 ", " " } }, // 0.07 miles
        { 0, -178.81548645008, { "90 ", "12,346 " } }, // 12,345.6 miles
        { 0, 14.4, { "270 ", "994 " } },
        { 0, -14.5, { "90 ", "1,001 " } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bearingAndDistance(0, 0, c.targetLatitude, c.targetLongitude), c.expected)
            << c.targetLatitude << " " << c.targetLongitude;
    }
}

// ---------------------------------------------------------------------------------------------------
// Completing a country name

CountryTable countriesBeginningWithU()
{
    return CountryTable({
        info("5X", "Uganda", "AF"),
        info("A6", "United Arab Emirates", "AS"),
        info("CX", "Uruguay", "SA"),
        info("K", "USA", "NA"),
        info("UR", "Ukraine", "EU"),
        info("W", "USA", "NA"),
        info("ZS", "South Africa", "AF"),
    });
}

TEST(CountryCompletion, offersTheLastCountryInTheFileThatBeginsWithWhatWasTyped)
{
    const CountryTable table = countriesBeginningWithU();
    struct Case
    {
        std::string field;
        std::size_t cursor;
        char typed;
        std::string text;
        std::size_t selectionStart;
        std::size_t selectionLength;
        int recordNumber;
    };
    const Case cases[] = {
        { "", 0, 'U', "USA", 1, 2, 6 },
        { "", 0, 'u', "uSA", 1, 2, 6 },
        { "USA", 1, 'n', "United Arab Emirates", 2, 18, 2 },
        { "UNI", 2, 'i', "UNited Arab Emirates", 3, 17, 2 },
        { "Urxyz", 1, 'r', "Uruguay", 2, 5, 3 },
        { "Ugand", 5, 'a', "Uganda", 6, 0, 1 },
        { "", 0, 'S', "South Africa", 1, 11, 7 },
    };
    for (const Case& c : cases) {
        const auto completion = completeCountryName(table, c.field, c.cursor, c.typed);
        ASSERT_TRUE(completion.has_value()) << c.field << " + " << c.typed;
        EXPECT_EQ(completion->text, c.text);
        EXPECT_EQ(completion->selectionStart, c.selectionStart) << c.text;
        EXPECT_EQ(completion->selectionLength, c.selectionLength) << c.text;
        EXPECT_EQ(completion->record, &table.record(c.recordNumber)) << c.text;
    }
}

TEST(CountryCompletion, nothingBeginningWithWhatWasTypedLeavesTheKeyToTheField)
{
    const CountryTable table = countriesBeginningWithU();
    EXPECT_FALSE(completeCountryName(table, "", 0, 'Q'));
    EXPECT_FALSE(completeCountryName(table, "Ukraine", 2, 'u'));
    EXPECT_FALSE(completeCountryName(table, "USA", 3, 'A'));
    EXPECT_FALSE(completeCountryName(table, "", 0, '\0'));
    EXPECT_FALSE(completeCountryName(CountryTable {}, "", 0, 'U'));
}

TEST(CountryCompletion, matchingTheCaseSkipsNamesThatDifferOnlyInCase)
{
    // The lower-case name stands last, so completion without regard to case prefers it.
    const CountryTable table({ info("DL", "Germany", "EU"), info("GU", "guernsey", "EU") });
    struct Case
    {
        std::string field;
        std::size_t cursor;
        char typed;
        CompletionCase letterCase;
        std::optional<std::string> text;
        int recordNumber;
    };
    const Case cases[] = {
        { "", 0, 'G', CompletionCase::Match, "Germany", 1 },
        { "", 0, 'G', CompletionCase::Ignore, "Guernsey", 2 },
        { "Ge", 2, 'r', CompletionCase::Match, "Germany", 1 },
        { "ge", 2, 'r', CompletionCase::Match, std::nullopt, 0 },
        { "ge", 2, 'r', CompletionCase::Ignore, "germany", 1 },
        { "g", 1, 'u', CompletionCase::Match, "guernsey", 2 },
        { "", 0, 'g', CompletionCase::Match, "guernsey", 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field + c.typed + (c.letterCase == CompletionCase::Match ? " matching case" : " any case"));
        const auto completion = completeCountryName(table, c.field, c.cursor, c.typed, c.letterCase);
        ASSERT_EQ(completion.has_value(), c.text.has_value());
        if (completion) {
            EXPECT_EQ(completion->text, *c.text);
            EXPECT_EQ(completion->record, &table.record(c.recordNumber));
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// Leaving the call field

TEST(CallAreaProvince, canadianCallAreasGiveTheirProvince)
{
    const std::pair<const char*, const char*> areas[] = { { "VE1ABC", "NS" }, { "VE2ABC", "QC" }, { "VE3ABC", "ON" },
        { "VE4ABC", "MB" }, { "VE5ABC", "SK" }, { "VE6ABC", "AB" }, { "VE7ABC", "BC" }, { "VE8ABC", "NWT" },
        { "VE9ABC", "NB" }, { "VO1ABC", "NF" }, { "VO2ABC", "LB" }, { "VY0ABC", "NU" }, { "VY1ABC", "YT" },
        { "VY2ABC", "PEI" }, { "ve8abc", "NWT" }, { "VE8", "NWT" }, { "Vy2/K1ABC", "PEI" } };
    for (const auto& [call, province] : areas) {
        EXPECT_EQ(provinceOfCallArea(call), std::optional<std::string_view>(province)) << call;
    }
}

TEST(CallAreaProvince, otherCallsAndShortCallsGiveNothing)
{
    for (const char* call : { "", "V", "VE", "VA3ABC", "VE0ABC", "VO3ABC", "VY3ABC", "K1ABC", "DL1ABC/VE3" }) {
        EXPECT_EQ(provinceOfCallArea(call), std::nullopt) << call;
    }
}

TEST(DefaultReport, cwGets599AndEveryOtherMode59)
{
    EXPECT_EQ(defaultReport("CW"), "599");
    EXPECT_EQ(defaultReport("cw"), "599");
    EXPECT_EQ(defaultReport("PH"), "59");
    EXPECT_EQ(defaultReport(""), "59");
    EXPECT_EQ(defaultReport("CWX"), "59");
}

// ---------------------------------------------------------------------------------------------------
// The distributed country file

TEST(DistributedCountryFile, readsWholeAndPlacesWellKnownCalls)
{
    PosixFileSystem fs;
    const std::string data = BRINDLE_DATA_DIR;
    const std::string missing = data + "/no such folder";
    const CountryFileLoad loaded = loadCountryTable(fs, missing, missing, data);
    ASSERT_EQ(loaded.path, joinPath(data, CountryFileName)) << "the country file has not been generated";
    ASSERT_FALSE(loaded.failed);
    EXPECT_GT(loaded.table.count(), 1000);

    expectLookups(loaded.table,
        {
            { "JA1ABC", Found, "Japan", "JA" },
            { "PY2ABC", Found, "Brazil", "PY" },
            { "KL7ABC", Found, "Alaska", "KL" },
            { "VE3ABC", Found, "Canada", "VE3" },
            { "DL1ABC/VE3", Found, "Canada", "VE3" },
            { "VA7ABC", Found, "Canada", "VA7" },
            { "KH6ABC", Found, "Hawaii", "KH6" },
            { "K1ABC", Found, "USA", "K" },
            { "W1AW", Found, "USA", "W" },
            { "KG4AB", Found, "Guantanamo Bay", "KG4" },
            { "DL1ABC", Found, "Fed. Rep. of Germany", "DL" },
            { "G3ABC", Found, "England", "G" },
        });

    // The KG4 rule shows the first USA record, whatever its prefix.
    const CountryLookup kg4 = lookupCountry(loaded.table, "KG4ABC");
    ASSERT_EQ(kg4.outcome, Found);
    EXPECT_EQ(kg4.countryText, "USA");
    ASSERT_NE(kg4.record, nullptr);
    EXPECT_EQ(kg4.record->country, "USA");
    const auto firstUsa = std::find_if(loaded.table.records().begin(), loaded.table.records().end(),
        [](const CountryInfo& record) { return record.country == "USA"; });
    EXPECT_EQ(kg4.record, &*firstUsa);

    // Longitudes are west positive, as the bearing needs them.
    const CountryLookup usa = lookupCountry(loaded.table, "K1ABC");
    ASSERT_NE(usa.record, nullptr);
    EXPECT_GT(usa.record->longitude, 60);
    EXPECT_GT(usa.record->latitude, 25);
    const CountryLookup japan = lookupCountry(loaded.table, "JA1ABC");
    ASSERT_NE(japan.record, nullptr);
    EXPECT_LT(japan.record->longitude, -120);
}

} // namespace
} // namespace brindle
