#include "keying/WinKeySettings.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

TEST(WinKeySettingsFile, EightLinesReadBackAsWritten)
{
    WinKeySettings settings;
    settings.port = 4;
    settings.speed = "28";
    settings.weight = "45";
    settings.leadIn = "3";
    settings.tail = "12";
    settings.ratio = "55";
    settings.pinConfiguration = WinKeyPins::Pin5Key;
    settings.keyerMode = WinKeyModes::Ultimatic;
    const std::string written = formatWinKeySettings(settings);
    EXPECT_EQ(written, "4\r\n\"28\"\r\n\"45\"\r\n\"3\"\r\n\"12\"\r\n\"55\"\r\n8\r\n32\r\n");
    EXPECT_EQ(parseWinKeySettings(written), settings);
}

TEST(WinKeySettingsFile, WhatIsMissingOrDamagedKeepsItsDefault)
{
    struct Case
    {
        const char* name;
        const char* content;
        int port;
        const char* ratio;
        int pins;
        int mode;
    } cases[] = {
        { "six lines: no pins or mode", "2\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"40\"\r\n", 2, "40", 6, 0 },
        { "seven lines", "2\n\"20\"\n\"50\"\n\"0\"\n\"0\"\n\"40\"\n5\n", 2, "40", 5, 0 },
        { "ends early", "2\r\n\"20\"\r\n", 2, "50", 6, 0 },
        { "a port that is no number stops the reading", "COM3\r\n\"20\"\r\n", 0, "50", 6, 0 },
        { "pins that are no number", "2\n\"20\"\n\"50\"\n\"0\"\n\"0\"\n\"40\"\nPTT\n16\n", 2, "40", 6, 0 },
        { "empty", "", 0, "50", 6, 0 },
    };
    for (const Case& c : cases) {
        const WinKeySettings read = parseWinKeySettings(c.content);
        EXPECT_EQ(read.port, c.port) << c.name;
        EXPECT_EQ(read.ratio, c.ratio) << c.name;
        EXPECT_EQ(read.pinConfiguration, c.pins) << c.name;
        EXPECT_EQ(read.keyerMode, c.mode) << c.name;
    }
}

TEST(WinKeySettingsFile, AQuoteTypedIntoAFieldCannotBreakTheFile)
{
    WinKeySettings settings;
    settings.speed = "2\"0";
    settings.pinConfiguration = WinKeyPins::Ptt;
    const WinKeySettings read = parseWinKeySettings(formatWinKeySettings(settings));
    EXPECT_EQ(read.speed, "20");
    EXPECT_EQ(read.pinConfiguration, WinKeyPins::Ptt) << "the values after it are still read";
}

TEST(WinKeyFieldChecks, InRangeIsSentOutOfRangeStaysNonsenseGivesWay)
{
    using Check = WinKeyFieldCheck (*)(std::string_view);
    struct Case
    {
        Check check;
        const char* text;
        std::optional<int> sent;
        std::optional<std::string> replacement;
    } cases[] = {
        { checkWinKeyRatio, "32", {}, {} },
        { checkWinKeyRatio, "33", 33, {} },
        { checkWinKeyRatio, "66", 66, {} },
        { checkWinKeyRatio, "67", {}, {} },
        { checkWinKeyRatio, "x", {}, "50" },
        { checkWinKeyWeight, "0", 0, {} },
        { checkWinKeyWeight, "99", 99, {} },
        { checkWinKeyWeight, "100", {}, {} },
        { checkWinKeyWeight, "", {}, "50" },
        { checkWinKeySpeed, " 25 ", 25, {} },
        { checkWinKeySpeed, "12.5", 12, {} }, // halves go to the even neighbour
        { checkWinKeySpeed, "13.5", 14, {} },
        { checkWinKeySpeed, "255", {}, {} },
        { checkWinKeySpeed, "256", {}, "18" }, // no byte
        { checkWinKeySpeed, "-1", {}, "18" },
        { checkWinKeySpeed, "fast", {}, "18" },
    };
    for (const Case& c : cases) {
        const WinKeyFieldCheck result = c.check(c.text);
        EXPECT_EQ(result.send ? std::optional<int>(*result.send) : std::nullopt, c.sent) << c.text;
        EXPECT_EQ(result.replacement, c.replacement) << c.text;
    }
}

TEST(WinKeyFieldChecks, LeadInAndTailGoTogetherOrTheLeftFieldBecomesZero)
{
    const WinKeyLeadTailCheck both = checkWinKeyLeadInAndTail("5", "20");
    ASSERT_TRUE(both.send);
    EXPECT_EQ(both.send->first, 5);
    EXPECT_EQ(both.send->second, 20);
    EXPECT_FALSE(both.resetLeftField);

    const WinKeyLeadTailCheck badTail = checkWinKeyLeadInAndTail("5", "x");
    EXPECT_FALSE(badTail.send);
    EXPECT_TRUE(badTail.resetLeftField);
    EXPECT_FALSE(checkWinKeyLeadInAndTail("300", "0").send) << "no byte";
}

TEST(WinKeyFieldChecks, ThePortIsAByteOrNone)
{
    EXPECT_EQ(checkWinKeyPort("3").port, 3);
    EXPECT_FALSE(checkWinKeyPort("3").replacement);
    EXPECT_EQ(checkWinKeyPort("300").port, 0);
    EXPECT_FALSE(checkWinKeyPort("300").replacement) << "a number stays as typed";
    EXPECT_EQ(checkWinKeyPort("ttyUSB0").port, 0);
    EXPECT_EQ(checkWinKeyPort("ttyUSB0").replacement, "0");
}

} // namespace
} // namespace brindle
