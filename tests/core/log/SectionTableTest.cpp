#include "log/SectionTable.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace brindle {
namespace {

// The grid's order, which is also what the multiplier labels and their tool tips show.
const std::vector<std::string_view> expectedAbbreviations = {
    "CT",
    "MA",
    "ME",
    "NH",
    "RI",
    "VT",
    "NY",
    "NJ",
    "DE",
    "PA",
    "MD",
    "DC",
    "AL",
    "GA",
    "KY",
    "NC",
    "FL",
    "SC",
    "TN",
    "VA",
    "AR",
    "LA",
    "MS",
    "NM",
    "TX",
    "OK",
    "CA",
    "AZ",
    "WA",
    "ID",
    "MT",
    "NV",
    "OR",
    "UT",
    "WY",
    "MI",
    "OH",
    "WV",
    "IL",
    "IN",
    "WI",
    "CO",
    "IA",
    "KS",
    "MN",
    "MO",
    "NE",
    "ND",
    "SD",
    "NB",
    "NS",
    "QC",
    "ON",
    "MB",
    "SK",
    "AB",
    "BC",
    "NWT",
    "NF",
    "LB",
    "NU",
    "YT",
    "PEI",
};

TEST(SectionTable, holdsTheSixtyThreeMultipliersInGridOrder)
{
    ASSERT_EQ(SectionTable::Size, 63);
    std::vector<std::string_view> abbreviations;
    for (int position = 1; position <= SectionTable::Size; ++position) {
        abbreviations.push_back(SectionTable::at(position).abbreviation);
    }
    EXPECT_EQ(abbreviations, expectedAbbreviations);
}

TEST(SectionTable, firstAndLastPositions)
{
    EXPECT_EQ(SectionTable::at(1).abbreviation, "CT");
    EXPECT_EQ(SectionTable::at(1).fullName, "Connecticut");
    EXPECT_EQ(SectionTable::at(1).area, "1");
    EXPECT_EQ(SectionTable::at(63).abbreviation, "PEI");
    EXPECT_EQ(SectionTable::at(63).fullName, "Prince Edward Island");
    EXPECT_EQ(SectionTable::at(63).area, "Canada");
    EXPECT_EQ(SectionTable::at(12).fullName, "District of Columbia");
    EXPECT_EQ(SectionTable::at(58).fullName, "North West Territories");
}

TEST(SectionTable, everyEntryStandsInTheBlockOfItsCallArea)
{
    // Entries per area block in display order: "1" "2" "3" "4" "5" "6" "7" "8" "9" "0" "Canada".
    const std::vector<int> expectedPerArea = { 6, 2, 4, 8, 6, 1, 8, 3, 3, 8, 14 };
    const auto& areas = SectionTable::areas();
    ASSERT_EQ(std::vector<std::string_view>(areas.begin(), areas.end()),
        (std::vector<std::string_view> { "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "Canada" }));
    std::vector<int> perArea(areas.size(), 0);
    std::size_t block = 0;
    for (int position = 1; position <= SectionTable::Size; ++position) {
        // Blocks are contiguous and in display order.
        while (block < areas.size() && SectionTable::at(position).area != areas[block]) {
            ++block;
        }
        ASSERT_LT(block, areas.size()) << SectionTable::at(position).abbreviation;
        ++perArea[block];
    }
    EXPECT_EQ(perArea, expectedPerArea);
}

TEST(SectionTable, validityIgnoresCaseAndKnowsNoOtherAbbreviations)
{
    struct Case
    {
        std::string text;
        std::optional<int> position;
    };
    const std::vector<Case> cases = {
        { "CT", 1 },
        { "ct", 1 },
        { "nwt", 58 },
        { "Nwt", 58 },
        { "PEI", 63 },
        { "pei", 63 },
        { "DC", 12 },
        { "yt", 62 },
        { "NT", std::nullopt },
        { "NL", std::nullopt },
        { "PE", std::nullopt },
        { "AK", std::nullopt },
        { "HI", std::nullopt },
        { "", std::nullopt },
        { "MA ", std::nullopt },
        { "NW", std::nullopt },
        { "PEII", std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SectionTable::positionOf(c.text), c.position) << "\"" << c.text << "\"";
        EXPECT_EQ(SectionTable::isValid(c.text), c.position.has_value()) << "\"" << c.text << "\"";
    }
}

TEST(SectionTable, anAbbreviationMustMatchLetterForLetter)
{
    const std::pair<const char*, bool> cases[] = {
        { "MA", true },
        { "NWT", true },
        { "PEI", true },
        { "ma", false },
        { "Ma", false },
        { "Nwt", false },
        { "XX", false },
        { "", false },
        { "MA ", false },
        { "PE", false },
    };
    for (const auto& [text, valid] : cases) {
        EXPECT_EQ(SectionTable::isAbbreviation(text), valid) << "\"" << text << "\"";
    }
}

TEST(SectionTable, everyAbbreviationFindsItsOwnPosition)
{
    for (int position = 1; position <= SectionTable::Size; ++position) {
        EXPECT_EQ(SectionTable::positionOf(SectionTable::at(position).abbreviation), position);
    }
}

} // namespace
} // namespace brindle
