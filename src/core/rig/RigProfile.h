#pragma once

#include "rig/RigSettings.h"

#include <array>
#include <chrono>
#include <optional>
#include <string_view>

namespace brindle {

// Rigs that are asked and answer alike. Kenwood: "Kenwood", "Kenwood 2", "Elecraft"; Icom: "Icom",
// "Icom 735", "Ten Tec Omni VI"; Yaesu: the Yaesu rigs but the FTdx9000.
enum class RigFamily
{
    None,
    Kenwood,
    Icom,
    Yaesu,
    Ftdx9000,
    FrontPanel, // "Ten Tec Fnt Pnl"
    Orion, // "Ten Tec Orion"
    Pegasus, // "Ten Tec Pegasus": read from a file, never polled
    Other, // the operator's own poll strings
    Rigctld, // "Hamlib rigctld", over the network
};

// Each rig of the list. The families ask alike, but within one the replies and the set commands still
// differ from rig to rig, so the decoders and the command builders go by the model.
enum class RigModel
{
    None,
    Elecraft,
    Icom,
    Icom735,
    Kenwood,
    Kenwood2,
    OmniVi,
    Orion,
    FrontPanel,
    Pegasus,
    Yaesu,
    Yaesu757,
    Yaesu890,
    Yaesu920,
    Yaesu990,
    Yaesu1000D,
    Yaesu1000,
    Ftdx9000,
    Other,
    Rigctld,
};

// What choosing a rig sets. An empty optional leaves the window's value as it was.
struct RigProfile
{
    std::string_view name;
    RigFamily family;
    RigModel model;
    std::optional<std::string_view> baud;
    std::optional<std::string_view> dataBits;
    std::optional<std::string_view> stopBits;
    std::optional<std::string_view> parity;
    std::string_view frequencyPoll;
    std::string_view modePoll;
    bool convertToHex;
};

inline constexpr std::string_view NoRig = "None";
inline constexpr std::string_view RigctldRigName = "Hamlib rigctld";
inline constexpr std::string_view IcomNote = "Icom radio users will have to replace the 64 in the string with the ID "
                                             "for your particular radio.  Please check your Icom user's manual "
                                             "for details.";

inline constexpr std::size_t RigCount = 20;

// Every rig in the order of the window's list.
const std::array<RigProfile, RigCount>& rigProfiles();
std::array<std::string_view, RigCount> rigNames();
// The profile of a rig name, compared without regard to case; nothing for a name on no list. Polling,
// decoding and the set commands all find the rig here, so a name edited into another case in the settings
// file works everywhere or, when it names no rig, nowhere.
const RigProfile* findRigProfile(std::string_view name);
// A name on no list is polled as no rig: nothing is ever sent to a radio that was not chosen.
RigFamily rigFamily(std::string_view name);
// The same for the model: a name on no list is no rig, decoded and tuned as "None".
RigModel rigModel(std::string_view name);

// What the window shows besides the values.
struct RigChoice
{
    bool icomNote = false;
    bool convertToHexEnabled = false; // only "Other" lets the operator choose

    bool operator==(const RigChoice&) const = default;
};

// Choosing a rig in the list: both poll strings and "Convert to Hex" start empty, then the profile's
// values are set and the cells it keeps keep theirs. A name on no list changes the rig name only.
RigChoice applyProfile(std::string_view name, RigSettings& settings);
// What reading the settings file shows: the note only for "Icom" itself, as the window always did.
RigChoice rigChoiceOnLoad(std::string_view name);

// The poll timer's interval: half the rate on the window, since a send and a read make one poll.
// Nothing for a letter that is no rate.
std::optional<std::chrono::milliseconds> pollInterval(std::string_view rate);

} // namespace brindle
