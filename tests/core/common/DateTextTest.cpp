#include "common/DateText.h"
#include "station/DefaultData.h"

#include "support/Printers.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace brindle {
namespace {

TEST(DateText, readsTheDatesAnOperatorTypes)
{
    const struct
    {
        const char* text;
        std::optional<DateTime> date;
    } cases[] = {
        { "2026/02/21", DateTime { 2026, 2, 21, 0, 0, 0 } },
        { "2026/2/1", DateTime { 2026, 2, 1, 0, 0, 0 } },
        { " 2024/02/29 ", DateTime { 2024, 2, 29, 0, 0, 0 } },
        { "2000/02/29", DateTime { 2000, 2, 29, 0, 0, 0 } },
        { "1900/02/29", std::nullopt },
        { "2025/02/29", std::nullopt },
        { "2026/04/31", std::nullopt },
        { "2026/13/01", std::nullopt },
        { "2026/00/01", std::nullopt },
        { "2026/01/00", std::nullopt },
        { "0000/01/01", std::nullopt },
        { "26/02/21", std::nullopt },
        { "21/02/2026", std::nullopt },
        { "2026/02/021", std::nullopt },
        { "2026//21", std::nullopt },
        { "20260221", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readDate(c.text), c.date) << c.text;
    }
}

TEST(DateText, readsTheTimesAnOperatorTypes)
{
    const struct
    {
        const char* text;
        std::optional<DateTime> time;
    } cases[] = {
        { "9:34", DateTime { 0, 0, 0, 9, 34, 0 } },
        { "09:34", DateTime { 0, 0, 0, 9, 34, 0 } },
        { "23:59:59", DateTime { 0, 0, 0, 23, 59, 59 } },
        { "0:00", DateTime { 0, 0, 0, 0, 0, 0 } },
        { "25:00", std::nullopt },
        { "24:00", std::nullopt },
        { "12:60", std::nullopt },
        { "12:30:60", std::nullopt },
        { "934", std::nullopt },
        { "12:", std::nullopt },
        { ":30", std::nullopt },
        { "123:00", std::nullopt },
        { "12:30:00:00", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readTimeOfDay(c.text), c.time) << c.text;
    }
}

TEST(DateText, writesTheLogsDateAndTime)
{
    const DateTime t { 2026, 2, 1, 9, 4, 5 };
    EXPECT_EQ(formatDate(t), "2026/02/01");
    EXPECT_EQ(formatTime(t), "09:04:05");
    EXPECT_EQ(formatHourMinute(t), "09:04");
}

TEST(DateArithmetic, addHoursCarriesAcrossDaysMonthsAndYears)
{
    struct Case
    {
        DateTime local;
        double hours;
        DateTime utc;
    };
    const Case cases[] = {
        { { 2026, 2, 21, 14, 5, 30 }, 0, { 2026, 2, 21, 14, 5, 30 } },
        { { 2026, 2, 21, 23, 30, 0 }, 1, { 2026, 2, 22, 0, 30, 0 } },
        { { 2026, 2, 28, 23, 0, 0 }, 1.5, { 2026, 3, 1, 0, 30, 0 } },
        { { 2024, 2, 28, 23, 0, 0 }, 1.5, { 2024, 2, 29, 0, 30, 0 } },
        { { 2000, 2, 28, 12, 0, 0 }, 24, { 2000, 2, 29, 12, 0, 0 } },
        { { 1900, 2, 28, 12, 0, 0 }, 24, { 1900, 3, 1, 12, 0, 0 } },
        { { 2026, 12, 31, 22, 0, 0 }, 5.5, { 2027, 1, 1, 3, 30, 0 } },
        { { 2026, 4, 30, 20, 15, 0 }, 5.75, { 2026, 5, 1, 2, 0, 0 } },
        // West of Greenwich: UTC is ahead, so the offset is positive; east of it, negative.
        { { 2026, 3, 1, 3, 0, 0 }, -9.5, { 2026, 2, 28, 17, 30, 0 } },
        { { 2024, 3, 1, 0, 0, 0 }, -0.5, { 2024, 2, 29, 23, 30, 0 } },
        { { 2027, 1, 1, 0, 0, 5 }, -14, { 2026, 12, 31, 10, 0, 5 } },
        // Parts of a second are cut off toward zero, whichever the sign.
        { { 2026, 2, 21, 14, 5, 30 }, 0.0002, { 2026, 2, 21, 14, 5, 30 } },
        { { 2026, 2, 21, 14, 5, 30 }, -0.0002, { 2026, 2, 21, 14, 5, 30 } },
        { { 2026, 2, 21, 0, 0, 0 }, -1.0 / 3600 - 0.0001, { 2026, 2, 20, 23, 59, 59 } },
        // An offset read as a single-precision number is not exactly 5.3 hours.
        { { 2026, 2, 21, 0, 0, 0 }, static_cast<double>(5.3f), { 2026, 2, 21, 5, 18, 0 } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(addHours(c.local, c.hours), c.utc) << c.hours;
    }
}

TEST(DateArithmetic, secondsBetweenCountsCalendarSeconds)
{
    struct Case
    {
        DateTime a;
        DateTime b;
        long long seconds;
    };
    const Case cases[] = {
        { { 2026, 2, 21, 14, 5, 30 }, { 2026, 2, 21, 14, 5, 30 }, 0 },
        { { 2026, 2, 21, 23, 59, 59 }, { 2026, 2, 22, 0, 0, 0 }, 1 },
        { { 2026, 2, 22, 0, 0, 0 }, { 2026, 2, 21, 23, 59, 59 }, -1 },
        { { 2026, 2, 28, 0, 0, 0 }, { 2026, 3, 1, 0, 0, 0 }, 86400 },
        { { 2024, 2, 28, 0, 0, 0 }, { 2024, 3, 1, 0, 0, 0 }, 2 * 86400 },
        { { 2025, 1, 1, 0, 0, 0 }, { 2026, 1, 1, 0, 0, 0 }, 365 * 86400 },
        { { 2024, 1, 1, 0, 0, 0 }, { 2025, 1, 1, 0, 0, 0 }, 366 * 86400 },
        { { 2000, 1, 1, 0, 0, 0 }, { 2100, 1, 1, 0, 0, 0 }, 36525LL * 86400 },
        { { 1970, 1, 1, 0, 0, 0 }, { 1969, 12, 31, 23, 0, 0 }, -3600 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(secondsBetween(c.a, c.b), c.seconds);
    }
}

TEST(DateArithmetic, addHoursAndSecondsBetweenAgreeOnEveryDay)
{
    // Noon of every day from 1999 to 2101, moved by offsets that cross midnight either way.
    DateTime day { 1999, 1, 1, 12, 0, 0 };
    int days = 0;
    while (day.year < 2102) {
        for (double hours : { -13.75, -0.5, 11.5, 14.0 }) {
            const DateTime moved = addHours(day, hours);
            ASSERT_EQ(secondsBetween(day, moved), static_cast<long long>(hours * 3600)) << days;
            ASSERT_EQ(addHours(moved, -hours), day) << days;
        }
        const DateTime next = addHours(day, 24);
        ASSERT_EQ(secondsBetween(day, next), 86400);
        ASSERT_TRUE(next.day == day.day + 1 || (next.day == 1 && (next.month == day.month % 12 + 1))) << days;
        day = next;
        ++days;
    }
    EXPECT_EQ(days, 103 * 365 + 25);
}

TEST(DateArithmetic, anOffsetBeyondAnyClockStillMovesTheClockItsWay)
{
    const Result<DefaultData> defaults = parseDefaultData(test::fixture("station/utc_offset_beyond_any_clock.txt"));
    ASSERT_TRUE(defaults.ok());
    const DateTime local { 2026, 2, 21, 14, 5, 30 };

    const DateTime ahead = addHours(local, defaults.value().utcOffsetHours);
    EXPECT_GT(ahead.year, local.year);
    const DateTime behind = addHours(local, -defaults.value().utcOffsetHours);
    EXPECT_LT(behind.year, local.year);
    EXPECT_GT(behind.year, -10000);
}

} // namespace
} // namespace brindle
