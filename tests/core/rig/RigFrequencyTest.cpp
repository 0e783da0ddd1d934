#include "rig/RigFrequency.h"

#include "log/Bands.h"
#include "rig/RigTuning.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string_view>

namespace brindle {
namespace {

float mhz(Hertz hertz)
{
    return static_cast<float>(static_cast<double>(hertz) / 1e6);
}

TEST(RigFrequencyTest, readingsOnAnAmateurBandAreGoodAndNoiseIsNot)
{
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float Infinity = std::numeric_limits<float>::infinity();
    const struct
    {
        float freqMHz;
        std::optional<std::string_view> band;
    } cases[] = {
        // What line noise and damaged replies decode as.
        { 0.0F, std::nullopt },
        { 0.688F, std::nullopt },
        { 100000.0F, std::nullopt },
        { 99999.99F, std::nullopt },
        { -14.025F, std::nullopt },
        { NaN, std::nullopt },
        { Infinity, std::nullopt },
        { -Infinity, std::nullopt },
        // Off the contest's bands but on the air: the logged frequency follows them.
        { 10.12F, "30" },
        { 5.3515F, "60" },
        { 18.1F, "17" },
        { 24.94F, "12" },
        { 50.125F, "6" },
        { 223.5F, "1.25" },
        { 432.1F, "70" },
        { 903.1F, "33" },
        { 1296.1F, "23" },
        // A hair past an edge, as the contest's band table allows, is still the band.
        { 7.3001F, "40" },
        { 1.7999F, "160" },
        { 29.7001F, "10" },
        // Between the bands, and bands the tune window has no button for (4 m, 13 cm).
        { 2.5F, std::nullopt },
        { 7.5F, std::nullopt },
        { 70.2F, std::nullopt },
        { 2400.0F, std::nullopt },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(amateurBandOf(c.freqMHz), c.band) << c.freqMHz;
    }
}

TEST(RigFrequencyTest, eachBandsEdgesCountAndAKilohertzOutsideDoesNot)
{
    for (const AmateurBand& band : AmateurBands) {
        SCOPED_TRACE(band.band);
        EXPECT_EQ(amateurBandOf(mhz(band.low)), band.band);
        EXPECT_EQ(amateurBandOf(mhz(band.high)), band.band);
        EXPECT_EQ(amateurBandOf(mhz((band.low + band.high) / 2)), band.band);
        EXPECT_EQ(amateurBandOf(mhz(band.low - 1'000)), std::nullopt);
        EXPECT_EQ(amateurBandOf(mhz(band.high + 1'000)), std::nullopt);
    }
}

TEST(RigFrequencyTest, everyBandButtonTunesToAGoodReading)
{
    for (const BandButton& button : BandButtons) {
        EXPECT_EQ(amateurBandOf(mhz(button.hertz)), button.caption);
    }
}

TEST(RigFrequencyTest, everyFrequencyThatSetsAContestBandIsAGoodReadingOfThatBand)
{
    // 10 Hz steps over 160 m to 10 m, the contest table's hair past each edge included.
    int contestReadings = 0;
    for (Hertz hertz = 1'790'000; hertz <= 29'710'000; hertz += 10) {
        const float freqMHz = mhz(hertz);
        if (const std::optional<std::string_view> contestBand = bandForFrequency(freqMHz)) {
            ++contestReadings;
            ASSERT_EQ(amateurBandOf(freqMHz), contestBand) << hertz;
        }
    }
    EXPECT_GT(contestReadings, 0);
}

} // namespace
} // namespace brindle
