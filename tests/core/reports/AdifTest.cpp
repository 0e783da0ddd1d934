#include "reports/Adif.h"

#include "log/LogFormat.h"
#include "os/PosixFileSystem.h"
#include "support/LogSamples.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

using test::fixture;
using test::logOf;
using test::TempFolder;
using test::writeBytes;

const std::string Header = "ADIF Export from KORVA's Brindle 1.8 (DX Version)\r\n"
                           "Written by KORVA Software\r\n"
                           "News and updates: https://brindledx.example.org\r\n"
                           "Log exported on: 2/21/26 2:05:09 PM\r\n"
                           "\r\n"
                           "<EOH>\r\n"
                           "\r\n";

AdifExportSettings settingsWith(std::string power, std::string comment, std::string mode = "CW")
{
    return { std::move(power), std::move(comment), std::move(mode), "KORVA's Brindle 1.8 (DX Version)",
        "2/21/26 2:05:09 PM" };
}

const AdifCountryTable countries { {
    { "Alaska", 6 },
    { "Canada", 1 },
    { "Hawaii", 110 },
    { "USA", 291 },
} };

QsoRecord contact(std::string call, std::string section, std::string country)
{
    return { std::move(call), "599", std::move(section), "599", std::move(country), "2026/02/21", "00:03:05", "20",
        "14.0333" };
}

// The records of an export without power and comment, after the header.
std::string exportedRecords(
    const std::vector<QsoRecord>& records, const AdifExportSettings& settings = settingsWith("", ""))
{
    const std::string text = adifFileText(logOf(records), countries, settings);
    EXPECT_EQ(text.substr(0, Header.size()), Header);
    return text.substr(Header.size());
}

std::string firstLine(const std::string& records)
{
    return records.substr(0, records.find("\r\n"));
}

// ---------------------------------------------------------------------------------------------------
// The whole file

TEST(AdifFile, fixtureLogIsWrittenByteForByte)
{
    const ParsedLog parsed = parseLog(fixture("reports/adif_log.txt"));
    ASSERT_FALSE(parsed.failure);
    const Result<AdifCountryTable> table = parseAdifCountryTable(fixture("reports/adif_countries.txt"));
    ASSERT_TRUE(table.ok()) << table.error().description;

    const std::string text
        = adifFileText(parsed.log, table.value(), settingsWith("100  ", "International DX Contest", "CW"));

    EXPECT_EQ(text, fixture("reports/adif_expected.adi"));
}

TEST(AdifFile, emptyLogIsTheHeaderAlone)
{
    EXPECT_EQ(adifFileText(ContestLog(), countries, settingsWith("100", "x")), Header);
}

// ---------------------------------------------------------------------------------------------------
// Record layout

