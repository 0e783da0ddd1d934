#include "reports/ClipboardText.h"

#include "log/ContestLog.h"
#include "support/LogSamples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

using test::logOf;

const std::string Headings = "Rec#\tCall\tRec\tSt/Pr\tSnt\tDate\tTime\tBnd\tCountry\r\n";

const ContestLog listLog = logOf({
    { "K1ABC", "599", "MA", "599", "USA", "2026/02/21", "00:00:12", "20", "14.0251" },
    { "VE3XYZ", "579", "ON", "599", "Canada", "2026/02/21", "00:01:40", "40", "" },
    { "OH0/W1AW", "599", "CT", "599", "\xC5land Islands", "2026/02/22", "9:05", "160", "1.8305" },
    { "K6MM", "5 9", "", "", "", "21.02.2026", "noon", "6", "" },
});

TEST(ClipboardText, listedRowsFollowTheHeadingsBottomRowFirst)
{
    // The list as the main window shows it: newest first, so the clipboard has the oldest first.
    EXPECT_EQ(clipboardText(listLog, { 3, 2, 1 }),
        Headings
            + "1\tK1ABC\t599\tMA\t599\t02/21\t00:00\t20\tUSA\r\n"
              "2\tVE3XYZ\t579\tON\t599\t02/21\t00:01\t40\tCanada\r\n"
              "3\tOH0/W1AW\t599\tCT\t599\t02/22\t09:05\t160\t\xC5land Islands\r\n");
}

TEST(ClipboardText, rowsAreCopiedInTheListsOwnOrder)
{
    struct Case
    {
        std::vector<int> listed;
        std::string rows;
    };
    const Case cases[] = {
        { {}, "" },
        // A list sorted by call: K1ABC, K6MM, OH0/W1AW.
        { { 1, 4, 3 },
            "3\tOH0/W1AW\t599\tCT\t599\t02/22\t09:05\t160\t\xC5land Islands\r\n"
            "4\tK6MM\t5 9\t\t\t21.02.2026\tnoon\t6\t\r\n"
            "1\tK1ABC\t599\tMA\t599\t02/21\t00:00\t20\tUSA\r\n" },
        // A row whose record has just been deleted shows only its number until the list is refreshed.
        { { 2, 7 }, "7\t\t\t\t\t\t\t\t\r\n2\tVE3XYZ\t579\tON\t599\t02/21\t00:01\t40\tCanada\r\n" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clipboardText(listLog, c.listed), Headings + c.rows) << c.listed.size();
    }
}

} // namespace
} // namespace brindle
