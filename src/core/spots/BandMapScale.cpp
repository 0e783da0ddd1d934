#include "BandMapScale.h"

#include "common/DateText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace brindle {

namespace {

struct BandEdges
{
    std::string_view band;
    MapRange edges;
};

constexpr std::array<BandEdges, 10> BandMapBands { {
    { "160", { 1.8, 2 } },
    { "80", { 3.5, 4 } },
    { "40", { 7, 7.3 } },
    { "20", { 14, 14.35 } },
    { "15", { 21, 21.45 } },
    { "10", { 28, 29.7 } },
    { "6", { 50, 54 } },
    { "2", { 144, 148 } },
    { "1.25", { 219, 225 } },
    { "440", { 420, 450 } },
} };

constexpr double KilohertzMargin = 0.001;

double toThousandth(double value)
{
    return std::round(value * 1000) / 1000;
}

} // namespace

MapRange bandMapEdges(std::string_view band)
{
    for (const BandEdges& b : BandMapBands) {
        if (b.band == band) {
            return b.edges;
        }
    }
    return {};
}

MapRange zoomRowRange(MapRange edges, std::span<const float> frequenciesMHz)
{
    std::optional<double> smallest;
    std::optional<double> largest;
    for (const float f : frequenciesMHz) {
        const double freq = f;
        if (!(edges.low < freq && freq < edges.high)) {
            continue;
        }
        smallest = std::min(smallest.value_or(freq), freq);
        largest = std::max(largest.value_or(freq), freq);
    }
    if (smallest && largest && *largest > *smallest) {
        return { *smallest - KilohertzMargin, *largest + KilohertzMargin };
    }
    return edges;
}

std::string mapFrequencyText(double freqMHz)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", toThousandth(freqMHz));
    std::string written = text;
    // No zero before the point below 1 MHz: ".000".
    if (written.starts_with("0.")) {
        written.erase(0, 1);
    } else if (written.starts_with("-0.")) {
        written.erase(1, 1);
    }
    return written;
}

MapScale mapScale(MapRange range)
{
    MapScale scale;
    for (std::size_t i = 0; i < scale.ticks.size(); ++i) {
        scale.ticks[i] = mapFrequencyText(range.low + static_cast<double>(i) * 0.25 * (range.high - range.low));
    }
    scale.shown = { toThousandth(range.low), toThousandth(range.high) };
    return scale;
}

std::optional<double> mapFraction(const MapRange& shown, double freqMHz)
{
    if (!(shown.high > shown.low)) {
        return std::nullopt;
    }
    return (freqMHz - shown.low) / (shown.high - shown.low);
}

std::optional<std::uint32_t> spotAgeColour(long long ageSeconds)
{
    if (ageSeconds < 600) {
        return 0x0080FFFF; // light yellow
    }
    if (ageSeconds < 1800) {
        return 0x00FFFFFF;
    }
    if (ageSeconds < SpotShownForSeconds) {
        return 0x00C0C0C0;
    }
    return std::nullopt;
}

std::string spotTipText(std::string_view call, float freqMHz, const DateTime& receivedAtLocal, double utcHours)
{
    return std::string(call) + "  " + mapFrequencyText(freqMHz) + "  "
        + formatTime(addHours(receivedAtLocal, utcHours));
}

std::optional<std::size_t> spectrumRowOf(double freqMHz)
{
    for (std::size_t row = 0; row < SpectrumRows.size(); ++row) {
        if (SpectrumRows[row].edges.low < freqMHz && freqMHz < SpectrumRows[row].edges.high) {
            return row;
        }
    }
    return std::nullopt;
}

std::vector<float> zoomFrequencies(const SpotStore& store)
{
    std::vector<float> frequencies;
    frequencies.reserve(SpotStore::SlotCount - 1);
    for (int slot = 1; slot < SpotStore::SlotCount; ++slot) {
        frequencies.push_back(store.slot(slot).freqMHz);
    }
    return frequencies;
}

std::vector<SpotPlacement> bandMapPlacements(const SpotStore& store, const MapRange& shown, const DateTime& now)
{
    std::vector<SpotPlacement> placed;
    for (int slot = SpotStore::NewestSlot; slot >= 0; --slot) {
        const SpotRecord& spot = store.slot(slot);
        const double freq = spot.freqMHz;
        if (!(shown.low < freq && freq < shown.high)) {
            continue;
        }
        const std::optional<double> fraction = mapFraction(shown, freq);
        if (!fraction || !spot.receivedAt) {
            continue;
        }
        const std::optional<std::uint32_t> colour = spotAgeColour(secondsBetween(*spot.receivedAt, now));
        if (!colour) {
            break;
        }
        placed.push_back({ slot, *fraction, *colour, 0 });
    }
    return placed;
}

std::vector<SpotPlacement> spectrumPlacements(
    const SpotStore& store, const std::array<MapRange, SpectrumRows.size()>& shownRows, const DateTime& now)
{
    std::vector<SpotPlacement> placed;
    for (int slot = SpotStore::NewestSlot; slot >= 0; --slot) {
        const SpotRecord& spot = store.slot(slot);
        if (!spot.receivedAt) {
            continue;
        }
        const std::optional<std::uint32_t> colour = spotAgeColour(secondsBetween(*spot.receivedAt, now));
        if (!colour) {
            break;
        }
        const std::optional<std::size_t> row = spectrumRowOf(spot.freqMHz);
        if (!row) {
            continue;
        }
        if (const std::optional<double> fraction = mapFraction(shownRows[*row], spot.freqMHz)) {
            placed.push_back({ slot, *fraction, *colour, *row });
        }
    }
    return placed;
}

} // namespace brindle
