#include "cty/CtyConverter.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::tools {
namespace {

using test::fixture;
using test::fixturePath;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

// A cty.csv row with plausible values around the given country, number and prefix list.
std::string ctyRow(std::string_view country, int dxcc, std::string_view prefixes)
{
    return "X," + std::string(country) + "," + std::to_string(dxcc) + ",EU,14,27,50.25,-10.50,-1.0,"
        + std::string(prefixes) + ";\n";
}

std::vector<std::string> prefixesOf(const CountryData& data)
{
    std::vector<std::string> prefixes;
    for (const PrefixRecord& record : data.prefixes) {
        prefixes.push_back(record.prefix);
    }
    return prefixes;
}

const PrefixRecord* recordFor(const CountryData& data, std::string_view prefix)
{
    for (const PrefixRecord& record : data.prefixes) {
        if (record.prefix == prefix) {
            return &record;
        }
    }
    return nullptr;
}

std::string conversionError(std::string_view csv)
{
    try {
        convertCty(csv);
    } catch (const CtyError& error) {
        return error.what();
    }
    return "(no error)";
}

struct CommandResult
{
    int status;
    std::string out;
    std::string err;
};

CommandResult runWith(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCtyConvert(args, out, err);
    return CommandResult { status, out.str(), err.str() };
}

TEST(CtyConvertCommand, smallFileGivesTheExpectedFilesAndReportsTheDroppedDuplicate)
{
    TempFolder folder;
    const CommandResult run = runWith({ fixturePath("tools/cty_small.csv"), folder.path() });

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(folder.file("arrlpre2.txt")), fixture("tools/cty_small_arrlpre2.txt"));
    EXPECT_EQ(readBytes(folder.file("ADIFCnt.txt")), fixture("tools/cty_small_ADIFCnt.txt"));
    EXPECT_NE(run.err.find("dropped 1 duplicate prefix"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("43 prefixes"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("12 countries"), std::string::npos) << run.out;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2) << "no temporary files left";
}

TEST(CtyConvertCommand, replacesFilesAlreadyInTheOutputFolder)
{
    TempFolder folder;
    writeBytes(folder.file("arrlpre2.txt"), "\"OLD\",\"Old\",\"EU\",0,0,0,0,0\r\n");
    writeBytes(folder.file("ADIFCnt.txt"), std::string(5000, 'x'));

    ASSERT_EQ(runWith({ fixturePath("tools/cty_small.csv"), folder.path() }).status, 0);

    EXPECT_EQ(readBytes(folder.file("arrlpre2.txt")), fixture("tools/cty_small_arrlpre2.txt"));
    EXPECT_EQ(readBytes(folder.file("ADIFCnt.txt")), fixture("tools/cty_small_ADIFCnt.txt"));
}

TEST(CtyConvertCommand, badArgumentsInputOrOutputFailWithAMessageAndWriteNothing)
{
    TempFolder folder;
    const std::string good = fixturePath("tools/cty_small.csv");
    const std::string bad = folder.file("bad.csv");
    writeBytes(bad, ctyRow("Fiji", 176, "3D2") + "3D2/c,Conway Reef,489,OC,32,56,-22.00\n");
    const std::string output = folder.file("out");
    std::filesystem::create_directory(output);
    const std::string plainFile = folder.file("plain");
    writeBytes(plainFile, "x");

    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::vector<Case> cases {
        { {}, 2, "usage: brindle-cty-convert CTY_CSV OUTPUT_FOLDER" },
        { { good }, 2, "usage:" },
        { { good, output, "extra" }, 2, "usage:" },
        { { folder.file("missing.csv"), output }, 1, "cannot read " + folder.file("missing.csv") },
        { { output, output }, 1, "cannot read " + output },
        { { bad, output }, 1, bad + ": line 2: expected 10 comma-separated fields, found 7" },
        { { good, folder.file("missing-folder") }, 1, folder.file("missing-folder") + " is not an existing folder" },
        { { good, plainFile }, 1, plainFile + " is not an existing folder" },
    };
    for (const Case& c : cases) {
        const CommandResult run = runWith(c.args);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_TRUE(std::filesystem::is_empty(output));
}

TEST(CtyConverter, overridesApplyContinentPositionAndZonesToTheirOwnPrefixAndOffsetIsStripped)
{
    const CountryData data = convertCty(ctyRow(
        "Asiatic Russia", 15, "UA9 UA0(19)[33] UA2{EU}<54.72/-20.52> RA2~2.0~ R2<-5.5/170.25>(20){OC}[50]~-3.0~"));

    struct Expected
    {
        std::string prefix;
        std::string continent;
        double longitude;
        double latitude;
        int cq;
        int itu;
    };
    const std::vector<Expected> expected {
        { "UA9", "EU", -10.50, 50.25, 14, 27 },
        { "UA0", "EU", -10.50, 50.25, 19, 33 },
        { "UA2", "EU", -20.52, 54.72, 14, 27 },
        { "RA2", "EU", -10.50, 50.25, 14, 27 },
        { "R2", "OC", 170.25, -5.5, 20, 50 },
    };
    ASSERT_EQ(data.prefixes.size(), expected.size());
    for (const Expected& e : expected) {
        const PrefixRecord* record = recordFor(data, e.prefix);
        ASSERT_NE(record, nullptr) << e.prefix;
        EXPECT_EQ(record->continent, e.continent) << e.prefix;
        EXPECT_EQ(record->longitude, e.longitude) << e.prefix;
        EXPECT_EQ(record->latitude, e.latitude) << e.prefix;
        EXPECT_EQ(record->cqZone, e.cq) << e.prefix;
        EXPECT_EQ(record->ituZone, e.itu) << e.prefix;
        EXPECT_EQ(record->utcOffset, "-1.0") << e.prefix;
    }
    EXPECT_EQ(prefixFileText(data),
        "\"R2\",\"Asiatic Russia\",\"OC\",170.25,-5.50,20,50,-1.0\r\n"
        "\"RA2\",\"Asiatic Russia\",\"EU\",-10.50,50.25,14,27,-1.0\r\n"
        "\"UA0\",\"Asiatic Russia\",\"EU\",-10.50,50.25,19,33,-1.0\r\n"
        "\"UA2\",\"Asiatic Russia\",\"EU\",-20.52,54.72,14,27,-1.0\r\n"
        "\"UA9\",\"Asiatic Russia\",\"EU\",-10.50,50.25,14,27,-1.0\r\n");
}

TEST(CtyConverter, malformedOverridesAreRefusedNamingTheLineAndEntry)
{
    const std::vector<std::pair<std::string, std::string>> cases {
        { "K(41)", "entry 'K(41)' has a bad CQ zone override '41'" },
        { "K(4", "entry 'K(4' has an unclosed or unknown override at '(4'" },
        { "K[x]", "entry 'K[x]' has a bad ITU zone override 'x'" },
        { "K<37.6>", "entry 'K<37.6>' has a bad position override '37.6'" },
        { "K<91/10>", "bad position override '91/10'" },
        { "K<10/abc>", "bad position override '10/abc'" },
        { "K{XX}", "entry 'K{XX}' has a bad continent override 'XX'" },
        { "K~five~", "bad UTC offset override 'five'" },
        { "K(4)X", "unclosed or unknown override at 'X'" },
        { "=(4)", "entry '=(4)' has no call or prefix" },
        { "K-1", "prefix 'K-1' contains a character other than letters, digits and '/'" },
    };
    for (const auto& [entry, message] : cases) {
        const std::string error = conversionError(ctyRow("Fiji", 176, "3D2") + ctyRow("USA", 291, "AA " + entry));
        EXPECT_NE(error.find("line 2: "), std::string::npos) << entry << ": " << error;
        EXPECT_NE(error.find(message), std::string::npos) << entry << ": " << error;
    }
}

TEST(CtyConverter, wholeCallsAreDroppedExceptForAnEntityWithoutPlainPrefixes)
{
    const CountryData data = convertCty(ctyRow("Hawaii", 110, "KH6 =AA2TT =KH6/W1AW") + ctyRow("Fiji", 176, "3D2 =3D5X")
        + ctyRow("Conway Reef", 489, "=3D2C =3d2cr =3D20CR(33)[57]"));

    EXPECT_EQ(prefixesOf(data), (std::vector<std::string> { "3D2", "3D20CR", "3D2C", "3D2CR", "KH6" }));
    EXPECT_EQ(recordFor(data, "3D2C")->country, "Conway Reef");
    EXPECT_EQ(recordFor(data, "3D20CR")->cqZone, 33);
    EXPECT_EQ(recordFor(data, "3D20CR")->ituZone, 57);
    EXPECT_EQ(data.wholeCallsDropped, 3u);
    EXPECT_EQ(data.wholeCallsKept, 3u);
    EXPECT_EQ(
        data.entities, (std::vector<EntityRecord> { { "Conway Reef", 489 }, { "Fiji", 176 }, { "Hawaii", 110 } }));
}

TEST(CtyConverter, unitedStatesIsNamedUsaInBothFilesAndOtherNamesStayAsTheyAre)
{
    const CountryData data = convertCty(ctyRow("United States", 291, "K W") + ctyRow("Alaska", 6, "KL")
        + ctyRow("Hawaii", 110, "KH6") + ctyRow("Canada", 1, "VE") + ctyRow("United Arab Emirates", 391, "A6"));

    EXPECT_EQ(recordFor(data, "K")->country, "USA");
    EXPECT_EQ(recordFor(data, "W")->country, "USA");
    EXPECT_EQ(recordFor(data, "KL")->country, "Alaska");
    EXPECT_EQ(data.entities,
        (std::vector<EntityRecord> {
            { "Alaska", 6 }, { "Canada", 1 }, { "Hawaii", 110 }, { "United Arab Emirates", 391 }, { "USA", 291 } }));
    EXPECT_EQ(entityFileText(data),
        "\"Alaska\",6\r\n\"Canada\",1\r\n\"Hawaii\",110\r\n\"United Arab Emirates\",391\r\n\"USA\",291\r\n");
}

// cty.csv names entity 390 after its Asian part and lists the European part (TA1, TC1, YM1...) as a
// WAE entity of the same number; the DXCC entity is all of Turkey.
TEST(CtyConverter, bothPartsOfTurkeyAreTheEntityTurkeyWithTheirOwnContinent)
{
    const std::string csv = "TA,Asiatic Turkey,390,AS,20,39,39.18,-35.65,-2.0,TA TB TC YM;\n"
                            "*TA1,European Turkey,390,EU,20,39,41.02,-28.97,-2.0,TA1 TB1 TC1 YM1;\n";
    const CountryData data = convertCty(csv);

    struct Case
    {
        const char* prefix;
        const char* continent;
        double latitude;
    };
    const Case cases[] = {
        { "TA", "AS", 39.18 },
        { "YM", "AS", 39.18 },
        { "TA1", "EU", 41.02 },
        { "TC1", "EU", 41.02 },
        { "YM1", "EU", 41.02 },
    };
    for (const Case& c : cases) {
        const PrefixRecord* record = recordFor(data, c.prefix);
        ASSERT_NE(record, nullptr) << c.prefix;
        EXPECT_EQ(record->country, "Turkey") << c.prefix;
        EXPECT_EQ(record->continent, c.continent) << c.prefix;
        EXPECT_EQ(record->latitude, c.latitude) << c.prefix;
    }
    EXPECT_EQ(data.entities, (std::vector<EntityRecord> { { "Turkey", 390 } }));
}

TEST(CtyConverter, waeOnlyEntitiesCountAsTheirDxccEntityButKeepTheirOwnPosition)
{
    const std::string csv = "I,Italy,248,EU,15,28,42.82,-12.58,-1.0,I;\n"
                            "*IG9,African Italy,248,AF,33,37,35.67,-12.67,-1.0,IG9;\n"
                            "*4U1V,Vienna Intl Ctr,206,EU,15,28,48.20,-16.30,-1.0,=4U1VIC;\n"
                            "OE,Austria,206,EU,15,28,47.33,-13.33,-1.0,OE;\n"
                            "*XX9,Nowhere Else,9999,EU,15,28,1.00,2.00,-1.0,XX9;\n";
    const CountryData data = convertCty(csv);

    EXPECT_EQ(recordFor(data, "IG9")->country, "Italy");
    EXPECT_EQ(recordFor(data, "IG9")->continent, "AF");
    EXPECT_EQ(recordFor(data, "IG9")->latitude, 35.67);
    EXPECT_EQ(recordFor(data, "4U1VIC")->country, "Austria");
    EXPECT_EQ(recordFor(data, "XX9")->country, "Nowhere Else");
    EXPECT_EQ(
        data.entities, (std::vector<EntityRecord> { { "Austria", 206 }, { "Italy", 248 }, { "Nowhere Else", 9999 } }));
}

TEST(CtyConverter, prefixesAreUpperCasedAndSortedByByteSoEachFirstCharacterIsOneBlock)
{
    const CountryData data = convertCty(ctyRow("United States", 291, "W kh6 KG4 K AA KA")
        + ctyRow("Malta", 246, "1A 9H") + ctyRow("Spratly", 247, "9M0 =9M4SDX")
        + ctyRow("Bouvet", 24, "=3Y/ZS6GCM =3Y0C") + ctyRow("Fiji", 176, "3d2 A3"));

    EXPECT_EQ(prefixesOf(data),
        (std::vector<std::string> {
            "1A", "3D2", "3Y/ZS6GCM", "3Y0C", "9H", "9M0", "A3", "AA", "K", "KA", "KG4", "KH6", "W" }));
}

TEST(CtyConverter, duplicatePrefixesKeepTheFirstOccurrence)
{
    const CountryData data
        = convertCty(ctyRow("Guantanamo Bay", 105, "KG4 KG4") + ctyRow("United States", 291, "K kg4 W"));

    EXPECT_EQ(prefixesOf(data), (std::vector<std::string> { "K", "KG4", "W" }));
    EXPECT_EQ(recordFor(data, "KG4")->country, "Guantanamo Bay");
    EXPECT_EQ(data.duplicatesDropped, 2u);
}

TEST(CtyConverter, malformedRowsAreRefusedNamingTheLine)
{
    const std::string fiji = "3D2,Fiji,176,OC,32,56,-17.78,-177.92,-12.0,";
    const std::vector<std::pair<std::string, std::string>> cases {
        { "3D2,Fiji,176,OC,32,56,-17.78,-177.92,3D2;", "expected 10 comma-separated fields, found 9" },
        { fiji + "3D2;,extra", "expected 10 comma-separated fields, found 11" },
        { ",Fiji,176,OC,32,56,-17.78,-177.92,-12.0,3D2;", "the primary prefix is empty" },
        { "3D2,,176,OC,32,56,-17.78,-177.92,-12.0,3D2;", "the country name is empty" },
        { "3D2,Fiji,17x,OC,32,56,-17.78,-177.92,-12.0,3D2;", "DXCC entity number '17x' is not a whole number" },
        { "3D2,Fiji,176,Oceania,32,56,-17.78,-177.92,-12.0,3D2;", "continent 'Oceania' is not one of" },
        { "3D2,Fiji,176,OC,41,56,-17.78,-177.92,-12.0,3D2;", "CQ zone '41' is not a whole number from 1 to 40" },
        { "3D2,Fiji,176,OC,32,5.6,-17.78,-177.92,-12.0,3D2;", "ITU zone '5.6' is not a whole number from 1 to 90" },
        { "3D2,Fiji,176,OC,32,56,-17,78,-177.92,-12.0,3D2;", "expected 10 comma-separated fields, found 11" },
        { "3D2,Fiji,176,OC,32,56,S17.78,-177.92,-12.0,3D2;", "latitude 'S17.78' is not a number from -90 to 90" },
        { "3D2,Fiji,176,OC,32,56,-17.78,-180.01,-12.0,3D2;", "longitude '-180.01' is not a number from -180 to 180" },
        { "3D2,Fiji,176,OC,32,56,-17.78,-177.92,UTC+12,3D2;", "UTC offset 'UTC+12' is not a number" },
        { fiji + "3D2", "the prefix list does not end with ';'" },
        { fiji + " ;", "the prefix list of 'Fiji' is empty" },
    };
    for (const auto& [row, message] : cases) {
        const std::string error = conversionError(ctyRow("Malta", 246, "1A") + "\n" + row + "\n");
        EXPECT_NE(error.find("line 3: " + message), std::string::npos) << row << "\n" << error;
    }
}

TEST(CtyConverter, namesAndPrefixesTheOutputFilesCannotHoldAreRefused)
{
    const std::vector<std::pair<std::string, std::string>> cases {
        { ctyRow("Cote d\"Ivoire", 428, "TU"), "country name 'Cote d\"Ivoire' contains a double quote, CR or LF" },
        { ctyRow("Cote\rd'Ivoire", 428, "TU"), "country name 'Cote\\x0Dd'Ivoire' contains a double quote, CR or LF" },
        { ctyRow("Cote d'Ivoire", 428, "TU T\"U"), "prefix 'T\"U' contains a double quote, CR or LF" },
    };
    for (const auto& [csv, message] : cases) {
        const std::string error = conversionError(csv);
        EXPECT_NE(error.find("line 1: " + message), std::string::npos) << error;
    }
}

TEST(CtyConverter, acceptsCrLfLineEndsAndBlankLines)
{
    const CountryData data = convertCty("\r\n3D2,Fiji,176,OC,32,56,-17.78,-177.92,-12.0,3D2;\r\n  \r\n"
                                        "1A,Sov Mil Order of Malta,246,EU,15,28,41.90,-12.43,-1.0,1A;\r\n\r\n");

    EXPECT_EQ(prefixesOf(data), (std::vector<std::string> { "1A", "3D2" }));
    EXPECT_EQ(recordFor(data, "3D2")->utcOffset, "-12.0");
    EXPECT_EQ(data.entities.size(), 2u);
}

TEST(CtyConverter, tablesBeyondTheProgramsCapacitiesAreRefused)
{
    const auto prefixList = [](int count) {
        std::string list;
        for (int i = 0; i < count; ++i) {
            list += "P" + std::to_string(i) + " ";
        }
        return list;
    };
    EXPECT_EQ(convertCty(ctyRow("Many", 1, prefixList(10000))).prefixes.size(), 10000u);
    EXPECT_NE(conversionError(ctyRow("Many", 1, prefixList(10001))).find("10001 prefix records, more than"),
        std::string::npos);

    const auto countries = [](int count) {
        std::string csv;
        for (int i = 0; i < count; ++i) {
            csv += ctyRow("Country " + std::to_string(i), i, "P" + std::to_string(i));
        }
        return csv;
    };
    EXPECT_EQ(convertCty(countries(1000)).entities.size(), 1000u);
    EXPECT_NE(conversionError(countries(1001)).find("1001 countries, more than"), std::string::npos);
}

TEST(CtyConverter, aNameUsedForTwoDxccNumbersIsRefused)
{
    const std::string error = conversionError(ctyRow("United States", 291, "K") + ctyRow("USA", 292, "W"));

    EXPECT_NE(error.find("line 2: country 'USA' has DXCC entity number 292 here and 291 on line 1"), std::string::npos)
        << error;
}

TEST(CtyConverter, emptyInputIsRefused)
{
    EXPECT_EQ(conversionError("\n\n"), "no country rows in the input");
}

} // namespace
} // namespace brindle::tools