TEST(AdifRecord, powerCommentAndModeShapeTheRecord)
{
    struct Case
    {
        const char* name;
        AdifExportSettings settings;
        std::string expected;
    };
    const std::string firstLineCw = "<Call:4>K0AA <Qso_Date:8:d>20260221 <Band:3>20M <Mode:2>CW\r\n";
    const std::string fields
        = "<Freq:7>14.0333 <Time_On:4>0003 <DXCC:3>291 <State:2>MN <RST_Sent:3>599 <RST_Rcvd:3>599 ";
    const Case cases[] = {
        { "neither: <eor> ends the second line", settingsWith("", ""), firstLineCw + fields + "<eor>\r\n\r\n" },
        { "a comment: <eor> on a line of its own", settingsWith("", "IDX 2026"),
            firstLineCw + fields + "<Comment:8>IDX 2026\r\n<eor>\r\n\r\n" },
        { "power with trailing blanks", settingsWith("100   ", ""),
            firstLineCw + "<Tx_Pwr:3>100 " + fields + "<eor>\r\n\r\n" },
        { "power keeps leading blanks", settingsWith(" 5", ""),
            firstLineCw + "<Tx_Pwr:2> 5 " + fields + "<eor>\r\n\r\n" },
        { "power of blanks alone is no power", settingsWith("   ", ""), firstLineCw + fields + "<eor>\r\n\r\n" },
        { "comment kept as typed", settingsWith("", " a <b> "),
            firstLineCw + fields + "<Comment:7> a <b> \r\n<eor>\r\n\r\n" },
        { "phone is SSB", settingsWith("1500", "x", "PH"),
            "<Call:4>K0AA <Qso_Date:8:d>20260221 <Band:3>20M <Mode:3>SSB\r\n<Tx_Pwr:4>1500 " + fields
                + "<Comment:1>x\r\n<eor>\r\n\r\n" },
        { "phone in any case", settingsWith("", "", "ph"),
            "<Call:4>K0AA <Qso_Date:8:d>20260221 <Band:3>20M <Mode:3>SSB\r\n" + fields + "<eor>\r\n\r\n" },
        { "any other mode is CW", settingsWith("", "", "SSB"), firstLineCw + fields + "<eor>\r\n\r\n" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(exportedRecords({ contact("K0AA", "MN", "USA") }, c.settings), c.expected) << c.name;
    }
}

TEST(AdifRecord, emptyValuesLeaveTheirFieldsOut)
{
    QsoRecord bare { "", "", "", "", "", "", "", "", "" };
    EXPECT_EQ(exportedRecords({ bare }), "<Band:1>M <Mode:2>CW\r\n<eor>\r\n\r\n");

    // Blanks alone are no frequency and no report; a report's trailing blanks are not counted.
    QsoRecord blanks { "K1AB", "  ", "MA", "57 ", "USA", "2026/02/21", "  ", "20", "   " };
    EXPECT_EQ(exportedRecords({ blanks }),
        "<Call:4>K1AB <Qso_Date:8:d>20260221 <Band:3>20M <Mode:2>CW\r\n"
        "<DXCC:3>291 <State:2>MA <RST_Sent:2>57 <eor>\r\n\r\n");
}

// ---------------------------------------------------------------------------------------------------
// Values

TEST(AdifRecord, stateFollowsTheCountry)
{
    struct Case
    {
        std::string section;
        std::string country;
        std::string expectedFields; // DXCC and state
    };
    const Case cases[] = {
        { "DC", "USA", "<DXCC:3>291 <State:2>MD " },
        { "dc", "usa", "<DXCC:3>291 <State:2>MD " },
        { "MDC", "USA", "<DXCC:3>291 <State:3>MDC " }, // only the whole state stands for Washington
        { "OH", "USA", "<DXCC:3>291 <State:2>OH " },
        { "WA", "Alaska", "<DXCC:1>6 <State:2>AK " },
        { "", "ALASKA", "<DXCC:1>6 <State:2>AK " },
        { "PAC", "Hawaii", "<DXCC:3>110 <State:2>HI " },
        { "ON", "Canada", "<DXCC:1>1 " },
        { "MA", "Atlantis", "" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(exportedRecords({ contact("K0AA", c.section, c.country) }),
            "<Call:4>K0AA <Qso_Date:8:d>20260221 <Band:3>20M <Mode:2>CW\r\n<Freq:7>14.0333 <Time_On:4>0003 "
                + c.expectedFields + "<RST_Sent:3>599 <RST_Rcvd:3>599 <eor>\r\n\r\n")
            << c.section << " " << c.country;
    }
}

TEST(AdifRecord, aCountryOfTwoCharactersOrFewerKeepsTheCountryBefore)
{
    struct Case
    {
        std::vector<std::string> countries;
        std::string lastDxcc; // the DXCC field of the last contact
    };
    const Case cases[] = {
        { { "Canada", "" }, "<DXCC:1>1 " }, { { "Canada", "US" }, "<DXCC:1>1 " },
        { { "Hawaii", "", "KH" }, "<DXCC:3>110 " },
        { { "Canada", "Atlantis", "" }, "" }, // an unknown name is carried over as well
        { { "" }, "" }, // nothing before the first contact
        { { "Canada", " USA " }, "<DXCC:3>291 " }, // looked up trimmed
        { { "Canada", "   " }, "" }, // three blanks are a name, and none of the table's
    };
    for (const Case& c : cases) {
        std::vector<QsoRecord> records;
        for (const std::string& country : c.countries) {
            records.push_back(contact("VE3AA", "ON", country));
        }
        const std::string text = exportedRecords(records);
        const std::string last = text.substr(text.rfind("<Call:"));
        EXPECT_EQ(last,
            "<Call:5>VE3AA <Qso_Date:8:d>20260221 <Band:3>20M <Mode:2>CW\r\n<Freq:7>14.0333 <Time_On:4>0003 "
                + c.lastDxcc + "<RST_Sent:3>599 <RST_Rcvd:3>599 <eor>\r\n\r\n")
            << c.countries.back();
    }
}

TEST(AdifRecord, timeIsHoursAndMinutesInFourDigits)
{
    struct Case
    {
        const char* time;
        const char* expected; // nullptr: no time field
    };
    const Case cases[] = {
        { "12:34:56", "1234" },
        { "12:34", "1234" },
        { "9:05", "0905" },
        { "9:5", "0905" },
        { "9:5:7", "0905" },
        { " 23:59:59 ", "2359" },
        { "0:00:00", "0000" },
        { "12:3", "1203" },
        { "1234", "1234" },
        { "123456", "1234" },
        { "7", "0007" },
        { "", nullptr },
        { "   ", nullptr },
    };
    for (const Case& c : cases) {
        QsoRecord record = contact("K0AA", "MN", "USA");
        record.qsoTime = c.time;
        const std::string text = exportedRecords({ record });
        if (c.expected) {
            EXPECT_NE(text.find(std::string("<Freq:7>14.0333 <Time_On:4>") + c.expected + " <DXCC:"), std::string::npos)
                << c.time << "\n"
                << text;
        } else {
            EXPECT_EQ(text.find("Time_On"), std::string::npos) << c.time;
        }
    }
}

TEST(AdifRecord, dateOnlyWhenItNamesARealDay)
{
    struct Case
    {
        const char* date;
        const char* expected; // nullptr: no date field
    };
    const Case cases[] = {
        { "2005/03/05", "20050305" },
        { "2026/2/5", "20260205" },
        { " 2024/02/29 ", "20240229" },
        { "2026/02/29", nullptr },
        { "2026/13/01", nullptr },
        { "21/02/2026", nullptr },
        { "", nullptr },
    };
    for (const Case& c : cases) {
        QsoRecord record = contact("K0AA", "MN", "USA");
        record.qsoDate = c.date;
        const std::string expectedDate = c.expected ? std::string("<Qso_Date:8:d>") + c.expected + " " : "";
        EXPECT_EQ(firstLine(exportedRecords({ record })), "<Call:4>K0AA " + expectedDate + "<Band:3>20M <Mode:2>CW")
            << c.date;
    }
}

TEST(AdifRecord, bandLengthCountsTheAddedM)
{
    struct Case
    {
        const char* band;
        const char* field;
    };
    const Case cases[] = {
        { "160", "<Band:4>160M " },
        { "20", "<Band:3>20M " },
        { "6", "<Band:2>6M " },
        { "", "<Band:1>M " },
    };
    for (const Case& c : cases) {
        QsoRecord record = contact("K0AA", "MN", "USA");
        record.band = c.band;
        EXPECT_EQ(firstLine(exportedRecords({ record })),
            std::string("<Call:4>K0AA <Qso_Date:8:d>20260221 ") + c.field + "<Mode:2>CW")
            << c.band;
    }
}

TEST(AdifRecord, lengthsCountEightBitCharactersAsOne)
{
    QsoRecord record = contact("OH0/K1AB", "MA", "USA");
    record.frequency = "14.0251";
    const std::string text = adifFileText(logOf({ record }), countries, settingsWith("", "\xC5land trip"));
    EXPECT_NE(text.find("<Call:8>OH0/K1AB "), std::string::npos);
    EXPECT_NE(text.find("<Comment:10>\xC5land trip\r\n"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------------
// The country-to-ADIF table

TEST(AdifCountryTable, readsNamesAndNumbersInFileOrder)
{
    const Result<AdifCountryTable> table
        = parseAdifCountryTable("\"Alaska\",6\r\n\r\n  \"Canada\" , 1 \r\n\"Sable I.\",+211\n\"Test\",-5\r\n"
                                "Unquoted Land,32767\r\n\"Last\",-32768");
    ASSERT_TRUE(table.ok()) << table.error().description;
    EXPECT_EQ(table.value().records(),
        (std::vector<AdifCountry> {
            { "Alaska", 6 },
            { "Canada", 1 },
            { "Sable I.", 211 },
            { "Test", -5 },
            { "Unquoted Land", 32767 },
            { "Last", -32768 },
        }));
}

TEST(AdifCountryTable, lookupTakesTheFirstRecordOfANameWithoutRegardToCase)
{
    const AdifCountryTable table { {
        { "USA", 291 },
        { "Canada", 1 },
        { "usa", 999 },
        { "\xC5land Islands", 5 },
    } };
    EXPECT_EQ(table.dxccOf("USA"), 291);
    EXPECT_EQ(table.dxccOf("Usa"), 291);
    EXPECT_EQ(table.dxccOf("  canada "), 1);
    EXPECT_EQ(table.dxccOf("\xC5land Islands"), 5);
    EXPECT_EQ(table.dxccOf("\xE5land Islands"), 0); // only ASCII letters change case
    EXPECT_EQ(table.dxccOf("Can"), 0);
    EXPECT_EQ(table.dxccOf(""), 0);
}

TEST(AdifCountryTable, emptyFileIsAnEmptyTable)
{
    for (const char* content : { "", "\r\n", " \r\n\r\n" }) {
        const Result<AdifCountryTable> table = parseAdifCountryTable(content);
        ASSERT_TRUE(table.ok()) << content;
        EXPECT_TRUE(table.value().records().empty()) << content;
    }
}

TEST(AdifCountryTable, damageIsDescribed)
{
    struct Case
    {
        std::string content;
        std::string description;
    };
    const Case cases[] = {
        { "\"Alaska\",6\r\n\"Canada\",one\r\n",
            "ADIFCnt.txt, record 2: the DXCC number \"one\" is not a whole number from -32768 to 32767." },
        { "\"Alaska\",32768\r\n",
            "ADIFCnt.txt, record 1: the DXCC number \"32768\" is not a whole number from -32768 to 32767." },
        { "\"Alaska\",6.5\r\n",
            "ADIFCnt.txt, record 1: the DXCC number \"6.5\" is not a whole number from -32768 to 32767." },
        { "\"Alaska\",\r\n",
            "ADIFCnt.txt, record 1: the DXCC number \"\" is not a whole number from -32768 to 32767." },
        // A record split over two lines takes the next name as its number.
        { "\"Alaska\"\r\n\"Canada\",1\r\n",
            "ADIFCnt.txt, record 1: the DXCC number \"Canada\" is not a whole number from -32768 to 32767." },
        { "\"Alaska\",6\r\n\"Canada\"", "ADIFCnt.txt, record 2: the DXCC number is missing." },
        { "\"Alaska\",6\r\n\"Can\"ada\",1\r\n", "ADIFCnt.txt, record 2: a double quote stands inside a field." },
        { "\"Alaska,6\r\n", "ADIFCnt.txt, record 1: a double quote is not closed." },
    };
    for (const Case& c : cases) {
        const Result<AdifCountryTable> table = parseAdifCountryTable(c.content);
        ASSERT_FALSE(table.ok()) << c.content;
        EXPECT_EQ(table.error().description, c.description) << c.content;
    }
}

TEST(AdifCountryTable, holdsAThousandRecordsAndNoMore)
{
    std::string content;
    for (int n = 1; n <= AdifCountryTable::Capacity; ++n) {
        content += "\"Country " + std::to_string(n) + "\"," + std::to_string(n) + "\r\n";
    }
    const Result<AdifCountryTable> full = parseAdifCountryTable(content + "\r\n");
    ASSERT_TRUE(full.ok()) << full.error().description;
    EXPECT_EQ(full.value().dxccOf("Country 1000"), 1000);

    const Result<AdifCountryTable> over = parseAdifCountryTable(content + "\"One more\",1\r\n");
    ASSERT_FALSE(over.ok());
    EXPECT_EQ(over.error().description, "ADIFCnt.txt holds more than 1000 records.");
}

TEST(AdifCountryTable, loadsFromTheFirstOfSharedProgramDataAndWorkingFolder)
{
    TempFolder shared;
    TempFolder programData;
    TempFolder working;
    PosixFileSystem fs;
    const auto load = [&] { return loadAdifCountryTable(fs, shared.path(), programData.path(), working.path()); };

    Result<AdifCountryTable> none = load();
    ASSERT_FALSE(none.ok());
    EXPECT_EQ(none.error().description,
        "ADIFCnt.txt was not found in " + shared.path() + ", " + programData.path() + " or " + working.path() + ".");

    writeBytes(working.file("ADIFCnt.txt"), "\"USA\",3\r\n");
    EXPECT_EQ(load().value().dxccOf("USA"), 3);
    writeBytes(programData.file("ADIFCnt.txt"), "\"USA\",2\r\n");
    EXPECT_EQ(load().value().dxccOf("USA"), 2);
    writeBytes(shared.file("ADIFCnt.txt"), "\"USA\",1\r\n");
    EXPECT_EQ(load().value().dxccOf("USA"), 1);

    // The first table found is the one used, damaged or not.
    writeBytes(shared.file("ADIFCnt.txt"), "\"USA\",x\r\n");
    Result<AdifCountryTable> damaged = load();
    ASSERT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.error().description,
        "ADIFCnt.txt, record 1: the DXCC number \"x\" is not a whole number from -32768 to 32767.");
}

TEST(AdifCountryTable, shippedTableNamesTheCountriesTheStateRulesUse)
{
    const Result<AdifCountryTable> table = parseAdifCountryTable(test::readBytes(BRINDLE_DATA_DIR "/ADIFCnt.txt"));
    ASSERT_TRUE(table.ok()) << table.error().description;
    EXPECT_EQ(table.value().dxccOf("USA"), 291);
    EXPECT_EQ(table.value().dxccOf("Alaska"), 6);
    EXPECT_EQ(table.value().dxccOf("Hawaii"), 110);
    EXPECT_EQ(table.value().dxccOf("Canada"), 1);
}

} // namespace
} // namespace brindle
