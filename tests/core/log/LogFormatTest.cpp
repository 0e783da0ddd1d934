#include "log/LogFormat.h"

#include "support/LogSamples.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace brindle {
namespace {

using test::fixture;

QsoRecord record(std::string call, std::string rstRcvd, std::string section, std::string rstSent, std::string country,
    std::string date, std::string time, std::string band, std::string frequency)
{
    return QsoRecord { std::move(call), std::move(rstRcvd), std::move(section), std::move(rstSent), std::move(country),
        std::move(date), std::move(time), std::move(band), std::move(frequency) };
}

const QsoRecord k1ab = record("K1AB", "599", "MA", "599", "United States", "2026/02/21", "14:05:30", "20", "");
const QsoRecord ve3xyz = record("VE3XYZ", "579", "ON", "599", "Canada", "2026/02/21", "14:07:02", "20", "14.0257");
const QsoRecord w0aaa = record("W0AAA", "599", "CO", "599", "United States", "2026/02/22", "03:41:17", "80", "3.5251");

std::vector<QsoRecord> recordsOf(const ParsedLog& parsed)
{
    return parsed.log.records();
}

TEST(LogFormat, formatRecordQuotesEveryFieldAndEndsWithCrLf)
{
    EXPECT_EQ(formatRecord(k1ab),
        "\"K1AB\",\"599\",\"MA\",\"599\",\"United States\",\"2026/02/21\",\"14:05:30\",\"20\",\"\"\r\n");
}

TEST(LogFormat, formatRecordQuotesNumbersAndEmptyFieldsAlike)
{
    EXPECT_EQ(formatRecord(QsoRecord {}), "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
    EXPECT_EQ(formatRecord(record("9A1A", "5", "NY", "59", "", "2026/02/21", "14:05", "160", "1.8305")),
        "\"9A1A\",\"5\",\"NY\",\"59\",\"\",\"2026/02/21\",\"14:05\",\"160\",\"1.8305\"\r\n");
}

TEST(LogFormat, formatRecordDropsQuotesAndLineEndsInsideFields)
{
    const QsoRecord damaged
        = record("K1\"AB", "5\r99", "M\nA", "\"599\"", "United\r\nStates", "2026/02/21", "14:05:30", "20", "14\"");
    EXPECT_EQ(formatRecord(damaged),
        formatRecord(record("K1AB", "599", "MA", "599", "UnitedStates", "2026/02/21", "14:05:30", "20", "14")));
}

TEST(LogFormat, formatLogWritesRecordsInRecordNumberOrder)
{
    ContestLog log;
    log.append(k1ab);
    log.append(ve3xyz);
    log.append(w0aaa);
    EXPECT_EQ(formatLog(log), fixture("log/three_contacts.txt"));
    EXPECT_EQ(formatLog(ContestLog {}), "");
}

TEST(LogFormat, parseLogReadsNineFieldsPerRecord)
{
    const ParsedLog parsed = parseLog(fixture("log/three_contacts.txt"));
    ASSERT_FALSE(parsed.failure.has_value());
    EXPECT_EQ(recordsOf(parsed), (std::vector<QsoRecord> { k1ab, ve3xyz, w0aaa }));
}

TEST(LogFormat, writtenLogReadsBackUnchanged)
{
    const ContestLog log = test::sampleLog(1000);
    const ParsedLog parsed = parseLog(formatLog(log));
    ASSERT_FALSE(parsed.failure.has_value());
    EXPECT_EQ(parsed.log, log);
    EXPECT_EQ(formatLog(parsed.log), formatLog(log));
}

TEST(LogFormat, fileReadsAndWritesBackByteForByte)
{
    for (const char* name : { "log/three_contacts.txt", "log/comma_inside_country.txt", "log/eight_bit_country.txt",
             "log/six_metre_record.txt" }) {
        const std::string content = fixture(name);
        const ParsedLog parsed = parseLog(content);
        ASSERT_FALSE(parsed.failure.has_value()) << name;
        EXPECT_EQ(formatLog(parsed.log), content) << name;
    }
}

TEST(LogFormat, commaInsideQuotedCountryIsPartOfTheName)
{
    const ParsedLog parsed = parseLog(fixture("log/comma_inside_country.txt"));
    ASSERT_FALSE(parsed.failure.has_value());
    ASSERT_EQ(parsed.log.count(), 2);
    EXPECT_EQ(parsed.log.record(2).country, "United States, Lower 48");
    EXPECT_EQ(parsed.log.record(2).qsoDate, "2026/02/21");
    EXPECT_EQ(parsed.log.record(2).band, "15");
}

TEST(LogFormat, eightBitCountryNameComesBackAsRead)
{
    const ParsedLog parsed = parseLog(fixture("log/eight_bit_country.txt"));
    ASSERT_FALSE(parsed.failure.has_value());
    ASSERT_EQ(parsed.log.count(), 1);
    EXPECT_EQ(parsed.log.record(1).country, "\xC5land Islands");
}

TEST(LogFormat, otherwiseReadableFilesGiveTheSameRecords)
{
    for (const char* name : { "log/blank_lines_between_records.txt", "log/lf_line_ends.txt" }) {
        const ParsedLog parsed = parseLog(fixture(name));
        ASSERT_FALSE(parsed.failure.has_value()) << name;
        EXPECT_EQ(recordsOf(parsed), (std::vector<QsoRecord> { k1ab, ve3xyz, w0aaa })) << name;
    }
    const ParsedLog noFinalLineEnd = parseLog(fixture("log/no_final_line_end.txt"));
    ASSERT_FALSE(noFinalLineEnd.failure.has_value());
    EXPECT_EQ(recordsOf(noFinalLineEnd), (std::vector<QsoRecord> { k1ab, ve3xyz }));
}

TEST(LogFormat, handEditedUnquotedFieldsAreTrimmed)
{
    const ParsedLog parsed = parseLog(fixture("log/hand_edited_unquoted.txt"));
    ASSERT_FALSE(parsed.failure.has_value());
    EXPECT_EQ(recordsOf(parsed), (std::vector<QsoRecord> { k1ab, ve3xyz }));
}

// A hand-edited log or a restored archive may hold a line break inside quotes; the exports write each
// contact on one line, so the record is read as the writer would have stored it.
TEST(LogFormat, lineBreaksInsideQuotedFieldsAreDroppedAsTheWriterDrops)
{
    const ParsedLog parsed = parseLog(fixture("log/line_break_inside_field.txt"));
    ASSERT_FALSE(parsed.failure.has_value());
    EXPECT_EQ(recordsOf(parsed), (std::vector<QsoRecord> { k1ab, ve3xyz, w0aaa }));
    EXPECT_EQ(formatLog(parsed.log), fixture("log/three_contacts.txt"));
}

TEST(LogFormat, emptyOrBlankFileIsAnEmptyLog)
{
    for (const char* content : { "", "\r\n", "\r\n\r\n  \r\n", "\n" }) {
        const ParsedLog parsed = parseLog(content);
        EXPECT_FALSE(parsed.failure.has_value());
        EXPECT_EQ(parsed.log.count(), 0);
    }
}

TEST(LogFormat, damagedFilesFailWithTheirReason)
{
    struct Case
    {
        const char* fixture;
        LogLoadFailure failure;
    };
    const std::vector<Case> cases = {
        { "log/quote_inside_field.txt", LogLoadFailure::StrayQuote },
        { "log/unterminated_quote.txt", LogLoadFailure::StrayQuote },
        { "log/eight_fields_last_record.txt", LogLoadFailure::ShortRecord },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseLog(fixture(c.fixture)).failure, std::optional<LogLoadFailure>(c.failure)) << c.fixture;
    }
}

TEST(LogFormat, twelveThousandRecordsLoad)
{
    const std::string content = formatLog(test::sampleLog(ContestLog::Capacity));
    const ParsedLog parsed = parseLog(content);
    EXPECT_FALSE(parsed.failure.has_value());
    EXPECT_EQ(parsed.log.count(), 12000);
}

TEST(LogFormat, twelveThousandAndOneRecordsAreTooMany)
{
    const std::string content = formatLog(test::sampleLog(ContestLog::Capacity)) + formatRecord(k1ab);
    EXPECT_EQ(parseLog(content).failure, std::optional<LogLoadFailure>(LogLoadFailure::TooManyRecords));
}

} // namespace
} // namespace brindle
