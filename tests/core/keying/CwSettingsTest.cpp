#include "keying/CwSettings.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

constexpr std::string_view FullFile = "\"CQ TEST $ TEST\"\r\n"
                                      "\"$ *\"\r\n"
                                      "\"TU $ TEST!\"\r\n"
                                      "\"AGN\"\r\n"
                                      "\"\"\r\n"
                                      "\"\"\r\n"
                                      "\"QRZ?\"\r\n"
                                      "\"$?\"\r\n"
                                      "\"VVV DE G4ABC\"\r\n"
                                      "\"1\"\r\n"
                                      "\"28\"\r\n"
                                      "\"NR?\"\r\n"
                                      "\"100\"\r\n"
                                      "\"-2\"\r\n"
                                      "2\r\n"
                                      "\"&H278\"\r\n"
                                      "1\r\n"
                                      "\"4.5\"\r\n";

TEST(CwSettingsFile, ReadsTheEighteenValuesInOrder)
{
    const CwSettings s = parseCwSettings(FullFile);
    EXPECT_EQ(s.messages[0], "CQ TEST $ TEST");
    EXPECT_EQ(s.messages[2], "TU $ TEST!");
    EXPECT_EQ(s.messages[8], "VVV DE G4ABC");
    EXPECT_EQ(s.messages[9], "NR?");
    EXPECT_EQ(s.messages[10], "100");
    EXPECT_EQ(s.port, "1");
    EXPECT_EQ(s.speed, "28");
    EXPECT_EQ(s.wordSpace, "-2");
    EXPECT_EQ(s.keying, CwKeying::Dtr);
    EXPECT_EQ(s.parallelAddress, "&H278");
    EXPECT_TRUE(s.showTextOnMain);
    EXPECT_EQ(s.repeatSeconds, "4.5");
    EXPECT_EQ(formatCwSettings(s), FullFile);
}

TEST(CwSettingsFile, AShortOrDamagedFileKeepsTheDefaultsFromWhereItEnds)
{
    const CwSettings defaults;
    EXPECT_EQ(parseCwSettings(""), defaults);

    // Ends inside the messages: F9 keeps its default (empty), not "VVV DE ".
    CwSettings s = parseCwSettings("\"CQ\"\r\n\"$\"\r\n");
    EXPECT_EQ(s.messages[0], "CQ");
    EXPECT_EQ(s.messages[8], "");
    EXPECT_EQ(s.speed, "13");

    // An empty F9 read from the file becomes the test text.
    s = parseCwSettings("\"\"\n\"\"\n\"\"\n\"\"\n\"\"\n\"\"\n\"\"\n\"\"\n\"\"\n\"3\"\n");
    EXPECT_EQ(s.messages[8], EmptyF9Message);
    EXPECT_EQ(s.port, "3");
    EXPECT_EQ(s.speed, "13");

    // A keying choice that is not a number stops the reading there.
    std::string damaged(FullFile);
    damaged.replace(damaged.find("2\r\n\"&H278"), 1, "x");
    s = parseCwSettings(damaged);
    EXPECT_EQ(s.wordSpace, "-2");
    EXPECT_EQ(s.keying, CwKeying::None);
    EXPECT_EQ(s.parallelAddress, "&H378");
}

TEST(CwSettingsFile, ANumberThatIsNoKeyingChoiceKeysNothing)
{
    for (int number : { 4, 6, -1, 255 }) {
        EXPECT_EQ(cwKeyingFromNumber(number), CwKeying::None) << number;
    }
    EXPECT_EQ(cwKeyingFromNumber(5), CwKeying::WinKey);
    EXPECT_EQ(cwKeyingFromNumber(3), CwKeying::ParallelPort);
}

TEST(WordSpaceField, MoreAndLessStepANumberAndNeverGoBelowMinusEight)
{
    const struct
    {
        std::string_view text;
        int step;
        std::string_view after;
    } cases[] = {
        { "0", 1, "1" },
        { "0", -1, "-1" },
        { "1.5", 1, "2.5" },
        { " 3 ", -1, "2" },
        { "-7", -1, "-8" },
        { "-8", -1, "-8" },
        { "-7.5", -1, "-8" },
        { "", 1, "0" }, // anything but a number becomes 0
        { "-", -1, "0" },
        { "2x", 1, "0" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stepWordSpace(c.text, c.step), c.after) << c.text << " " << c.step;
    }
}

TEST(WordSpaceField, ATypedNumberBelowMinusEightReadsMinusEight)
{
    EXPECT_EQ(limitWordSpace("-12"), "-8");
    EXPECT_EQ(limitWordSpace("-8.5"), "-8");
    for (std::string_view kept : { "-8", "-7.9", "12", "", "-", "-1.", "abc" }) {
        EXPECT_EQ(limitWordSpace(kept), kept);
    }
}

} // namespace
} // namespace brindle
