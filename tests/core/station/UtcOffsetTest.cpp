#include "station/UtcOffset.h"

#include <gtest/gtest.h>

#include <optional>

namespace brindle {
namespace {

TEST(UtcOffset, aMatchingOffsetAsksNothing)
{
    // Five hours behind UTC, with 5 stored.
    EXPECT_FALSE(utcOffsetCheck({ 2026, 2, 21, 19, 5, 30 }, { 2026, 2, 21, 14, 5, 30 }, 5));
    EXPECT_FALSE(utcOffsetCheck({ 2026, 2, 21, 8, 35, 0 }, { 2026, 2, 21, 14, 5, 0 }, -5.5f));
    // Across midnight and a year.
    EXPECT_FALSE(utcOffsetCheck({ 2027, 1, 1, 3, 0, 0 }, { 2026, 12, 31, 22, 0, 0 }, 5));
}

TEST(UtcOffset, aStaleOffsetIsProposedWithTheClocks)
{
    const auto proposal = utcOffsetCheck({ 2026, 2, 21, 19, 5, 30 }, { 2026, 2, 21, 14, 5, 2 }, 4);
    ASSERT_TRUE(proposal);
    EXPECT_EQ(proposal->recommended, 5);
    EXPECT_EQ(proposal->prompt,
        "Would you like to adjust the UTC offset in this program for your local time setting?\r\n\r\n"
        "Current System Time: 19:05\r\n\r\n"
        "Current Local Time: 14:05\r\n\r\n"
        "Recommended Offset Setting: 5\r\n\r\n"
        "Current Offset Setting: 4\r\n\r\n"
        "Please click OK to accept the recommended change or Cancel to keep the current setting.");
}

TEST(UtcOffset, minutesAreCountedAsBoundariesCrossed)
{
    // 14:59:59 local to 20:30:00 UTC crosses 331 minute boundaries: 5.52 hours.
    const auto proposal = utcOffsetCheck({ 2026, 2, 21, 20, 30, 0 }, { 2026, 2, 21, 14, 59, 59 }, 5.5f);
    ASSERT_TRUE(proposal);
    EXPECT_FLOAT_EQ(proposal->recommended, 5.52f);
    const auto india = utcOffsetCheck({ 2026, 2, 21, 8, 35, 0 }, { 2026, 2, 21, 14, 5, 0 }, 0);
    ASSERT_TRUE(india);
    EXPECT_FLOAT_EQ(india->recommended, -5.5f);
    EXPECT_NE(india->prompt.find("Recommended Offset Setting: -5.5\r\n"), std::string::npos);
}

TEST(UtcOffset, onlyANumericAnswerBecomesTheOffset)
{
    const std::pair<const char*, std::optional<float>> answers[] = {
        { "5", 5.0f },
        { " -3.5 ", -3.5f },
        { "0", 0.0f },
        { "", std::nullopt },
        { "abc", std::nullopt },
        { "5h", std::nullopt },
        { "100", std::nullopt },
    };
    for (const auto& [answer, offset] : answers) {
        EXPECT_EQ(utcOffsetFromAnswer(answer), offset) << answer;
    }
}

} // namespace
} // namespace brindle
