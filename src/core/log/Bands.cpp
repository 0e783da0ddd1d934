#include "Bands.h"

#include "common/Text.h"

#include <cmath>
#include <cstdio>

namespace brindle {

std::optional<std::size_t> bandIndex(std::string_view band)
{
    for (std::size_t i = 0; i < BandCodes.size(); ++i) {
        if (equalsIgnoreCase(band, BandCodes[i])) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> nextBand(std::string_view band)
{
    const auto index = bandIndex(band);
    if (!index) {
        return std::nullopt;
    }
    return std::string(BandCodes[(*index + 1) % BandCodes.size()]);
}

std::optional<std::string_view> bandForFrequency(float freqMHz)
{
    struct Edges
    {
        float below;
        float above;
    };
    // Compared in single precision, as the rig's frequency is held: 7.3001 read from a rig is then
    // exactly the upper edge and outside the band.
    static constexpr std::array<Edges, BandCount> Limits = { {
        { 1.7999F, 2.0001F },
        { 3.4999F, 4.0001F },
        { 6.9999F, 7.3001F },
        { 13.9999F, 14.3501F },
        { 20.9999F, 21.4501F },
        { 27.9999F, 29.7001F },
    } };
    for (std::size_t i = 0; i < BandCount; ++i) {
        if (freqMHz > Limits[i].below && freqMHz < Limits[i].above) {
            return BandCodes[i];
        }
    }
    return std::nullopt;
}

std::string rigFrequencyText(float freqMHz)
{
    if (!std::isfinite(freqMHz)) {
        return {};
    }
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.3f", static_cast<double>(freqMHz));
    std::string text(buffer, static_cast<std::size_t>(length));
    // The log's pattern shows no digit before the point unless the value has one.
    if (text.starts_with("0.")) {
        text.erase(0, 1);
    } else if (text.starts_with("-0.")) {
        text.erase(1, 1);
    }
    return text;
}

} // namespace brindle
