#include "log/Statistics.h"

#include "common/Text.h"

#include "support/LogSamples.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brindle {

namespace {

using test::logOf;

QsoRecord contact(std::string call, std::string section, std::string band, std::string date = "2026/02/21",
    std::string time = "14:05:30")
{
    QsoRecord record;
    record.call = std::move(call);
    record.rstRcvd = "599";
    record.section = std::move(section);
    record.rstSent = "599";
    record.country = "United States";
    record.qsoDate = std::move(date);
    record.qsoTime = std::move(time);
    record.band = std::move(band);
    return record;
}

BandTallies talliesOf(const ContestLog& log)
{
    BandTallies tallies;
    EXPECT_TRUE(tallies.rebuild(log));
    return tallies;
}

// --- Duplicates -----------------------------------------------------------------------------------

// K1AB worked on 40 without a section, then on 15 and twice on 20 (an edited log can hold a duplicate),
// then on 10; W2XY only on 20.
ContestLog k1abOnEveryBandButEighty()
{
    return logOf({
        contact("K1AB", "", "40"),
        contact("W2XY", "NY", "20"),
        contact("K1AB", "MA", "15"),
        contact("K1AB", "CT", "20"),
        contact("K1AB", "RI", "20"),
        contact("K1AB", "VT", "10"),
    });
}

struct DupeCase
{
    const char* call;
    const char* band;
    std::optional<int> duplicate;
    std::optional<std::string> section;
    std::vector<int> previous;
};

TEST(DuplicateCheck, findsTheFirstContactWithTheCallOnTheCurrentBand)
{
    const ContestLog log = k1abOnEveryBandButEighty();
    const DupeCase cases[] = {
        // Two contacts on other bands come before the duplicate; the list stops at the duplicate.
        { "K1AB", "20", 4, "MA", { 1, 3, 4 } },
        { "k1ab", "20", 4, "MA", { 1, 3, 4 } },
        { "K1AB", "10", 6, "MA", { 1, 3, 4, 5, 6 } },
        // The very first record is the duplicate, and it has no section to give.
        { "K1AB", "40", 1, std::nullopt, { 1 } },
        { "K1AB", "80", std::nullopt, "MA", { 1, 3, 4, 5, 6 } },
        // Worked on 20 only: no duplicate on 15, but the section comes from the 20 m contact.
        { "W2XY", "15", std::nullopt, "NY", { 2 } },
        { "W2XY", "20", 2, "NY", { 2 } },
        // Only the whole call counts.
        { "K1A", "20", std::nullopt, std::nullopt, {} },
        { "K1ABC", "20", std::nullopt, std::nullopt, {} },
    };
    for (const DupeCase& c : cases) {
        const DupeCheckResult result = duplicateCheck(log, c.call, c.band);
        EXPECT_EQ(result.duplicate, c.duplicate) << c.call << " on " << c.band;
        EXPECT_EQ(result.section, c.section) << c.call << " on " << c.band;
        EXPECT_EQ(result.previous, c.previous) << c.call << " on " << c.band;
    }
}

TEST(DuplicateCheck, anEmptyLogHoldsNoDuplicate)
{
    const DupeCheckResult result = duplicateCheck(ContestLog(), "K1AB", "20");
    EXPECT_FALSE(result.duplicate);
    EXPECT_FALSE(result.section);
    EXPECT_TRUE(result.previous.empty());
}

TEST(DuplicateCheck, messageNamesTheRecordAsStored)
{
    EXPECT_EQ(duplicateMessage(contact("K1AB", "MA", "20", "2026/02/21", "14:05:30"), 7),
        "Duplicate K1AB MA 2026/02/21 14:05:30 ON 20  Rec# 7");
    EXPECT_EQ(duplicateMessage(contact("VE8AA", "nwt", "160", "2026/02/22", "03:04"), 11873),
        "Duplicate VE8AA nwt 2026/02/22 03:04 ON 160  Rec# 11873");
}

// --- Partial-call search ----------------------------------------------------------------------------

// Three calls beginning "K1AB" on 20, one of them logged in lower case, and one on 15 that must not show.
ContestLog k1abPrefixOnTwentyAndFifteen()
{
    return logOf({
        contact("K1ABC", "MA", "20"),
        contact("K1A", "CT", "20"),
        contact("W2XY", "NY", "20"),
        contact("K1ABD", "ME", "15"),
        contact("k1abz", "RI", "20"),
        contact("N1ABC", "VT", "20"),
    });
}

struct PartialCase
{
    const char* field;
    int key;
    bool partialOn;
    bool timeOn;
    bool searched;
    const char* list;
    std::optional<std::string> dialog;
    bool beep;
};

TEST(PartialCallSearch, listsCurrentBandMatchesAndSetsTheMessageLine)
{
    const ContestLog log = k1abPrefixOnTwentyAndFifteen();
    const std::string possible(PossibleDuplicateText);
    const std::string notNumeric(NotNumericText);
    const PartialCase cases[] = {
        // The fourth character: both 20 m calls, the later-logged first, and a warning.
        { "K1A", 'B', true, false, true, "k1abz K1ABC ", possible, false },
        { "k1a", 'B', true, false, true, "k1abz K1ABC ", possible, false },
        { "K1AB", 'Z', true, false, true, "k1abz ", possible, false },
        // The third character shows the list but no warning; the third-character check clears the line.
        { "K1", 'A', true, false, true, "k1abz K1A K1ABC ", " ", false },
        { "K1", 'A', true, true, true, "k1abz K1A K1ABC ", " ", false },
        // Nothing matches: the line is only cleared while the clock runs.
        { "K1AB", 'Q', true, false, true, "", std::nullopt, false },
        { "K1AB", 'Q', true, true, true, "", " ", false },
        { "", 'K', true, false, true, "k1abz K1A K1ABC ", std::nullopt, false },
        // Search off: nothing listed, but the line is handled as for an empty list.
        { "K1A", 'B', false, false, false, "", std::nullopt, false },
        { "K1A", 'B', false, true, false, "", " ", false },
        // Backspace and other keys outside the call characters leave the box empty.
        { "K1AB", 8, true, false, false, "", std::nullopt, false },
        { "K1AB", 8, true, true, false, "", " ", false },
        { "K1", 45, true, false, false, "", std::nullopt, false },
        { "K1", 91, true, false, false, "", std::nullopt, false },
        { "K", 46, true, false, true, "", std::nullopt, false },
        { "K1ABC", 'Z', true, false, true, "", std::nullopt, false },
    };
    for (const PartialCase& c : cases) {
        const PartialSearchOutcome outcome = partialCallSearch(log, "20", c.field, c.key, c.partialOn, c.timeOn);
        const std::string label = std::string(c.field) + " + " + std::to_string(c.key);
        EXPECT_EQ(outcome.searched, c.searched) << label;
        EXPECT_EQ(outcome.list, c.list) << label;
        EXPECT_EQ(outcome.dialog, c.dialog) << label;
        EXPECT_EQ(outcome.beep, c.beep) << label;
    }
}

TEST(PartialCallSearch, thirdCharacterMustBeDigitOrSlashInSecondOrThirdPlace)
{
    const ContestLog log = k1abPrefixOnTwentyAndFifteen();
    const std::string notNumeric(NotNumericText);
    struct Case
    {
        const char* field;
        int key;
        bool partialOn;
        std::optional<std::string> dialog;
        bool beep;
    };
    const Case cases[] = {
        { "KA", 'B', true, notNumeric, true },
        { "KA", 'B', false, notNumeric, true },
        { "KA", '.', true, notNumeric, true },
        { "KA", '1', true, " ", false },
        { "KA", '/', false, " ", false },
        { "K/", 'A', true, " ", false },
        { "K0", 'A', false, " ", false },
        { "K9", 'A', false, " ", false },
        // Only the third character is checked: not the second, nor the fourth.
        { "K", 'A', true, std::nullopt, false },
        { "KAB", 'C', false, std::nullopt, false },
        // Backspace to a three-character text is no typed character.
        { "KAB", 8, true, std::nullopt, false },
    };
    for (const Case& c : cases) {
        const PartialSearchOutcome outcome = partialCallSearch(log, "20", c.field, c.key, c.partialOn, false);
        const std::string label = std::string(c.field) + " + " + std::to_string(c.key);
        EXPECT_EQ(outcome.dialog, c.dialog) << label;
        EXPECT_EQ(outcome.beep, c.beep) << label;
    }
}

// Thirty four-character calls on 20 beginning "W1", with a call on 15 between each.
ContestLog thirtyW1CallsOnTwenty()
{
    ContestLog log;
    for (int i = 0; i < 30; ++i) {
        log.append(contact(
            "W1" + std::string(1, static_cast<char>('A' + i / 26)) + static_cast<char>('A' + i % 26), "MA", "20"));
        log.append(contact("W1ZZZ", "MA", "15"));
    }
    return log;
}

TEST(PartialCallSearch, stopsOnceTheListPassesAHundredCharacters)
{
    const PartialSearchOutcome outcome = partialCallSearch(thirtyW1CallsOnTwenty(), "20", "W", '1', true, false);
    // Five characters a call: twenty fill exactly 100, which is not yet too long; the twenty-first ends
    // the scan, so the latest of those leads and the nine logged later are left out.
    std::string expected;
    for (int i = 0; i < 21; ++i) {
        expected.insert(0, "W1A" + std::string(1, static_cast<char>('A' + i)) + " ");
    }
    EXPECT_EQ(outcome.list, expected);
    EXPECT_EQ(outcome.list.size(), 105u);
}

// --- Score ------------------------------------------------------------------------------------------

// 10 contacts with 7 sections on 20 and 5 contacts with 5 sections on 40, plus a 6 m record that counts
// nowhere.
ContestLog fifteenContactsTwelveMultipliers()
{
    ContestLog log;
    const char* const twenty[] = { "MA", "NY", "OH", "TX", "CA", "ma", "NY", "FL", "WA", "TX" };
    for (int i = 0; i < 10; ++i) {
        log.append(contact("K" + std::to_string(i) + "AA", twenty[i], "20"));
    }
    for (const char* section : { "MA", "NY", "ON", "BC", "PEI" }) {
        log.append(contact("W" + std::string(section) + "X", section, "40"));
    }
    log.append(contact("K1SIX", "VT", "6"));
    return log;
}

TEST(ScoreSummary, countsThreePointsAContactAndEachSectionOncePerBand)
{
    const BandTallies tallies = talliesOf(fifteenContactsTwelveMultipliers());
    const ScoreSummary summary = scoreSummary(tallies, "20");
    EXPECT_EQ(summary.contacts, 15);
    EXPECT_EQ(summary.points, 45);
    EXPECT_EQ(summary.multipliers, 12);
    EXPECT_EQ(summary.score, 540);

    const std::pair<const char*, std::optional<int>> currentBand[]
        = { { "20", 7 }, { "40", 5 }, { "80", 0 }, { "6", std::nullopt }, { "", std::nullopt } };
    for (const auto& [band, multipliers] : currentBand) {
        EXPECT_EQ(scoreSummary(tallies, band).currentBandMultipliers, multipliers) << band;
    }
}

TEST(ScoreSummary, emptyLogScoresNothing)
{
    const ScoreSummary summary = scoreSummary(talliesOf(ContestLog()), "20");
    EXPECT_EQ(summary.contacts, 0);
    EXPECT_EQ(summary.points, 0);
    EXPECT_EQ(summary.multipliers, 0);
    EXPECT_EQ(summary.score, 0);
    EXPECT_EQ(summary.currentBandMultipliers, 0);
}

// --- Rates ------------------------------------------------------------------------------------------

constexpr DateTime RatesNow { 2026, 2, 21, 15, 0, 0 };

TEST(ContactRates, emptyLogHasNoRate)
{
    const std::optional<Rates> rates = contactRates(ContestLog(), RatesNow);
    ASSERT_TRUE(rates);
    EXPECT_EQ(rates->last20, 0);
    EXPECT_EQ(rates->last60, 0);
}

TEST(ContactRates, oneContactCountsByItsAge)
{
    struct Case
    {
        const char* date;
        const char* time;
        DateTime now;
        int last20;
        int last60;
    };
    const Case cases[] = {
        { "2026/02/21", "14:40:01", RatesNow, 3, 1 }, // 19:59 ago
        { "2026/02/21", "14:40:00", RatesNow, 0, 1 }, // exactly 20:00
        { "2026/02/21", "14:00:01", RatesNow, 0, 1 }, // 59:59
        { "2026/02/21", "14:00:00", RatesNow, 0, 0 }, // exactly an hour
        { "2026/02/21", "15:00:00", RatesNow, 3, 1 },
        // Ahead of the clock (an edited time, a clock set back): a negative age counts in both.
        { "2026/02/21", "15:30:00", RatesNow, 3, 1 },
        { "2026/02/22", "09:00:00", RatesNow, 3, 1 },
        // Entered after the contest, without seconds.
        { "2026/02/21", "14:45", RatesNow, 3, 1 },
        { "2026/02/21", "14:00", RatesNow, 0, 0 },
        { "2026/2/21", "14:50:00", RatesNow, 3, 1 },
        // Across midnight, the end of a month and a leap day.
        { "2026/02/28", "23:50:00", { 2026, 3, 1, 0, 9, 59 }, 3, 1 },
        { "2026/02/28", "23:50:00", { 2026, 3, 1, 0, 10, 0 }, 0, 1 },
        { "2024/02/29", "23:30:00", { 2024, 3, 1, 0, 29, 59 }, 0, 1 },
        { "2024/02/28", "23:30:00", { 2024, 3, 1, 0, 29, 59 }, 0, 0 },
        { "2026/12/31", "23:59:59", { 2027, 1, 1, 0, 0, 0 }, 3, 1 },
    };
    for (const Case& c : cases) {
        const std::optional<Rates> rates = contactRates(logOf({ contact("K1AB", "MA", "20", c.date, c.time) }), c.now);
        ASSERT_TRUE(rates) << c.date << " " << c.time;
        EXPECT_EQ(rates->last20, c.last20) << c.date << " " << c.time;
        EXPECT_EQ(rates->last60, c.last60) << c.date << " " << c.time;
    }
}

std::string clockTime(int secondsBeforeThree)
{
    const int second = 15 * 3600 - secondsBeforeThree;
    return twoDigits(second / 3600) + ":" + twoDigits(second / 60 % 60) + ":" + twoDigits(second % 60);
}

// Five contacts two hours back, 23 between 20 and 60 minutes back, 7 in the last 20 minutes.
ContestLog sevenInTwentyMinutesThirtyInTheHour()
{
    ContestLog log;
    for (int i = 0; i < 5; ++i) {
        log.append(contact("K1OLD", "MA", "20", "2026/02/21", clockTime(7200 + 60 * (5 - i))));
    }
    for (int i = 0; i < 23; ++i) {
        log.append(contact("K2MID", "NY", "20", "2026/02/21", clockTime(3500 - 100 * i)));
    }
    for (int i = 0; i < 7; ++i) {
        log.append(contact("K3NEW", "OH", "20", "2026/02/21", clockTime(1150 - 150 * i)));
    }
    return log;
}

TEST(ContactRates, ratesAreContactsPerHour)
{
    const std::optional<Rates> rates = contactRates(sevenInTwentyMinutesThirtyInTheHour(), RatesNow);
    ASSERT_TRUE(rates);
    EXPECT_EQ(rates->last20, 21);
    EXPECT_EQ(rates->last60, 30);
}

TEST(ContactRates, anOldRecordEnteredLateEndsTheScan)
{
    const ContestLog log = logOf({
        contact("K1AA", "MA", "20", "2026/02/21", "14:50:00"),
        contact("K1BB", "MA", "20", "2026/02/21", "14:51:00"),
        contact("K1OLD", "MA", "20", "2026/02/21", "12:00:00"),
        contact("K1CC", "MA", "20", "2026/02/21", "14:55:00"),
    });
    const std::optional<Rates> rates = contactRates(log, RatesNow);
    ASSERT_TRUE(rates);
    EXPECT_EQ(rates->last20, 3);
    EXPECT_EQ(rates->last60, 1);
}

TEST(ContactRates, anUnreadableDateEndsTheComputation)
{
    const std::pair<const char*, const char*> unreadable[] = {
        { "2026/02/30", "14:50:00" },
        { "2025/02/29", "14:50:00" },
        { "2026/13/01", "14:50:00" },
        { "2026/00/10", "14:50:00" },
        { "2026/02/00", "14:50:00" },
        { "21/02/2026", "14:50:00" },
        { "2026-02-21", "14:50:00" },
        { "2026/02/21x", "14:50:00" },
        { "2026/02", "14:50:00" },
        { "", "14:50:00" },
        { "2026/02/21", "" },
        { "2026/02/21", "24:00:00" },
        { "2026/02/21", "14:60:00" },
        { "2026/02/21", "14:50:60" },
        { "2026/02/21", "14:50:00:00" },
        { "2026/02/21", "14" },
        { "2026/02/21", "14:5x" },
        { "2026/02/21", "-1:50:00" },
    };
    for (const auto& [date, time] : unreadable) {
        const ContestLog log = logOf({
            contact("K1AA", "MA", "20", "2026/02/21", "14:50:00"),
            contact("K1BB", "MA", "20", date, time),
        });
        EXPECT_FALSE(contactRates(log, RatesNow)) << date << " " << time;
    }
}

TEST(ContactRates, anUnreadableDateBeyondTheHourIsNeverRead)
{
    const ContestLog log = logOf({
        contact("K1AA", "MA", "20", "2026/02/30", "14:50:00"),
        contact("K1BB", "MA", "20", "2024/02/29", "13:00:00"),
        contact("K1CC", "MA", "20", "2024/02/29", "14:50:00"),
    });
    const std::optional<Rates> rates = contactRates(log, { 2024, 2, 29, 15, 0, 0 });
    ASSERT_TRUE(rates);
    EXPECT_EQ(rates->last20, 3);
    EXPECT_EQ(rates->last60, 1);
}

// --- Operating time ---------------------------------------------------------------------------------

TEST(OperatingTime, showsTheLastTwoDigitsOfEachPart)
{
    const std::pair<float, const char*> cases[] = {
        { 0.0f, "00:00:00" },
        { 5.0f, "00:00:05" },
        { 3725.0f, "01:02:05" },
        { 36000.0f, "10:00:00" },
        { 45296.0f, "12:34:56" },
        { 359999.0f, "99:59:59" },
        { 360000.0f, "00:00:00" },
        { 363725.0f, "01:02:05" },
        // Fractions never show, and never round up into the next second or minute.
        { 59.9f, "00:00:59" },
        { 3599.5f, "00:59:59" },
        { 45296.75f, "12:34:56" },
    };
    for (const auto& [seconds, shown] : cases) {
        EXPECT_EQ(formatOperatingTime(seconds), shown) << seconds;
    }
}

// --- Section tally and the New indicator ---------------------------------------------------------------

// Three contacts with Massachusetts on 20 (one of them a repeat, one in lower case) and one on 40, beside
// other sections and a 6 m contact that belongs to no band.
ContestLog massachusettsThreeOnTwentyOneOnForty()
{
    return logOf({
        contact("K1AB", "MA", "20"),
        contact("W2XY", "NY", "20"),
        contact("K1AB", "MA", "20"),
        contact("K1CD", "MA", "40"),
        contact("K1EF", "ma", "20"),
        contact("K1GH", "MA", "6"),
        contact("K1IJ", "ME", "20"),
    });
}

TEST(SectionTally, countsEveryContactWithTheSectionPerBand)
{
    const ContestLog log = massachusettsThreeOnTwentyOneOnForty();
    EXPECT_EQ(sectionTallyText(log, 2), " Massachusetts    Total =4\r\n  160 =0  80 =0  40 =1  20 =3  15 =0  10 =0");
    EXPECT_EQ(sectionTallyText(log, 7), " New York    Total =1\r\n  160 =0  80 =0  40 =0  20 =1  15 =0  10 =0");
    EXPECT_EQ(
        sectionTallyText(log, 63), " Prince Edward Island    Total =0\r\n  160 =0  80 =0  40 =0  20 =0  15 =0  10 =0");
}

TEST(SectionTally, positionsOutsideTheGridHaveNoTally)
{
    const ContestLog log = massachusettsThreeOnTwentyOneOnForty();
    EXPECT_EQ(sectionTallyText(log, 0), "");
    EXPECT_EQ(sectionTallyText(log, 64), "");
}

TEST(NewIndicator, showsForTwoOrMoreCharactersNotWorkedOnTheBand)
{
    const BandTallies tallies = talliesOf(logOf({
        contact("K1AB", "MA", "20"),
        contact("VE8AA", "nwt", "20"),
        contact("W2XY", "NY", "15"),
    }));
    struct Case
    {
        const char* band;
        const char* text;
        bool shown;
    };
    const Case cases[] = {
        { "20", "", false },
        { "20", "M", false },
        { "20", "MA", false },
        { "20", "ma", false },
        { "20", "NWT", false },
        { "15", "MA", true },
        { "15", "ma", true },
        { "20", "NY", true },
        { "20", "MAS", true },
        // The indicator does not judge whether the text is a section at all.
        { "20", "XX", true },
        { "6", "MA", true },
        { "6", "M", false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sectionIsNew(tallies, c.band, c.text), c.shown) << c.text << " on " << c.band;
    }
}

} // namespace
} // namespace brindle
