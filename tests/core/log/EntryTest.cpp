#include "log/Entry.h"
#include "log/ContactList.h"

#include "common/KeyFilters.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace brindle {
namespace {

TEST(Entry, aDigitAfterACompleteCallBeginsTheReport)
{
    const struct
    {
        const char* call;
        bool atEnd;
        int key;
        bool handedOn;
    } cases[] = {
        { "K1ABC", true, '5', true },
        { "DL1ABC", true, '5', true },
        { "W1AW", true, '0', true },
        { "K1ABC", false, '5', false }, // typed inside the call
        { "K1ABC", true, 'A', false },
        { "K1", true, '5', false }, // too short to be complete
        { "K1A", true, '5', true },
        { "K1AB2", true, '5', false }, // ends in a digit: a call like 4U1UN2 goes on
        { "KAB", true, '5', false }, // no digit yet
        { "W1AW/3", true, '5', false }, // "/" is below "0"
        { "W1AW/P", true, '5', false },
        { "3DA0ABC", true, '5', true }, // the first character is not looked at
        { "K1A.B", true, '5', false },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(digitStartsReport(c.call, c.atEnd, c.key), c.handedOn) << c.call << " " << char(c.key);
    }
}

TEST(Entry, reportFieldsTakeDigitsAndBackspaceOnly)
{
    for (int key : std::initializer_list<int> { '0', '5', '9', KeyBackspace }) {
        EXPECT_EQ(digitsOnly(key), key);
    }
    for (int key : std::initializer_list<int> { 'a', 'A', ' ', '-', '.', '/', ':', '"', KeyReturn }) {
        EXPECT_EQ(digitsOnly(key), 0) << key;
    }
}

TEST(Entry, missingFieldsAreReportedInOrderWithTheCallLast)
{
    const auto messages = [](const EntryFields& fields) {
        std::vector<std::string> texts;
        for (const MissingField& m : missingFields(fields)) {
            texts.emplace_back(m.message);
        }
        return texts;
    };
    EXPECT_EQ(messages({}),
        (std::vector<std::string> {
            "Need Section!", "Report Received!", "Need Country!", "Need Report Sent!", "Need Call Sign!" }));
    EXPECT_EQ(missingFields({}).back().field, EntryField::Call);
    EXPECT_TRUE(messages({ "K1ABC", "599", "MA", "599", "USA" }).empty());
    EXPECT_EQ(messages({ "K1", "599", "MA", "599", "USA" }), std::vector<std::string> { "Need Call Sign!" });
    EXPECT_EQ(messages({ "K1ABC", "", "MA", "", "USA" }),
        (std::vector<std::string> { "Report Received!", "Need Report Sent!" }));
    EXPECT_EQ(missingFields({ "K1ABC", "599", "MA", "", "" }).back().field, EntryField::RstSent);
}

TEST(Entry, postContestDatesAndTimesAreWrittenAsTheLogWritesThem)
{
    const std::pair<const char*, std::optional<std::string>> times[] = {
        { "934", "09:34" },
        { "1405", "14:05" },
        { "9:34", "09:34" },
        { "14:05", "14:05" },
        { "0000", "00:00" },
        { "25:00", std::nullopt },
        { "2500", std::nullopt },
        { "960", std::nullopt },
        { "34", std::nullopt },
        { "12345", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto& [typed, stored] : times) {
        EXPECT_EQ(postContestTime(typed), stored) << typed;
    }
    EXPECT_EQ(postContestDate("2026/2/21"), "2026/02/21");
    EXPECT_EQ(postContestDate("2026/02/30"), std::nullopt);
    EXPECT_EQ(postContestDate("21/02/2026"), std::nullopt);
}

TEST(Entry, aLoggedRecordHasTheCallAndCountryWithoutSurroundingBlanks)
{
    const QsoRecord record
        = entryRecord({ " k1abc ", "59", "ma", "57", "  United States " }, "2026/02/21", "14:05:30", "20", "");
    EXPECT_EQ(record, (QsoRecord { "k1abc", "59", "ma", "57", "United States", "2026/02/21", "14:05:30", "20", "" }));
}

TEST(Entry, clocksShowLocalTimeOnTwelveHoursAndUtcOnTwentyFour)
{
    const struct
    {
        DateTime local;
        double offset;
        const char* time;
        const char* marker;
        const char* utc;
    } cases[] = {
        { { 2026, 2, 21, 0, 5, 7 }, 0, "12:05:07", "AM", "00:05:07" },
        { { 2026, 2, 21, 9, 0, 0 }, -1, "9:00:00", "AM", "08:00:00" },
        { { 2026, 2, 21, 12, 0, 0 }, 0, "12:00:00", "PM", "12:00:00" },
        { { 2026, 2, 21, 23, 59, 59 }, 5.5, "11:59:59", "PM", "05:29:59" },
    };
    for (const auto& c : cases) {
        const ClockTexts texts = clockTexts(c.local, c.offset);
        EXPECT_EQ(texts.local, c.time);
        EXPECT_EQ(texts.marker, c.marker);
        EXPECT_EQ(texts.utc, c.utc);
    }
}

TEST(ContactList, showsTheLastTwentyOrAllNewestFirst)
{
    const auto range = [](int from, int to) {
        std::vector<int> numbers;
        for (int n = from; n >= to; --n) {
            numbers.push_back(n);
        }
        return numbers;
    };
    EXPECT_EQ(recentContacts(25, false), range(25, 6));
    EXPECT_EQ(recentContacts(25, true), range(25, 1));
    EXPECT_EQ(recentContacts(20, false), range(20, 1));
    EXPECT_EQ(recentContacts(19, false), range(19, 1));
    EXPECT_TRUE(recentContacts(0, false).empty());
}

TEST(ContactList, cellsShowTheRecordWithShortDateAndTime)
{
    const QsoRecord record { "K1ABC", "579", "MA", "599", "United States", "2026/02/21", "14:05:30", "20", "14.025" };
    std::vector<std::string> cells;
    for (std::size_t column = 0; column < ContactListColumns.size(); ++column) {
        cells.push_back(contactListText(record, 12, static_cast<int>(column)));
    }
    EXPECT_EQ(cells,
        (std::vector<std::string> { "12", "K1ABC", "579", "MA", "599", "02/21", "14:05", "20", "United States" }));

    QsoRecord typedLater = record;
    typedLater.qsoDate = "2026/2/3";
    typedLater.qsoTime = "9:34";
    EXPECT_EQ(contactListText(typedLater, 1, 5), "02/03");
    EXPECT_EQ(contactListText(typedLater, 1, 6), "09:34");
    QsoRecord damaged = record;
    damaged.qsoDate = "21.02.2026";
    damaged.qsoTime = "noon";
    EXPECT_EQ(contactListText(damaged, 1, 5), "21.02.2026");
    EXPECT_EQ(contactListText(damaged, 1, 6), "noon");
}

} // namespace
} // namespace brindle
