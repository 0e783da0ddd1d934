#include "RigTuning.h"

#include "common/KeyFilters.h"

namespace brindle {

namespace {

// The scan shows the frequency to 10 Hz.
constexpr std::size_t ScanDecimals = 5;

} // namespace

std::optional<std::string> steppedText(std::string_view text, Hertz change)
{
    const std::optional<Hertz> hertz = hertzFromText(text);
    if (!hertz) {
        return std::nullopt;
    }
    const Hertz stepped = *hertz + change;
    if (stepped < 0 || stepped > MaxHertz) {
        return std::nullopt;
    }
    return exactFrequencyText(stepped);
}

std::optional<std::string> scanNext(
    std::string_view freqText, Hertz stepHz, std::string_view fromText, std::string_view toText)
{
    const std::optional<Hertz> from = hertzFromText(fromText);
    const std::optional<Hertz> to = hertzFromText(toText);
    const std::optional<Hertz> hertz = hertzFromText(freqText);
    if (!from || !to || !hertz) {
        return std::nullopt;
    }
    Hertz next = *hertz + stepHz;
    if (next > *to) {
        next = *from;
    }
    if (next < 0) {
        return std::nullopt;
    }
    return decimalMHzText(tensOfHertz(next), ScanDecimals, true);
}

int frequencyFieldKey(int keyAscii)
{
    return digitsAnd(keyAscii, "./");
}

} // namespace brindle
