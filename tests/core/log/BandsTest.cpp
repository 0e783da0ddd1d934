#include "log/Bands.h"

#include <gtest/gtest.h>

#include <limits>
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

TEST(Bands, bandForFrequencyHasExclusiveEdgesJustOutsideEachBand)
{
    struct Case
    {
        float freqMHz;
        std::optional<std::string_view> band;
    };
    const std::vector<Case> cases = {
        { 1.7999F, std::nullopt },
        { 1.8F, "160" },
        { 2.0001F, std::nullopt },
        { 3.5F, "80" },
        { 7.3F, "40" },
        { 7.3001F, std::nullopt },
        { 10.120F, std::nullopt },
        { 14.025F, "20" },
        { 21.45F, "15" },
        { 29.7F, "10" },
        { 0.0F, std::nullopt },
        { -14.025F, std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bandForFrequency(c.freqMHz), c.band) << c.freqMHz;
    }
}

TEST(Bands, rigFrequencyTextHasThreeDecimalsAndNoLeadingZero)
{
    EXPECT_EQ(rigFrequencyText(14.025F), "14.025");
    EXPECT_EQ(rigFrequencyText(10.12F), "10.120");
    EXPECT_EQ(rigFrequencyText(7.0F), "7.000");
    EXPECT_EQ(rigFrequencyText(28.4999F), "28.500");
    EXPECT_EQ(rigFrequencyText(0.5F), ".500");
    EXPECT_EQ(rigFrequencyText(0.0F), ".000");
    EXPECT_EQ(rigFrequencyText(std::numeric_limits<float>::quiet_NaN()), "");
}

} // namespace
} // namespace brindle
