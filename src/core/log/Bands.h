#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// The contest's bands, held everywhere as the wavelength in metres. This order is the order of every
// per-band loop, display and menu, and the cycle of the band label.
inline constexpr std::size_t BandCount = 6;
inline constexpr std::array<std::string_view, BandCount> BandCodes = { "160", "80", "40", "20", "15", "10" };

// Position of a band code in BandCodes, compared without regard to case; nothing for any other text.
std::optional<std::size_t> bandIndex(std::string_view band);

// The band after this one in the cycle ("10" is followed by "160"); nothing for a text that is no band.
std::optional<std::string> nextBand(std::string_view band);

// The band a rig's frequency (MHz) lies in; nothing outside the contest's bands. The edges are exclusive
// and a hair outside each band, so a rig reading 7.300 still counts as 40 m.
std::optional<std::string_view> bandForFrequency(float freqMHz);
// A rig's frequency (MHz) as the log keeps it: three decimals, no leading zeros or blanks ("14.025",
// ".500"); empty for a value that is no number.
std::string rigFrequencyText(float freqMHz);

inline constexpr std::string_view ModeCW = "CW";
inline constexpr std::string_view ModePhone = "PH";

} // namespace brindle
