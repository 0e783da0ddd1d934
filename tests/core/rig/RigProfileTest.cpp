#include "rig/RigProfile.h"

#include "common/Text.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string_view>
#include <vector>

namespace brindle {
namespace {

// Values no profile sets, so a cell the profile keeps shows as these.
RigSettings unusualSettings()
{
    return { .baud = "19200",
        .parity = "E",
        .dataBits = "7",
        .stopBits = "1",
        .frequencyPoll = "old frequency",
        .modePoll = "old mode",
        .convertToHex = true };
}

// Baud, data bits, stop bits, parity, frequency poll, mode poll.
using ProfileValues = std::array<std::string_view, 6>;

ProfileValues profileValues(const RigSettings& s)
{
    return { s.baud, s.dataBits, s.stopBits, s.parity, s.frequencyPoll, s.modePoll };
}

TEST(RigProfiles, ChoosingEachRigSetsItsValuesAndKeepsTheRest)
{
    struct Case
    {
        const char* name;
        RigFamily family;
        ProfileValues values;
        bool hex;
        RigChoice choice;
    };
    const RigChoice icomNote { .icomNote = true };
    const RigChoice hexEnabled { .convertToHexEnabled = true };
    // "19200", "7", "1", "E": kept.
    const std::vector<Case> cases = {
        { "None", RigFamily::None, { "19200", "7", "1", "E", "", "" }, false, {} },
        { "Elecraft", RigFamily::Kenwood, { "4800", "8", "2", "N", "FA;", "MD;" }, false, {} },
        { "Icom", RigFamily::Icom, { "1200", "8", "1", "N", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD" }, true,
            icomNote },
        { "Icom 735", RigFamily::Icom, { "1200", "8", "1", "N", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD" }, true,
            icomNote },
        { "Kenwood", RigFamily::Kenwood, { "4800", "8", "2", "N", "FA;", "MD;" }, false, {} },
        { "Kenwood 2", RigFamily::Kenwood, { "4800", "8", "2", "N", "IF;", "" }, false, {} },
        { "Ten Tec Omni VI", RigFamily::Icom, { "1200", "8", "1", "N", "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD" }, true,
            {} },
        { "Ten Tec Orion", RigFamily::Orion, { "56000", "8", "1", "N", "?AF", "?RMM" }, false, {} },
        { "Ten Tec Fnt Pnl", RigFamily::FrontPanel, { "56000", "8", "1", "N", "3F 41 0D", "3F 4D 0D" }, true, {} },
        { "Ten Tec Pegasus", RigFamily::Pegasus, { "19200", "7", "1", "E", "", "" }, false, {} },
        { "Yaesu", RigFamily::Yaesu, { "4800", "8", "2", "N", "00 00 00 00 03", "" }, true, {} },
        { "Yaesu 757 GX II", RigFamily::Yaesu, { "4800", "8", "2", "N", "00 00 00 00 10", "" }, true, {} },
        { "Yaesu 890", RigFamily::Yaesu, { "4800", "8", "2", "N", "00 00 00 02 10", "" }, true, {} },
        { "Yaesu 920", RigFamily::Yaesu, { "4800", "8", "2", "N", "00 00 00 02 10", "" }, true, {} },
        { "Yaesu 990", RigFamily::Yaesu, { "4800", "8", "2", "N", "00 00 00 02 10", "" }, true, {} },
        { "Yaesu 1000 D", RigFamily::Yaesu, { "4800", "8", "2", "N", "00 00 00 02 10", "" }, true, {} },
        { "Yaesu 1000", RigFamily::Yaesu, { "4800", "8", "2", "N", "00 00 00 02 10", "" }, true, {} },
        { "Yaesu FTdx9000", RigFamily::Ftdx9000, { "4800", "7", "1", "E", "FA;", "MD0;" }, false, {} },
        { "Other", RigFamily::Other, { "19200", "7", "1", "E", "", "" }, false, hexEnabled },
        { "Hamlib rigctld", RigFamily::Rigctld, { "19200", "7", "1", "E", "", "" }, false, {} },
    };
    const auto names = rigNames();
    ASSERT_EQ(names.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(names[i], c.name) << "the list's order";
        RigSettings s = unusualSettings();
        const RigChoice choice = applyProfile(c.name, s);
        EXPECT_EQ(s.rigName, c.name);
        EXPECT_EQ(rigFamily(c.name), c.family) << c.name;
        EXPECT_EQ(profileValues(s), c.values) << c.name;
        EXPECT_EQ(s.convertToHex, c.hex) << c.name;
        EXPECT_TRUE(choice == c.choice) << c.name;
    }
}

TEST(RigProfiles, ChoosingTouchesNothingBeyondTheProfile)
{
    RigSettings s;
    s.port = 7;
    s.power = "D";
    s.pollRate = "S";
    s.useFrequency = true;
    s.modeBy = ModeBy::Ignore;
    RigSettings expected = s;
    (void)applyProfile("Kenwood", s);
    expected.rigName = "Kenwood";
    expected.baud = "4800";
    expected.stopBits = "2";
    expected.frequencyPoll = "FA;";
    expected.modePoll = "MD;";
    EXPECT_EQ(s, expected);
}

TEST(RigProfiles, ANameOnNoListIsNoRigAndSetsNothing)
{
    RigSettings s = unusualSettings();
    const RigChoice choice = applyProfile("Collins KWM-2", s);
    EXPECT_EQ(rigFamily("Collins KWM-2"), RigFamily::None);
    EXPECT_EQ(s.rigName, "Collins KWM-2");
    EXPECT_EQ(s.baud, "19200");
    EXPECT_TRUE(s.frequencyPoll.empty());
    EXPECT_FALSE(s.convertToHex);
    EXPECT_FALSE(choice.icomNote);
    EXPECT_EQ(rigFamily("kenwood 2"), RigFamily::Kenwood) << "a name edited into another case still polls";
}

// The decoders and the set commands tell the rigs apart by the model: two rigs sharing one would be read and
// tuned alike.
TEST(RigProfiles, EachRigIsAModelOfItsOwnFoundInAnyCase)
{
    std::set<RigModel> models;
    for (const RigProfile& profile : rigProfiles()) {
        EXPECT_TRUE(models.insert(profile.model).second) << profile.name;
        EXPECT_EQ(rigModel(profile.name), profile.model) << profile.name;
        EXPECT_EQ(rigModel(toUpperAscii(profile.name)), profile.model) << profile.name;
    }
    EXPECT_EQ(rigModel("icom 735"), RigModel::Icom735);
    EXPECT_EQ(rigModel("TEN TEC ORION"), RigModel::Orion);
    for (const std::string_view name : { "Collins KWM-2", "", " Kenwood", "Icom735" }) {
        EXPECT_EQ(rigModel(name), RigModel::None) << '"' << name << '"';
    }
}

TEST(RigProfiles, LoadingShowsTheIcomNoteOnlyForIcomItself)
{
    EXPECT_TRUE(rigChoiceOnLoad("Icom").icomNote);
    EXPECT_FALSE(rigChoiceOnLoad("Icom 735").icomNote);
    EXPECT_TRUE(rigChoiceOnLoad("Other").convertToHexEnabled);
    EXPECT_FALSE(rigChoiceOnLoad("Icom").convertToHexEnabled);
}

TEST(RigProfiles, PollIntervalIsHalfTheRateShown)
{
    using std::chrono::milliseconds;
    EXPECT_EQ(pollInterval("F"), milliseconds(50));
    EXPECT_EQ(pollInterval("M"), milliseconds(250)) << "500 ms";
    EXPECT_EQ(pollInterval("S"), milliseconds(1000));
    EXPECT_EQ(pollInterval("R"), milliseconds(5000));
    EXPECT_EQ(pollInterval(""), std::nullopt);
    EXPECT_EQ(pollInterval("X"), std::nullopt);
}

} // namespace
} // namespace brindle
