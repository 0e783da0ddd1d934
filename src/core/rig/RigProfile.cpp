#include "RigProfile.h"

#include "common/Text.h"

namespace brindle {

namespace {

constexpr std::optional<std::string_view> Kept;

constexpr RigProfile serialRig(std::string_view name, RigFamily family, std::string_view baud, std::string_view stop,
    std::string_view frequencyPoll, std::string_view modePoll, bool hex)
{
    return { name, family, baud, "8", stop, "N", frequencyPoll, modePoll, hex };
}

constexpr RigProfile keptRig(std::string_view name, RigFamily family)
{
    return { name, family, Kept, Kept, Kept, Kept, "", "", false };
}

constexpr std::string_view YaesuPoll = "00 00 00 02 10";

constexpr std::array<RigProfile, RigCount> Profiles = {
    keptRig(NoRig, RigFamily::None),
    serialRig("Elecraft", RigFamily::Kenwood, "4800", "2", "FA;", "MD;", false),
    serialRig("Icom", RigFamily::Icom, "1200", "1", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true),
    serialRig("Icom 735", RigFamily::Icom, "1200", "1", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true),
    serialRig("Kenwood", RigFamily::Kenwood, "4800", "2", "FA;", "MD;", false),
    serialRig("Kenwood 2", RigFamily::Kenwood, "4800", "2", "IF;", "", false),
    serialRig("Ten Tec Omni VI", RigFamily::Icom, "1200", "1", "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true),
    serialRig("Ten Tec Orion", RigFamily::Orion, "56000", "1", "?AF", "?RMM", false),
    serialRig("Ten Tec Fnt Pnl", RigFamily::FrontPanel, "56000", "1", "3F 41 0D", "3F 4D 0D", true),
    keptRig("Ten Tec Pegasus", RigFamily::Pegasus),
    serialRig("Yaesu", RigFamily::Yaesu, "4800", "2", "00 00 00 00 03", "", true),
    serialRig("Yaesu 757 GX II", RigFamily::Yaesu, "4800", "2", "00 00 00 00 10", "", true),
    serialRig("Yaesu 890", RigFamily::Yaesu, "4800", "2", YaesuPoll, "", true),
    serialRig("Yaesu 920", RigFamily::Yaesu, "4800", "2", YaesuPoll, "", true),
    serialRig("Yaesu 990", RigFamily::Yaesu, "4800", "2", YaesuPoll, "", true),
    serialRig("Yaesu 1000 D", RigFamily::Yaesu, "4800", "2", YaesuPoll, "", true),
    serialRig("Yaesu 1000", RigFamily::Yaesu, "4800", "2", YaesuPoll, "", true),
    RigProfile { "Yaesu FTdx9000", RigFamily::Ftdx9000, "4800", Kept, Kept, Kept, "FA;", "MD0;", false },
    keptRig("Other", RigFamily::Other),
    keptRig(RigctldRigName, RigFamily::Rigctld),
};

bool isIcomName(std::string_view name)
{
    return equalsIgnoreCase(name, "Icom");
}

void keepOrSet(std::string& value, std::optional<std::string_view> profileValue)
{
    if (profileValue) {
        value = *profileValue;
    }
}

} // namespace

const std::array<RigProfile, RigCount>& rigProfiles()
{
    return Profiles;
}

std::array<std::string_view, RigCount> rigNames()
{
    std::array<std::string_view, RigCount> names;
    for (std::size_t i = 0; i < Profiles.size(); ++i) {
        names[i] = Profiles[i].name;
    }
    return names;
}

const RigProfile* findRigProfile(std::string_view name)
{
    for (const RigProfile& profile : Profiles) {
        if (equalsIgnoreCase(profile.name, name)) {
            return &profile;
        }
    }
    return nullptr;
}

RigFamily rigFamily(std::string_view name)
{
    const RigProfile* profile = findRigProfile(name);
    return profile ? profile->family : RigFamily::None;
}

RigChoice applyProfile(std::string_view name, RigSettings& settings)
{
    const RigProfile* profile = findRigProfile(name);
    settings.rigName = profile ? profile->name : name;
    settings.frequencyPoll.clear();
    settings.modePoll.clear();
    settings.convertToHex = false;
    if (profile == nullptr) {
        return {};
    }
    keepOrSet(settings.baud, profile->baud);
    keepOrSet(settings.dataBits, profile->dataBits);
    keepOrSet(settings.stopBits, profile->stopBits);
    keepOrSet(settings.parity, profile->parity);
    settings.frequencyPoll = profile->frequencyPoll;
    settings.modePoll = profile->modePoll;
    settings.convertToHex = profile->convertToHex;
    return { isIcomName(name) || equalsIgnoreCase(name, "Icom 735"), profile->family == RigFamily::Other };
}

RigChoice rigChoiceOnLoad(std::string_view name)
{
    return { isIcomName(name), rigFamily(name) == RigFamily::Other };
}

std::optional<std::chrono::milliseconds> pollInterval(std::string_view rate)
{
    using std::chrono::milliseconds;
    if (rate == "F") {
        return milliseconds(50);
    }
    if (rate == "M") {
        return milliseconds(250);
    }
    if (rate == "S") {
        return milliseconds(1000);
    }
    if (rate == "R") {
        return milliseconds(5000);
    }
    return std::nullopt;
}

} // namespace brindle
