#include "keying/MorseTable.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

struct PatternCase
{
    char character;
    std::string_view units;
};

TEST(MorsePattern, KeysEachCharacterAsTheTableSays)
{
    const PatternCase cases[] = {
        { 'A', "10111000" },
        { 'B', "111010101000" },
        { 'E', "1000" },
        { 'Q', "1110111010111000" },
        { '0', "1110111011101110111000" },
        { '5', "101010101000" },
        { '.', "10111010111010111000" },
        { ',', "1110111010101110111000" },
        { '?', "101011101110101000" },
        { '/', "1110101011101000" },
        { '-', "1110101010111000" }, // BT, not the six-element hyphen
        { '=', "1110101010111000" },
        { '[', "1011101011101000" },
        { ']', "101010111010111000" },
        { ';', "111010111011101000" },
        { '\\', "111010111010101110101000" },
        { ' ', "00000000" },
        { 'n', "11101000" }, // lower case as upper case
        { '!', "" },
        { '%', "" },
        { '$', "" },
        { '*', "" },
        { '#', "" },
        { '\0', "" },
        { static_cast<char>(0xC4), "" },
    };
    for (const PatternCase& c : cases) {
        EXPECT_EQ(morsePattern(c.character), c.units) << "character " << static_cast<int>(c.character);
    }
}

TEST(MorsePattern, EveryLetterAndDigitEndsWithThreeUnitsUp)
{
    for (char c : std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
        const std::string_view units = morsePattern(c);
        ASSERT_GE(units.size(), 4u) << c;
        EXPECT_TRUE(units.ends_with("1000")) << c;
        EXPECT_EQ(units.find("00", 0), units.size() - 3) << c << ": elements are one unit apart";
        EXPECT_EQ(morsePattern(static_cast<char>(std::tolower(c))), units) << c;
    }
}

TEST(KeyedUnits, TheWordSpaceAdjustmentLengthensOrShortensOnlyASpace)
{
    struct Case
    {
        int wordSpace;
        std::size_t spaceUnits;
    } cases[] = { { 0, 8 }, { 3, 11 }, { -3, 5 }, { -8, 0 }, { -40, 0 }, { 5000, 8 + MaxWordSpace } };
    for (const Case& c : cases) {
        EXPECT_EQ(keyedUnits(' ', c.wordSpace), std::string(c.spaceUnits, '0')) << c.wordSpace;
        EXPECT_EQ(keyedUnits('E', c.wordSpace), "1000") << c.wordSpace;
    }
}

TEST(UnitMs, AWordIsFiftyUnits)
{
    EXPECT_DOUBLE_EQ(unitMs(20), 60.0);
    EXPECT_DOUBLE_EQ(unitMs(25), 48.0);
    EXPECT_NEAR(unitMs(13), 92.3077, 1e-4);
}

} // namespace
} // namespace brindle
