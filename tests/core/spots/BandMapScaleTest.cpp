#include "spots/BandMapScale.h"

#include "common/DateText.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace brindle {
namespace {

using Ticks = std::array<std::string, 5>;

TEST(BandMapScale, TheBandIsShownWholeUntilTwoFrequenciesAreInIt)
{
    struct Case
    {
        const char* what;
        std::string band;
        std::vector<float> spots;
        Ticks ticks;
    };
    const std::vector<Case> cases {
        { "no spot", "80", {}, { "3.500", "3.625", "3.750", "3.875", "4.000" } },
        { "one spot", "80", { 3.525f }, { "3.500", "3.625", "3.750", "3.875", "4.000" } },
        { "the same frequency twice", "80", { 3.525f, 3.525f }, { "3.500", "3.625", "3.750", "3.875", "4.000" } },
        { "two frequencies: a kHz each side", "80", { 3.511f, 3.529f },
            { "3.510", "3.515", "3.520", "3.525", "3.530" } },
        { "spots of other bands and withdrawn ones do not count", "80", { 3.511f, 7.025f, 0, 3.529f },
            { "3.510", "3.515", "3.520", "3.525", "3.530" } },
        { "a spot on the band's edge is outside it", "20", { 14.0f, 14.1f },
            { "14.000", "14.088", "14.175", "14.263", "14.350" } },
        { "a band with no stretch", "30", { 10.12f, 10.13f }, { ".000", ".000", ".000", ".000", ".000" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MapScale scale = mapScale(zoomRowRange(bandMapEdges(c.band), c.spots));
        EXPECT_EQ(scale.ticks, c.ticks);
    }
}

TEST(BandMapScale, ALabelStandsWhereItsFrequencyIsOnTheScaleShown)
{
    const MapScale whole = mapScale(bandMapEdges("80"));
    EXPECT_NEAR(*mapFraction(whole.shown, 3.525f), 0.05, 1e-6);
    const float pair[] = { 3.511f, 3.529f };
    const MapScale zoomed = mapScale(zoomRowRange(bandMapEdges("80"), pair));
    EXPECT_EQ(zoomed.shown, (MapRange { 3.51, 3.53 }));
    EXPECT_NEAR(*mapFraction(zoomed.shown, 3.52), 0.5, 1e-6);
    EXPECT_FALSE(mapFraction(mapScale(bandMapEdges("30")).shown, 10.12).has_value()) << "no width, no place";
}

TEST(BandMapScale, TheLabelFadesWithItsAgeAndGoesAfterAnHour)
{
    struct Case
    {
        long long seconds;
        std::optional<std::uint32_t> colour;
    };
    for (const Case& c : std::vector<Case> { { 0, 0x0080FFFF }, { 9 * 60, 0x0080FFFF }, { 599, 0x0080FFFF },
             { 600, 0x00FFFFFF }, { 11 * 60, 0x00FFFFFF }, { 1800, 0x00C0C0C0 }, { 31 * 60, 0x00C0C0C0 },
             { 3599, 0x00C0C0C0 }, { 3600, std::nullopt }, { 61 * 60, std::nullopt } }) {
        EXPECT_EQ(spotAgeColour(c.seconds), c.colour) << c.seconds << " s";
    }
}

TEST(BandMapScale, TheTipGivesTheCallFrequencyAndUtcTime)
{
    EXPECT_EQ(spotTipText("K1ABC", 14.025f, { 2026, 12, 11, 23, 30, 5 }, 1.5), "K1ABC  14.025  01:00:05");
    EXPECT_EQ(spotTipText("VP2V/W6", 0.1365f, { 2026, 12, 11, 6, 0, 0 }, -5), "VP2V/W6  .137  01:00:00");
}

TEST(SpectrumRows, EachFrequencyFindsTheRowOfItsBandStrictlyInside)
{
    struct Case
    {
        double freq;
        std::optional<std::size_t> row;
    };
    for (const Case& c : std::vector<Case> { { 1.85, 0 }, { 10.12, 3 }, { 14.0, std::nullopt }, { 14.35, std::nullopt },
             { 14.025, 4 }, { 18.07, 5 }, { 5.3585, std::nullopt }, { 144.3, 10 }, { 0, std::nullopt } }) {
        EXPECT_EQ(spectrumRowOf(c.freq), c.row) << c.freq;
    }
    const float warc[] = { 18.070f, 18.160f };
    const MapScale row5 = mapScale(zoomRowRange(SpectrumRows[5].edges, warc));
    EXPECT_EQ(row5.ticks.front(), "18.069");
    EXPECT_EQ(row5.ticks.back(), "18.161");
}

} // namespace
} // namespace brindle

namespace brindle {
namespace {

constexpr DateTime Now { 2026, 12, 11, 12, 0, 0 };

DateTime minutesAgo(int minutes)
{
    return addHours(Now, -minutes / 60.0);
}

TEST(BandMapPlacements, NewestFirstColouredByAgeAndNothingFromTheFirstHourOldSpotOn)
{
    SpotStore store;
    store.add("OLDER", 3.550f, minutesAgo(90)); // older than the hour-old spot: off with it
    store.add("GONE", 3.540f, minutesAgo(61));
    store.add("GREY", 3.530f, minutesAgo(31));
    store.add("W20", 14.025f, minutesAgo(20)); // another band: skipped, no stop
    store.add("WHITE", 3.520f, minutesAgo(11));
    store.add("YELLOW", 3.510f, minutesAgo(9));
    const MapRange shown = mapScale(zoomRowRange(bandMapEdges("80"), zoomFrequencies(store))).shown;
    const std::vector<SpotPlacement> placed = bandMapPlacements(store, shown, Now);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(store.slot(placed[0].slot).call, "YELLOW");
    EXPECT_EQ(placed[0].colour, 0x0080FFFFu);
    EXPECT_EQ(store.slot(placed[1].slot).call, "WHITE");
    EXPECT_EQ(placed[1].colour, 0x00FFFFFFu);
    EXPECT_EQ(store.slot(placed[2].slot).call, "GREY");
    EXPECT_EQ(placed[2].colour, 0x00C0C0C0u);
    EXPECT_EQ(placed[0].slot, SpotStore::NewestSlot);
    EXPECT_NEAR(placed[0].fraction, 0.0 + 0.001 / (3.551 - 3.509), 1e-3) << "the zoom keeps a kHz each side";
}

TEST(BandMapPlacements, TheMapShowsTheCurrentBandsSpotsOnlyAndNoWithdrawnOne)
{
    SpotStore store;
    store.add("K7ABC", 7.025f, minutesAgo(1));
    store.add("K1ABC", 14.025f, minutesAgo(1));
    store.add("K2ABC", 14.030f, minutesAgo(1));
    store.withdraw(SpotStore::NewestSlot);
    const auto callsOn = [&](const std::string& band) {
        std::vector<std::string> calls;
        const MapRange shown = mapScale(zoomRowRange(bandMapEdges(band), zoomFrequencies(store))).shown;
        for (const SpotPlacement& p : bandMapPlacements(store, shown, Now)) {
            calls.push_back(store.slot(p.slot).call);
        }
        return calls;
    };
    EXPECT_EQ(callsOn("20"), std::vector<std::string> { "K1ABC" });
    EXPECT_EQ(callsOn("40"), std::vector<std::string> { "K7ABC" });
    EXPECT_TRUE(callsOn("17").empty()) << "the band map has no stretch for the WARC bands";
}

TEST(SpectrumPlacements, EachSpotOnItsBandsRowAndAnyHourOldSpotEndsThem)
{
    SpotStore store;
    store.add("BELOW", 28.020f, minutesAgo(70)); // behind the stop
    store.add("STOP", 0.0f, minutesAgo(65)); // withdrawn and old: still ends the list
    store.add("EDGE", 14.0f, minutesAgo(5)); // on a band edge: shown nowhere
    store.add("FIVE", 5.3585f, minutesAgo(5)); // no row
    store.add("WARC", 10.120f, minutesAgo(5));
    store.add("LOW", 18.070f, minutesAgo(4));
    store.add("HIGH", 18.160f, minutesAgo(3));
    std::array<MapRange, SpectrumRows.size()> shown {};
    for (std::size_t row = 0; row < SpectrumRows.size(); ++row) {
        shown[row] = mapScale(zoomRowRange(SpectrumRows[row].edges, zoomFrequencies(store))).shown;
    }
    EXPECT_EQ(shown[5], (MapRange { 18.069, 18.161 }));
    const std::vector<SpotPlacement> placed = spectrumPlacements(store, shown, Now);
    std::vector<std::pair<std::string, std::size_t>> rows;
    for (const SpotPlacement& p : placed) {
        rows.emplace_back(store.slot(p.slot).call, p.row);
    }
    EXPECT_EQ(rows, (std::vector<std::pair<std::string, std::size_t>> { { "HIGH", 5 }, { "LOW", 5 }, { "WARC", 3 } }));
    EXPECT_NEAR(placed[0].fraction, (18.160 - 18.069) / (18.161 - 18.069), 1e-4);
}

} // namespace
} // namespace brindle
