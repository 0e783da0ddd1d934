#include "RigFrequency.h"

#include <cmath>
#include <cstddef>

namespace brindle {

namespace {

// One table of bands for the tune window and for the readings: a band button stands inside its band.
constexpr bool bandButtonsAreInsideTheirBands()
{
    for (std::size_t i = 0; i < AmateurBands.size(); ++i) {
        const AmateurBand& band = AmateurBands[i];
        if (band.band != BandButtons[i].caption || band.low >= band.high || BandButtons[i].hertz < band.low
            || BandButtons[i].hertz > band.high) {
            return false;
        }
    }
    return true;
}
static_assert(bandButtonsAreInsideTheirBands(), "AmateurBands must follow BandButtons band for band");

} // namespace

std::optional<std::string_view> amateurBandOf(float freqMHz)
{
    if (!std::isfinite(freqMHz)) {
        return std::nullopt;
    }
    const Hertz hertz = hertzFromMHz(static_cast<double>(freqMHz));
    for (const AmateurBand& band : AmateurBands) {
        if (hertz >= band.low - BandEdgeToleranceHz && hertz <= band.high + BandEdgeToleranceHz) {
            return band.band;
        }
    }
    return std::nullopt;
}

} // namespace brindle
