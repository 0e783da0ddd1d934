#include "log/Bands.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace brindle {
namespace {

TEST(Bands, codesRunFromLowestToHighestBand)
{
    EXPECT_EQ(std::vector<std::string_view>(BandCodes.begin(), BandCodes.end()),
        (std::vector<std::string_view> { "160", "80", "40", "20", "15", "10" }));
}

TEST(Bands, bandIndexKnowsOnlyTheSixCodes)
{
    struct Case
    {
        std::string text;
        std::optional<std::size_t> index;
    };
    const std::vector<Case> cases = {
        { "160", 0 },
        { "80", 1 },
        { "40", 2 },
        { "20", 3 },
        { "15", 4 },
        { "10", 5 },
        { "6", std::nullopt },
        { "", std::nullopt },
        { "2", std::nullopt },
        { "1600", std::nullopt },
        { " 20", std::nullopt },
        { "20 ", std::nullopt },
        { "20m", std::nullopt },
        { "020", std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bandIndex(c.text), c.index) << "\"" << c.text << "\"";
    }
}

TEST(Bands, nextBandCyclesBackFromTenToOneSixty)
{
    struct Case
    {
        std::string band;
        std::optional<std::string> next;
    };
    const std::vector<Case> cases = {
        { "160", "80" },
        { "80", "40" },
        { "40", "20" },
        { "20", "15" },
        { "15", "10" },
        { "10", "160" },
        { "6", std::nullopt },
        { "", std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nextBand(c.band), c.next) << "\"" << c.band << "\"";
    }
}

} // namespace
} // namespace brindle
