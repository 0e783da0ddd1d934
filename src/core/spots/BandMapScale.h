#pragma once

#include "common/Clock.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

} // namespace brindle
