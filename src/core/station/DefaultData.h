#pragma once

#include "common/Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace brindle {

// The default-data file "inprefDX.txt": the own station and the main window's preferences, seventeen
// values one per line. The program has no built-in values for them; the file ships with it.
struct DefaultData
{
    std::string ownCall;
    std::string power; // as typed
    float utcOffsetHours = 0;
    std::string mode; // "CW" or "PH"
    std::string band;
    float totalOnSeconds = 0;
    std::string country;
    std::string continent;
    float longitude = 0; // degrees, west positive
    float latitude = 0; // degrees, north positive
    std::uint8_t formSizePercent = 100;
    std::uint8_t voiceNavLevel = 0;
    std::string rigName; // "None" when there is no rig
    std::uint8_t taskbarOption = 0;
    std::uint8_t listPreviousContacts = 0;
    std::uint32_t workedColour = 0; // 0x00BBGGRR
    std::uint32_t remainingColour = 0; // 0x00BBGGRR

    bool operator==(const DefaultData&) const = default;
};

inline constexpr std::string_view DefaultDataFileName = "inprefDX.txt";
inline constexpr std::string_view DefaultDataErrorTitle = "Error opening default data.";
inline constexpr std::string_view DefaultDataErrorText
    = "Error loading default data .  Check to make sure inpref.txt is in your working directory.";

// Reads the seventeen values; an Error names the first line that is missing or of the wrong type.
Result<DefaultData> parseDefaultData(std::string_view content);

// Text in double quotes, numbers bare with "." as the decimal mark, CR LF after each line.
std::string formatDefaultData(const DefaultData& data);

// A single-precision value in its shortest form that reads back to the same value ("5", "-4.5").
std::string formatSingle(float value);

} // namespace brindle
