#include "station/DefaultData.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

using test::fixture;

DefaultData distributed()
{
    DefaultData d;
    d.ownCall = "DL1ABC";
    d.power = "100";
    d.utcOffsetHours = -1;
    d.mode = "CW";
    d.band = "20";
    d.totalOnSeconds = 5423.5f;
    d.country = "Fed. Rep. of Germany";
    d.continent = "EU";
    d.longitude = -13.4f;
    d.latitude = 52.5f;
    d.formSizePercent = 100;
    d.voiceNavLevel = 0;
    d.rigName = "None";
    d.taskbarOption = 0;
    d.listPreviousContacts = 1;
    d.workedColour = 255;
    d.remainingColour = 16711680;
    return d;
}

std::vector<std::string> linesOf(const std::string& content)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = content.find("\r\n", start);
        lines.push_back(content.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string content;
    for (const std::string& line : lines) {
        content += line + "\r\n";
    }
    return content;
}

// The distributed file with one line (1 to 17) replaced.
std::string withLine(int number, const std::string& replacement)
{
    std::vector<std::string> lines = linesOf(fixture("station/inprefDX.txt"));
    lines.at(static_cast<std::size_t>(number - 1)) = replacement;
    return joinLines(lines);
}

TEST(DefaultData, readsTheDistributedFile)
{
    Result<DefaultData> parsed = parseDefaultData(fixture("station/inprefDX.txt"));
    ASSERT_TRUE(parsed.ok()) << parsed.error().description;
    EXPECT_EQ(parsed.value(), distributed());
}

TEST(DefaultData, writesSeventeenCrLfLinesThatReadBackTheSame)
{
    for (const char* name : { "station/inprefDX.txt", "station/inprefDX_no_call.txt" }) {
        const std::string content = fixture(name);
        Result<DefaultData> parsed = parseDefaultData(content);
        ASSERT_TRUE(parsed.ok()) << name << ": " << parsed.error().description;
        const std::string written = formatDefaultData(parsed.value());
        EXPECT_EQ(written, content) << name;
        EXPECT_EQ(linesOf(written).size(), 17u) << name;
    }
}

TEST(DefaultData, savingAfterABandChangeRewritesEveryLine)
{
    DefaultData data = distributed();
    data.band = "40";
    EXPECT_EQ(formatDefaultData(data), withLine(5, "\"40\""));
}

TEST(DefaultData, textIsWrittenWithoutQuotesOrLineEndsItCannotHold)
{
    DefaultData data = distributed();
    data.ownCall = "DL1\"ABC";
    data.rigName = "Yaesu\r\nFT-991";
    const std::string written = formatDefaultData(data);
    EXPECT_EQ(linesOf(written).at(0), "\"DL1ABC\"");
    EXPECT_EQ(linesOf(written).at(12), "\"YaesuFT-991\"");
    EXPECT_EQ(linesOf(written).size(), 17u);
}

TEST(DefaultData, readsNumbersInQuotesAndLfLineEnds)
{
    const std::vector<std::string> quotedNumbers = {
        "\"DL1ABC\"",
        "\"100\"",
        "\"-1\"",
        "\"CW\"",
        "\"20\"",
        "\"5423.5\"",
        "\"Fed. Rep. of Germany\"",
        "\"EU\"",
        "\"-13.4\"",
        "\"52.5\"",
        "\"100\"",
        "\"0\"",
        "\"None\"",
        "\"0\"",
        "\"1\"",
        "\"255\"",
        "\"16711680\"",
    };
    Result<DefaultData> quoted = parseDefaultData(joinLines(quotedNumbers));
    ASSERT_TRUE(quoted.ok()) << quoted.error().description;
    EXPECT_EQ(quoted.value(), distributed());

    std::string lfOnly;
    for (const std::string& line : linesOf(fixture("station/inprefDX.txt"))) {
        lfOnly += line + "\n";
    }
    Result<DefaultData> unix = parseDefaultData(lfOnly);
    ASSERT_TRUE(unix.ok()) << unix.error().description;
    EXPECT_EQ(unix.value(), distributed());
}

TEST(DefaultData, failureNamesTheFirstBadLine)
{
    struct Case
    {
        const char* name;
        std::string content;
        int badLine;
    };
    std::vector<std::string> sixteen = linesOf(fixture("station/inprefDX.txt"));
    sixteen.pop_back();
    const std::vector<Case> cases = {
        { "emptyFile", "", 1 },
        { "sixteenLines", joinLines(sixteen), 17 },
        { "textWhereUtcOffsetBelongs", withLine(3, "\"minus one\""), 3 },
        { "textWhereOperatingTimeBelongs", withLine(6, "abc"), 6 },
        { "numberWithTrailingText", withLine(9, "-13.4E"), 9 },
        { "emptyLatitude", withLine(10, ""), 10 },
        { "formSize256", withLine(11, "256"), 11 },
        { "negativeVoiceLevel", withLine(12, "-1"), 12 },
        { "taskbarNotANumber", withLine(14, "\"yes\""), 14 },
        { "fractionalColour", withLine(16, "255.5"), 16 },
        { "colourTooLarge", withLine(17, "4294967296"), 17 },
        { "strayQuoteInCall", withLine(1, "\"DL1\"ABC\""), 1 },
        { "unterminatedCountry", withLine(7, "\"Fed. Rep. of Germany"), 7 },
    };
    for (const Case& c : cases) {
        Result<DefaultData> parsed = parseDefaultData(c.content);
        ASSERT_FALSE(parsed.ok()) << c.name;
        EXPECT_NE(parsed.error().description.find("value " + std::to_string(c.badLine) + " "), std::string::npos)
            << c.name << ": " << parsed.error().description;
    }
}

TEST(DefaultData, bytesAcceptTheirWholeRange)
{
    Result<DefaultData> parsed = parseDefaultData(withLine(11, "0"));
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value().formSizePercent, 0);
    parsed = parseDefaultData(withLine(11, "255"));
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value().formSizePercent, 255);
}

TEST(DefaultData, formatSingleWritesTheShortestTextThatReadsBack)
{
    struct Case
    {
        float value;
        std::string text;
    };
    const std::vector<Case> cases = {
        { 5.0f, "5" },
        { -4.5f, "-4.5" },
        { 0.0f, "0" },
        { 0.1f, "0.1" },
        { -13.4f, "-13.4" },
        { 5423.5f, "5423.5" },
        { 3600.0f, "3600" },
        { 172800.0f, "172800" },
        { 10.5f, "10.5" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatSingle(c.value), c.text) << c.value;
    }
}

TEST(DefaultData, formatSingleNeverWritesAnExponent)
{
    // Operating time grows past 100000 seconds in a full contest; the file's numbers are plain decimals.
    struct Case
    {
        float value;
        std::string text;
    };
    const std::vector<Case> cases = {
        { 100000.0f, "100000" },
        { 200000.0f, "200000" },
        { 10000000.0f, "10000000" },
        { 0.0001f, "0.0001" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatSingle(c.value), c.text) << c.value;
    }
}

} // namespace
} // namespace brindle
