#include "reports/Cabrillo.h"

#include "common/ProgramTitle.h"
#include "log/LogFormat.h"

#include "support/LogSamples.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace brindle {
namespace {

using test::fixture;
using test::logOf;

CabrilloHeader station()
{
    CabrilloHeader header;
    header.createdBy = programNameFromTitle(mainWindowTitle());
    header.ownCall = "DL1ABC";
    header.power = "100";
    header.mode = "CW";
    header.claimedScore = "0";
    return header;
}

QsoRecord contact()
{
    return QsoRecord { "K1AB", "599", "MA", "599", "United States", "2005/03/05", "12:34:56", "20", "14.0257" };
}

std::vector<std::string> linesOf(const std::string& file)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(file.substr(start, end - start));
    }
    EXPECT_EQ(start, file.size()) << "the file ends without a line end";
    return lines;
}

std::vector<std::string> wordsOf(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

TEST(Cabrillo, goldenLogIsWrittenByteForByte)
{
    const ParsedLog parsed = parseLog(fixture("reports/cabrillo_log.txt"));
    ASSERT_FALSE(parsed.failure);
    CabrilloHeader header = station();
    header.claimedScore = "1620";
    header.section = "DX";
    header.operators = "DL1ABC DL2XYZ";
    header.category = { OperatorCategory::Multiple, TransmitterCategory::Two, std::nullopt, PowerCategory::High };
    header.club = "Rhein-Ruhr DX Association";
    header.name = "Hans Muster";
    header.addressLine1 = "Hauptstrasse 1";
    header.addressLine2 = "12345 Musterstadt";
    header.email = "dl1abc@example.org";
    header.soapbox = "Great conditions on 15 m, poor on 160.";

    EXPECT_EQ(cabrilloFile(parsed.log, header), fixture("reports/cabrillo_expected.log"));
}

TEST(Cabrillo, emptyLogIsTheHeaderWithoutSectionLineThenEndOfLog)
{
    EXPECT_EQ(cabrilloFile(ContestLog {}, station()),
        "START-OF-LOG: 2.0\r\n"
        "CREATED-BY: KORVA's Brindle 1.8 (DX Version)\r\n"
        "CONTEST: ARRL-DX-CW\r\n"
        "CALLSIGN: DL1ABC\r\n"
        "CATEGORY: SINGLE-OP ALL LOW\r\n"
        "CLAIMED-SCORE: 0\r\n"
        "OPERATORS: DL1ABC\r\n"
        "CLUB: \r\n"
        "NAME: \r\n"
        "ADDRESS: \r\n"
        "ADDRESS: \r\n"
        "ADDRESS: (e-mail) \r\n"
        "SOAPBOX: \r\n"
        "SOAPBOX:\r\n"
        "SOAPBOX:\r\n"
        "END-OF-LOG:\r\n");
}

TEST(Cabrillo, headerTrimsCallAndSectionButWritesTheAddressFieldsAsTyped)
{
    CabrilloHeader header = station();
    header.ownCall = "  DL1ABC ";
    header.section = " DX  ";
    header.operators = "   ";
    header.claimedScore = "12,345";
    header.club = " Club ";
    header.name = "Hans  Muster ";
    header.addressLine1 = " Line 1";
    header.addressLine2 = "Line 2 ";
    header.email = " a@b.example ";
    header.soapbox = " 73! ";
    const std::vector<std::string> lines = linesOf(cabrilloFile(logOf({ contact() }), header));
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[2], "ARRL-SECTION: DX");
    EXPECT_EQ(lines[4], "CALLSIGN: DL1ABC");
    EXPECT_EQ(lines[6], "CLAIMED-SCORE: 12,345");
    // Blanks alone name no operators.
    EXPECT_EQ(lines[7], "OPERATORS: DL1ABC");
    EXPECT_EQ(lines[8], "CLUB:  Club ");
    EXPECT_EQ(lines[9], "NAME: Hans  Muster ");
    EXPECT_EQ(lines[10], "ADDRESS:  Line 1");
    EXPECT_EQ(lines[11], "ADDRESS: Line 2 ");
    EXPECT_EQ(lines[12], "ADDRESS: (e-mail)  a@b.example ");
    EXPECT_EQ(lines[13], "SOAPBOX:  73! ");
    EXPECT_EQ(lines[16].substr(30, 7), "DL1ABC ");
}

TEST(Cabrillo, contestLineFollowsTheModeExactly)
{
    struct Case
    {
        const char* mode;
        const char* contest;
        const char* lineMode;
    };
    for (const Case& c : { Case { "CW", "CONTEST: ARRL-DX-CW", "CW" }, Case { "PH", "CONTEST: ARRL-DX-SSB", "PH" },
             Case { "cw", "CONTEST: ARRL-DX-SSB", "cw" } }) {
        SCOPED_TRACE(c.mode);
        CabrilloHeader header = station();
        header.mode = c.mode;
        const std::vector<std::string> lines = linesOf(cabrilloFile(logOf({ contact(), contact() }), header));
        ASSERT_EQ(lines.size(), 18u);
        EXPECT_EQ(lines[2], c.contest);
        EXPECT_EQ(lines[15].substr(11, 2), c.lineMode);
        EXPECT_EQ(lines[16].substr(11, 2), c.lineMode);
    }
}

