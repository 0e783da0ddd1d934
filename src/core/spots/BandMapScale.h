#pragma once

#include "common/Clock.h"
#include "spots/SpotStore.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// A stretch of spectrum a map shows, in MHz. Both edges 0: a band the maps have no stretch for.
struct MapRange
{
    double low = 0;
    double high = 0;

    bool operator==(const MapRange&) const = default;
};

// The main window's band map: the stretch of the current band, by the band's text ("20", "1.25", ...).
MapRange bandMapEdges(std::string_view band);

// Narrowed to the spots inside it (strictly), with a kilohertz to spare at each end, once at least two
// different frequencies are there; the whole range otherwise. Only slots 1 to 49 count: the caller
// passes their frequencies.
MapRange zoomRowRange(MapRange edges, std::span<const float> frequenciesMHz);

// The five frequencies under an axis, at its ends, quarters and middle, as they are written
// ("14.025", ".500" below 1 MHz), and the range they mark, read back from the end ticks' texts so that
// a label is placed on the scale the operator sees.
struct MapScale
{
    std::array<std::string, 5> ticks;
    MapRange shown;
};
MapScale mapScale(MapRange range);

// A frequency to the nearest kHz as the maps write it: "14.025", ".136".
std::string mapFrequencyText(double freqMHz);

// Where a frequency falls along the shown range: 0 at the low end, 1 at the high end. Nothing for a
// range of no width.
std::optional<double> mapFraction(const MapRange& shown, double freqMHz);

// A spot's label colour by its age, 0x00BBGGRR: light yellow under ten minutes, white under thirty, light
// grey under sixty; nothing from an hour on, when it is no longer shown.
std::optional<std::uint32_t> spotAgeColour(long long ageSeconds);
inline constexpr long long SpotShownForSeconds = 3600;

// What a spot label says about itself: the call, the frequency and the spot's UTC time,
// "K1ABC  14.025  12:34:56".
std::string spotTipText(std::string_view call, float freqMHz, const DateTime& receivedAtLocal, double utcHours);

// The rows of the spectrum map, 160 m to 2 m, each with its band's edges.
struct SpectrumRow
{
    std::string_view band;
    MapRange edges;
};
inline constexpr std::array<SpectrumRow, 11> SpectrumRows { {
    { "160", { 1.8, 2 } },
    { "80", { 3.5, 4 } },
    { "40", { 7, 7.3 } },
    { "30", { 10.1, 10.15 } },
    { "20", { 14, 14.35 } },
    { "17", { 18.068, 18.168 } },
    { "15", { 21, 21.45 } },
    { "12", { 24.89, 24.99 } },
    { "10", { 28, 29.7 } },
    { "6", { 50, 54 } },
    { "2", { 144, 148 } },
} };

// The row whose band holds the frequency, strictly inside its edges; nothing outside every row.
std::optional<std::size_t> spectrumRowOf(double freqMHz);

// The frequencies the zoom looks at: slots 1 to 49. Slot 0's spot is the next to go.
std::vector<float> zoomFrequencies(const SpotStore& store);

// A spot to show: its slot, where along its row's axis, in which colour, on which row.
struct SpotPlacement
{
    int slot = 0;
    double fraction = 0;
    std::uint32_t colour = 0;
    std::size_t row = 0;

    bool operator==(const SpotPlacement&) const = default;
};

// The band map's spots, newest first: those strictly inside the shown range. The first of them an hour
// old or more ends the list, so that it and every older spot stay off the map.
std::vector<SpotPlacement> bandMapPlacements(const SpotStore& store, const MapRange& shown, const DateTime& now);

// The spectrum map's spots, newest first, each on the row of its band (by the band's fixed edges) and
// placed on that row's shown range. Any spot an hour old or more ends the list, on whatever row, even a
// withdrawn one or one outside every row.
std::vector<SpotPlacement> spectrumPlacements(
    const SpotStore& store, const std::array<MapRange, SpectrumRows.size()>& shownRows, const DateTime& now);

} // namespace brindle
