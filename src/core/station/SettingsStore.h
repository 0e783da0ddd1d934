#pragma once

#include <string>
#include <string_view>

namespace brindle {

// The per-user settings store shared by the maker's programs (application "KORVA_Software", section
// "Settings"). Every value is text; a key never written reads as the default given.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual std::string get(std::string_view key, std::string_view fallback) const = 0;
    virtual void save(std::string_view key, std::string_view value) = 0;
};

namespace settingkeys {
inline constexpr std::string_view UserCallSign = "UserCallSign";
inline constexpr std::string_view UserAddressName = "UserAddressName";
inline constexpr std::string_view UserAddressLine1 = "UserAddressLine1";
inline constexpr std::string_view UserAddressLine2 = "UserAddressLine2";
inline constexpr std::string_view UserEMail = "UserEMail";
inline constexpr std::string_view UserARRLSection = "UserARRLSection";
inline constexpr std::string_view UserClubName = "UserClubName";
inline constexpr std::string_view UserCWSelection = "UserCWSelection";
inline constexpr std::string_view UserCWLoopOffset = "UserCWLoopOffset";
// "1" when voice prompts without a recording are spoken.
inline constexpr std::string_view SpeakMissingPrompts = "SpeakMissingPrompts";
// The folder of the Ten Tec Pegasus control program's files.
inline constexpr std::string_view PegasusFolder = "RigPegasusFolder";
} // namespace settingkeys

} // namespace brindle
