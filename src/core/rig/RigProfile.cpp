#include "RigProfile.h"

#include "common/Text.h"

namespace brindle {

namespace {

constexpr std::optional<std::string_view> Kept;

constexpr RigProfile serialRig(std::string_view name, RigFamily family, RigModel model, std::string_view baud,
    std::string_view stop, std::string_view frequencyPoll, std::string_view modePoll, bool hex)
{
    return { name, family, model, baud, "8", stop, "N", frequencyPoll, modePoll, hex };
}

constexpr RigProfile keptRig(std::string_view name, RigFamily family, RigModel model)
{
    return { name, family, model, Kept, Kept, Kept, Kept, "", "", false };
}

constexpr std::string_view YaesuPoll = "00 00 00 02 10";

constexpr std::array<RigProfile, RigCount> Profiles = {
    keptRig(NoRig, RigFamily::None, RigModel::None),
    serialRig("Elecraft", RigFamily::Kenwood, RigModel::Elecraft, "4800", "2", "FA;", "MD;", false),
    serialRig("Icom", RigFamily::Icom, RigModel::Icom, "1200", "1", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true),
    serialRig(
        "Icom 735", RigFamily::Icom, RigModel::Icom735, "1200", "1", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true),
    serialRig("Kenwood", RigFamily::Kenwood, RigModel::Kenwood, "4800", "2", "FA;", "MD;", false),
    serialRig("Kenwood 2", RigFamily::Kenwood, RigModel::Kenwood2, "4800", "2", "IF;", "", false),
    serialRig("Ten Tec Omni VI", RigFamily::Icom, RigModel::OmniVi, "1200", "1", "FE FE 04 E0 03 FD",
        "FE FE 04 E0 04 FD", true),
    serialRig("Ten Tec Orion", RigFamily::Orion, RigModel::Orion, "56000", "1", "?AF", "?RMM", false),
    serialRig(
        "Ten Tec Fnt Pnl", RigFamily::FrontPanel, RigModel::FrontPanel, "56000", "1", "3F 41 0D", "3F 4D 0D", true),
    keptRig("Ten Tec Pegasus", RigFamily::Pegasus, RigModel::Pegasus),
    serialRig("Yaesu", RigFamily::Yaesu, RigModel::Yaesu, "4800", "2", "00 00 00 00 03", "", true),
    serialRig("Yaesu 757 GX II", RigFamily::Yaesu, RigModel::Yaesu757, "4800", "2", "00 00 00 00 10", "", true),
    serialRig("Yaesu 890", RigFamily::Yaesu, RigModel::Yaesu890, "4800", "2", YaesuPoll, "", true),
    serialRig("Yaesu 920", RigFamily::Yaesu, RigModel::Yaesu920, "4800", "2", YaesuPoll, "", true),
    serialRig("Yaesu 990", RigFamily::Yaesu, RigModel::Yaesu990, "4800", "2", YaesuPoll, "", true),
    serialRig("Yaesu 1000 D", RigFamily::Yaesu, RigModel::Yaesu1000D, "4800", "2", YaesuPoll, "", true),
    serialRig("Yaesu 1000", RigFamily::Yaesu, RigModel::Yaesu1000, "4800", "2", YaesuPoll, "", true),
    RigProfile {
        "Yaesu FTdx9000", RigFamily::Ftdx9000, RigModel::Ftdx9000, "4800", Kept, Kept, Kept, "FA;", "MD0;", false },
    keptRig("Other", RigFamily::Other, RigModel::Other),
    keptRig(RigctldRigName, RigFamily::Rigctld, RigModel::Rigctld),
};

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

RigModel rigModel(std::string_view name)
{
    const RigProfile* profile = findRigProfile(name);
    return profile ? profile->model : RigModel::None;
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
    const bool icomNote = profile->model == RigModel::Icom || profile->model == RigModel::Icom735;
    return { icomNote, profile->family == RigFamily::Other };
}

RigChoice rigChoiceOnLoad(std::string_view name)
{
    return { rigModel(name) == RigModel::Icom, rigFamily(name) == RigFamily::Other };
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
