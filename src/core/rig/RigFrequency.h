#pragma once

#include "rig/RigCommands.h"
#include "rig/RigTuning.h"

#include <array>
#include <optional>
#include <string_view>

namespace brindle {

// Whether a frequency the rig reported can be a radio's dial at all. A reply hit by line noise, or cut and
// misread, decodes as 0 Hz, 688 kHz or 100 GHz just as readily as a good one decodes as 14.025 MHz; such a
// value must neither move the band nor go into the log.

// The amateur bands the program knows, those of the tune window's band buttons and in their order, each
// with the widest allocation any IARU region (or a country within one) gives it, so that no operator
// anywhere has a legal frequency taken for noise.
struct AmateurBand
{
    std::string_view band; // as the band button is captioned
    Hertz low;
    Hertz high;
};
inline constexpr std::array<AmateurBand, BandButtons.size()> AmateurBands = { {
    { "160", 1'800'000, 2'000'000 },
    { "80", 3'500'000, 4'000'000 },
    { "60", 5'250'000, 5'450'000 }, // the channels and national allocations around 5.3 MHz
    { "40", 7'000'000, 7'300'000 },
    { "30", 10'100'000, 10'150'000 },
    { "20", 14'000'000, 14'350'000 },
    { "17", 18'068'000, 18'168'000 },
    { "15", 21'000'000, 21'450'000 },
    { "12", 24'890'000, 24'990'000 },
    { "10", 28'000'000, 29'700'000 },
    { "6", 50'000'000, 54'000'000 },
    { "2", 144'000'000, 148'000'000 },
    { "1.25", 219'000'000, 225'000'000 },
    { "70", 420'000'000, 450'000'000 },
    { "33", 902'000'000, 928'000'000 },
    { "23", 1'240'000'000, 1'300'000'000 },
} };

// A dial a hair past an edge is still a reading of the band, not noise: the contest's own band table
// reaches that far past its edges, and the poll's single-precision MHz is up to 61 Hz off at 1.3 GHz.
inline constexpr Hertz BandEdgeToleranceHz = 100;

// The band (its button's caption) of a frequency the rig reported, in MHz as the poll holds it; the edges
// count, with the tolerance. Nothing off every band, and nothing for a value that is no number.
std::optional<std::string_view> amateurBandOf(float freqMHz);

} // namespace brindle
