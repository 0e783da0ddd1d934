#include "Bands.h"

#include "common/Text.h"

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

} // namespace brindle
