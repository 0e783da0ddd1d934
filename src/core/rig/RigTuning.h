#pragma once

#include "rig/RigCommands.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// The tune window: a frequency field, band and step buttons, mode buttons and a slow scan over a range.

// A band button puts a frequency in the band's usual operating part into the field, then tunes there.
struct BandButton
{
    std::string_view caption;
    Hertz hertz;
};
inline constexpr std::array<BandButton, 16> BandButtons = { {
    { "160", 1'900'000 },
    { "80", 3'750'000 },
    { "60", 5'368'000 },
    { "40", 7'150'000 },
    { "30", 10'130'000 },
    { "20", 14'175'000 },
    { "17", 18'118'000 },
    { "15", 21'225'000 },
    { "12", 24'940'000 },
    { "10", 28'500'000 },
    { "6", 52'000'000 },
    { "2", 146'000'000 },
    { "1.25", 223'500'000 },
    { "70", 435'000'000 },
    { "33", 915'000'000 },
    { "23", 1'270'000'000 },
} };

// A step button moves the field's frequency; the up buttons stand in the upper row, the down ones under
// them, in the order of this table.
struct StepButton
{
    std::string_view caption;
    Hertz change;
    bool up;
};
inline constexpr std::array<StepButton, 10> StepButtons = { {
    { "10 Hz", 10, true },
    { "10 Hz", -10, false },
    { "1 MHz", 1'000'000, true },
    { "1 MHz", -1'000'000, false },
    { "5 KHz", 5'000, true },
    { "5 KHz", -5'000, false },
    { "1 KHz", 1'000, true },
    { "1 KHz", -1'000, false },
    { "100 Hz", 100, true },
    { "100 Hz", -100, false },
} };

struct ScanStep
{
    std::string_view caption;
    Hertz hertz;
};
inline constexpr std::array<ScanStep, 5> ScanSteps = { {
    { "500 Hz", 500 },
    { "100 Hz", 100 },
    { "30 Hz", 30 },
    { "10 Hz", 10 },
    { "2.5 KHz", 2'500 },
} };
inline constexpr std::size_t DefaultScanStep = 3; // "10 Hz"
inline constexpr std::string_view DefaultScanFrom = "1.8";
inline constexpr std::string_view DefaultScanTo = "54";
inline constexpr int ScanIntervalMs = 299;

// The field after a step: its frequency moved by the change, to the hertz ("14.17501"). Nothing when the
// field holds no frequency, or when the step would take it below zero or past MaxHertz; the field then
// stays as it is and the rig is not tuned.
std::optional<std::string> steppedText(std::string_view text, Hertz change);

// The field after one scan tick: a step up from the field's frequency, back to the start of the range
// once past its end (the end itself is scanned). Written to five decimals, the point kept after a whole
// number ("14.00001", "14."). Nothing when the field or either end of the range holds no frequency, or
// when a step down would go below zero.
std::optional<std::string> scanNext(
    std::string_view freqText, Hertz stepHz, std::string_view fromText, std::string_view toText);

// The frequency fields take Backspace, the digits, "." and "/" (which makes the text no frequency, and
// so greys the step buttons); every other key is dropped.
int frequencyFieldKey(int keyAscii);

} // namespace brindle