TEST(Cabrillo, categoryNamesOperatorsTransmittersBandAndPower)
{
    struct Case
    {
        CabrilloCategory category;
        const char* text;
    };
    using O = OperatorCategory;
    using T = TransmitterCategory;
    using P = PowerCategory;
    const Case cases[] = {
        { {}, "SINGLE-OP ALL LOW" },
        { { O::Multiple, T::Two, std::nullopt, P::High }, "MULTI-TWO ALL HIGH" },
        { { O::Multiple, T::None, std::nullopt, P::Low }, "MULTI- ALL LOW" },
        { { O::Multiple, T::One, "40M", P::Qrp }, "MULTI-ONE 40M QRP" },
        { { O::Multiple, T::Multiple, std::nullopt, P::Low }, "MULTI-MULTI ALL LOW" },
        // The transmitters count only for a multi-operator entry.
        { { O::Single, T::Two, std::nullopt, P::High }, "SINGLE-OP ALL HIGH" },
        { { O::SingleAssisted, T::None, "20M", P::Qrp }, "SINGLE-OP-ASSISTED 20M QRP" },
        // A single band with its field left empty.
        { { O::Single, T::None, "", P::Low }, "SINGLE-OP  LOW" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(categoryText(c.category), c.text);
        CabrilloHeader header = station();
        header.category = c.category;
        EXPECT_EQ(linesOf(cabrilloFile(ContestLog {}, header))[4], std::string("CATEGORY: ") + c.text);
    }
}

TEST(Cabrillo, contactOnTwentyMetresStandsInItsColumns)
{
    const std::string line = cabrilloQsoLine(contact(), station());
    ASSERT_EQ(line.size(), 83u);
    EXPECT_EQ(line.substr(0, 4), "QSO:");
    EXPECT_EQ(line.substr(5, 5), "14000");
    EXPECT_EQ(line.substr(11, 2), "CW");
    EXPECT_EQ(line.substr(14, 10), "2005-03-05");
    EXPECT_EQ(line.substr(25, 4), "1234");
    EXPECT_EQ(line.substr(30, 6), "DL1ABC");
    EXPECT_EQ(line.substr(44, 3), "599");
    EXPECT_EQ(line.substr(48, 3), "100");
    EXPECT_EQ(line.substr(55, 4), "K1AB");
    EXPECT_EQ(line.substr(69, 3), "599");
    EXPECT_EQ(line.substr(73, 2), "MA");
    EXPECT_EQ(line.substr(75), "      \r\n");
}

// One row a way a contact line can come out; the other fields are those of contact() and station().
TEST(Cabrillo, contactLinesForOddValues)
{
    struct Case
    {
        const char* what;
        void (*change)(QsoRecord&, CabrilloHeader&);
        const char* line;
    };
    const Case cases[] = {
        { "160 m: the edge's leading blank stands in column 6", [](QsoRecord& r, CabrilloHeader&) { r.band = "160"; },
            "QSO:  1800 CW 2005-03-05 1234 DL1ABC        599 100    K1AB          599 MA      " },
        { "a band outside the six: no frequency, the mode still in column 12",
            [](QsoRecord& r, CabrilloHeader&) { r.band = "6"; },
            "QSO:       CW 2005-03-05 1234 DL1ABC        599 100    K1AB          599 MA      " },
        { "no band at all", [](QsoRecord& r, CabrilloHeader&) { r.band.clear(); },
            "QSO:       CW 2005-03-05 1234 DL1ABC        599 100    K1AB          599 MA      " },
        { "phone",
            [](QsoRecord& r, CabrilloHeader& h) {
                h.mode = "PH";
                r.rstSent = "59";
                r.rstRcvd = "57";
            },
            "QSO: 14000 PH 2005-03-05 1234 DL1ABC        59  100    K1AB          57  MA      " },
        { "date and time as the contact editor takes them",
            [](QsoRecord& r, CabrilloHeader&) {
                r.qsoDate = "2005/3/5";
                r.qsoTime = "9:05";
            },
            "QSO: 14000 CW 2005-03-05 0905 DL1ABC        599 100    K1AB          599 MA      " },
        { "time entered after the contest", [](QsoRecord& r, CabrilloHeader&) { r.qsoTime = "12:34"; },
            "QSO: 14000 CW 2005-03-05 1234 DL1ABC        599 100    K1AB          599 MA      " },
        { "a time that is none: its first two and its fourth and fifth characters",
            [](QsoRecord& r, CabrilloHeader&) { r.qsoTime = "25:61:00"; },
            "QSO: 14000 CW 2005-03-05 2561 DL1ABC        599 100    K1AB          599 MA      " },
        { "no time", [](QsoRecord& r, CabrilloHeader&) { r.qsoTime.clear(); },
            "QSO: 14000 CW 2005-03-05      DL1ABC        599 100    K1AB          599 MA      " },
        { "a date that names no day is written as it stands",
            [](QsoRecord& r, CabrilloHeader&) { r.qsoDate = "2005/02/30"; },
            "QSO: 14000 CW 2005/02/30 1234 DL1ABC        599 100    K1AB          599 MA      " },
        { "a long date pushes the time and the own call, the sent report is back in column 45",
            [](QsoRecord& r, CabrilloHeader&) { r.qsoDate = "March 5th, 2005"; },
            "QSO: 14000 CW March 5th, 2005 1234 DL1ABC   599 100    K1AB          599 MA      " },
        { "own call of 13 characters fits", [](QsoRecord&, CabrilloHeader& h) { h.ownCall = "VP2E/DL1ABCDE"; },
            "QSO: 14000 CW 2005-03-05 1234 VP2E/DL1ABCDE 599 100    K1AB          599 MA      " },
        { "own call of 14 characters keeps a blank before the report, the power follows",
            [](QsoRecord&, CabrilloHeader& h) { h.ownCall = "VP2E/DL1ABCDEF"; },
            "QSO: 14000 CW 2005-03-05 1234 VP2E/DL1ABCDEF 599 100   K1AB          599 MA      " },
        { "a four-digit sent report", [](QsoRecord& r, CabrilloHeader&) { r.rstSent = "5999"; },
            "QSO: 14000 CW 2005-03-05 1234 DL1ABC        5999 100   K1AB          599 MA      " },
        { "power of six characters fits", [](QsoRecord&, CabrilloHeader& h) { h.power = "1.5 KW"; },
            "QSO: 14000 CW 2005-03-05 1234 DL1ABC        599 1.5 KW K1AB          599 MA      " },
        { "a long power pushes the call, the received report is back in column 70",
            [](QsoRecord&, CabrilloHeader& h) { h.power = "1500 WATTS"; },
            "QSO: 14000 CW 2005-03-05 1234 DL1ABC        599 1500 WATTS K1AB      599 MA      " },
        { "call of 14 characters", [](QsoRecord& r, CabrilloHeader&) { r.call = "W1/DL1ABCDE/MM"; },
            "QSO: 14000 CW 2005-03-05 1234 DL1ABC        599 100    W1/DL1ABCDE/MM 599 MA     " },
        { "a four-digit received report", [](QsoRecord& r, CabrilloHeader&) { r.rstRcvd = "5999"; },
            "QSO: 14000 CW 2005-03-05 1234 DL1ABC        599 100    K1AB          5999 MA     " },
        { "section of seven characters ends in column 80", [](QsoRecord& r, CabrilloHeader&) { r.section = "NEWYORK"; },
            "QSO: 14000 CW 2005-03-05 1234 DL1ABC        599 100    K1AB          599 NEWYORK " },
        { "a longer section still ends with one blank", [](QsoRecord& r, CabrilloHeader&) { r.section = "MARYLAND"; },
            "QSO: 14000 CW 2005-03-05 1234 DL1ABC        599 100    K1AB          599 MARYLAND " },
        { "empty received fields leave their columns blank",
            [](QsoRecord& r, CabrilloHeader&) {
                r.call.clear();
                r.rstRcvd.clear();
                r.section.clear();
            },
            "QSO: 14000 CW 2005-03-05 1234 DL1ABC        599 100                              " },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QsoRecord record = contact();
        CabrilloHeader header = station();
        c.change(record, header);
        EXPECT_EQ(cabrilloQsoLine(record, header), std::string(c.line) + "\r\n");
    }
}

// Whatever the lengths, a reader splitting the line at blanks gets every value back whole and in order.
TEST(Cabrillo, everyValueComesBackWholeWhateverItsLength)
{
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int field = 0; field < 6; ++field) {
        for (std::size_t length = 1; length <= 20; ++length) {
            QsoRecord record = contact();
            CabrilloHeader header = station();
            const std::string value = letters.substr(0, length);
            std::string* const targets[]
                = { &header.ownCall, &record.rstSent, &header.power, &record.call, &record.rstRcvd, &record.section };
            *targets[field] = value;
            const std::string line = cabrilloQsoLine(record, header);
            SCOPED_TRACE(line);
            const std::vector<std::string> expected = { "QSO:", "14000", "CW", "2005-03-05", "1234", header.ownCall,
                record.rstSent, header.power, record.call, record.rstRcvd, record.section };
            EXPECT_EQ(wordsOf(line), expected);
            EXPECT_TRUE(line.ends_with(" \r\n"));
            EXPECT_GE(line.size(), 83u);
        }
    }
}

TEST(Cabrillo, proposedFileNameIsTheCallsStem)
{
    EXPECT_EQ(cabrilloFileName("DL1ABC"), "DL1ABC.log");
    EXPECT_EQ(cabrilloFileName("  DL1ABC/P "), "DL1ABC.log");
    EXPECT_EQ(cabrilloFileName(""), "YourCall.log");
}

} // namespace
} // namespace brindle
