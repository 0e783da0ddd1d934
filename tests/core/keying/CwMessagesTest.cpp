#include "keying/CwMessages.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace brindle {
namespace {

TEST(FillWildcards, PutsTheCallAndTheReportIntoTheMessage)
{
    const struct
    {
        std::string_view message;
        std::string_view call;
        std::string rstSent;
        std::string_view sent;
        std::string_view rstAfter;
    } cases[] = {
        { "$ 5NN *", "DL1ABC ", "599", "DL1ABC 5NN 5NN", "5NN" },
        { "TU #", "DL1ABC", "599", "TU ", "5NN" },
        { "$ *", "G4ABC", "579", "G4ABC 579", "579" },
        { "$ *", "G4ABC", " 599", "G4ABC 599", " 599" }, // not exactly 599: kept, then trimmed
        { "*", "", "", "5NN", "5NN" },
        { "$$ ##**", " K1AB ", "59", "K1ABK1AB 5959", "59" },
        { "CQ TEST", "", "599", "CQ TEST", "5NN" },
        { "$", "AB#", "599", "AB", "5NN" }, // the passes run in order: a "#" the call brought in goes too
    };
    for (const auto& c : cases) {
        std::string rst = c.rstSent;
        EXPECT_EQ(fillWildcards(c.message, c.call, rst), c.sent) << c.message << " / " << c.call;
        EXPECT_EQ(rst, c.rstAfter) << c.message;
    }
}

TEST(MessageIndexForKey, F1ToF9F10AsItsOwnCodeAndF11)
{
    EXPECT_EQ(messageIndexForKey(112), 0u);
    EXPECT_EQ(messageIndexForKey(120), 8u);
    EXPECT_EQ(messageIndexForKey(124), 9u);
    EXPECT_EQ(messageIndexForKey(122), 10u);
    for (int code : { 121, 123, 111, 125, 0 }) {
        EXPECT_EQ(messageIndexForKey(code), std::nullopt) << code;
    }
}

TEST(RepeatInterval, SecondsFromZeroToBelowSixty)
{
    EXPECT_EQ(repeatIntervalMs("5"), 5000);
    EXPECT_EQ(repeatIntervalMs("0"), 0);
    EXPECT_EQ(repeatIntervalMs("2.5"), 2500);
    EXPECT_EQ(repeatIntervalMs("59.9994"), 59999);
    for (std::string_view bad : { "60", "-1", "", "x", "1e3", "nan" }) {
        EXPECT_EQ(repeatIntervalMs(bad), std::nullopt) << bad;
    }
}

TEST(RandomGroups, GroupsOfTheAskedShapeFromTheAskedCharacters)
{
    std::mt19937 engine(7);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const auto draw = [&] { return uniform(engine); };

    const std::string letters = randomGroups(10, 5, true, draw);
    ASSERT_EQ(letters.size(), 10u * 6u);
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (i % 6 == 5) {
            EXPECT_EQ(letters[i], ' ');
        } else {
            EXPECT_TRUE(letters[i] >= 'A' && letters[i] <= 'Z') << letters;
        }
    }

    std::set<char> seen;
    for (char c : randomGroups(400, 5, false, draw)) {
        seen.insert(c);
    }
    EXPECT_EQ(seen.size(), PracticeCharacters.size() + 1) << "all 41 characters and the blank";
    // The top of the range cannot reach past the table.
    EXPECT_EQ(randomGroups(1, 2, false, [] { return 0.9999999999; }), "-- ");
    EXPECT_EQ(randomGroups(0, 5, false, draw), "");
}

} // namespace
} // namespace brindle
