#include "rig/RigChange.h"

#include "common/Text.h"
#include "rig/RigProfile.h"

#include "support/ByteString.h"
#include "support/RigContexts.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

void PrintTo(const RigStep& step, std::ostream* out)
{
    static constexpr const char* Names[]
        = { "DiscardReceived", "WaitUntilSent", "Pause", "WriteMode", "WriteFrequency", "WritePegasusFile" };
    *out << Names[static_cast<int>(step.kind)];
    if (step.kind == RigStep::Kind::Pause) {
        *out << " " << step.ms;
    }
    if (!step.bytes.empty()) {
        *out << " \"" << step.bytes << "\"";
    }
}

namespace {

using Kind = RigStep::Kind;

const RigStep Discard { Kind::DiscardReceived, 0, {} };
const RigStep Wait { Kind::WaitUntilSent, 0, {} };

RigStep pause(int ms)
{
    return { Kind::Pause, ms, {} };
}

RigStep writeMode(std::string bytes)
{
    return { Kind::WriteMode, 0, std::move(bytes) };
}

RigStep writeFrequency(std::string bytes)
{
    return { Kind::WriteFrequency, 0, std::move(bytes) };
}

struct StepsCase
{
    std::string_view rig;
    std::string_view mhzOrMode;
    std::vector<RigStep> steps;
};

const BandPlanModes Modes(parseBandPlan("\"2012\"\r\n"
                                        "\"160\",\"E\",\"PH\",1.800,2.000\r\n"
                                        "\"40\",\"E\",\"CW\",7.000,7.125\r\n"
                                        "\"40\",\"E\",\"PH\",7.125,7.300\r\n"
                                        "\"20\",\"E\",\"CW\",14.000,14.150\r\n"
                                        "\"20\",\"E\",\"PH\",14.150,14.350\r\n")
                              .plan);

TEST(RigChangeTest, aFrequencyChangeSetsTheBandPlansModeThenTheFrequencyAfterTheRigsPauses)
{
    const StepsCase cases[] = {
        { "Kenwood", "14.025",
            { Discard, Wait, pause(99), writeMode("MD3;"), Wait, Wait, pause(205), writeFrequency("FA00014025000;"),
                Wait } },
        { "Kenwood", "7.2",
            { Discard, Wait, pause(99), writeMode("MD1;"), Wait, Wait, pause(205), writeFrequency("FA00007200000;"),
                Wait } },
        { "Elecraft", "14.2",
            { Discard, Wait, pause(99), writeMode("MD2;"), Wait, Wait, pause(205), pause(1000),
                writeFrequency("FA00014200000;"), Wait } },
        { "Icom", "14.025",
            { Discard, Wait, pause(99), writeMode(test::bytes({ 0xFE, 0xFE, 0x64, 0xE0, 0x06, 0x03, 0xFD })), Wait,
                Wait, pause(140),
                writeFrequency(test::bytes({ 0xFE, 0xFE, 0x64, 0xE0, 0x05, 0x00, 0x50, 0x02, 0x14, 0x00, 0xFD })),
                Wait } },
        { "Ten Tec Omni VI", "14.025",
            { Discard, Wait, pause(99), writeMode(test::bytes({ 0xFE, 0xFE, 0x04, 0xE0, 0x06, 0x03, 0xFD })), Wait,
                Wait, pause(140), pause(220),
                writeFrequency(test::bytes({ 0xFE, 0xFE, 0x04, 0xE0, 0x05, 0x00, 0x50, 0x02, 0x14, 0x00, 0xFD })),
                Wait } },
        { "Yaesu 1000", "14.025",
            { Discard, Wait, pause(99), writeMode(test::bytes({ 0x00, 0x00, 0x00, 0x02, 0x0C })), Wait, Wait, pause(10),
                writeFrequency(test::bytes({ 0x00, 0x25, 0x40, 0x01, 0x0A })), Wait } },
        // A rig without a mode command still waits before the frequency, as any mode change does.
        { "Ten Tec Orion", "14.025",
            { Discard, Wait, pause(99), Wait, Wait, pause(205), writeFrequency("*AF14025000\r"), Wait } },
        { "Ten Tec Orion", "7.2",
            { Discard, Wait, pause(99), Wait, Wait, pause(205), writeFrequency("*AF7200000\r"), Wait } },
        { "Icom 735", "14.025",
            { Discard, Wait, pause(99), Wait, Wait, pause(140),
                writeFrequency(test::bytes({ 0xFE, 0xFE, 0x64, 0xE0, 0x05, 0x00, 0x50, 0x02, 0x14, 0xFD })), Wait } },
        // No mode on 160 m, off the plan and on a segment's edge.
        { "Kenwood", "1.85", { Discard, Wait, pause(205), writeFrequency("FA00001850000;"), Wait } },
        { "Kenwood", "28.5", { Discard, Wait, pause(205), writeFrequency("FA00028500000;"), Wait } },
        { "Kenwood", "14.15", { Discard, Wait, pause(205), writeFrequency("FA00014150000;"), Wait } },
        // rigctld takes its commands in turn.
        { "Hamlib rigctld", "14.2",
            { Discard, Wait, writeMode("M USB 0\n"), Wait, Wait, writeFrequency("F 14200000\n"), Wait } },
        // Nothing at all for a rig that cannot be tuned, or cannot be tuned there.
        { "Other", "14.025", {} },
        { "None", "14.025", {} },
        { "Nonesuch", "14.025", {} },
        { "Yaesu FTdx9000", "146", {} },
    };
    for (const StepsCase& c : cases) {
        EXPECT_EQ(
            changeFrequencySteps(c.rig, hertzFromText(c.mhzOrMode).value(), Modes, test::profileContext(c.rig), "CW"),
            c.steps)
            << c.rig << " " << c.mhzOrMode;
    }
}

TEST(RigChangeTest, thePegasusIsTunedThroughItsFileWithoutClearingThePort)
{
    const std::vector<RigStep> expected { Wait, pause(99), Wait, Wait, pause(205),
        { Kind::WritePegasusFile, 0, "14.2\r\nUSB\r\n" }, Wait };
    EXPECT_EQ(changeFrequencySteps("Ten Tec Pegasus", 14'200'000, Modes, {}, " USB "), expected);
}

TEST(RigChangeTest, theSameStepsWithoutABandPlan)
{
    const std::vector<RigStep> expected { Discard, Wait, pause(205), writeFrequency("FB00014025000;"), Wait };
    EXPECT_EQ(changeFrequencySteps("Kenwood 2", 14'025'000, BandPlanModes(), { "IF;", "", 1 }, ""), expected);
}

TEST(RigChangeTest, aModeChangeOnItsOwnWaitsThenWritesTheCommandWhereThereIsOne)
{
    const StepsCase cases[] = {
        { "Kenwood", "CW", { Wait, pause(99), writeMode("MD3;"), Wait } },
        { "Yaesu FTdx9000", "USB", { Wait, pause(99), writeMode("MD02;"), Wait } },
        { "Hamlib rigctld", "LSB", { Wait, writeMode("M LSB 0\n"), Wait } },
        { "Icom 735", "CW", { Wait, pause(99), Wait } },
        { "Other", "CW", { Wait, pause(99), Wait } },
        { "Kenwood", "PKT", { Wait, pause(99), Wait } },
        { "Yaesu 890", "DIG", { Wait, pause(99), Wait } },
        { "Kenwood", "", {} },
        { "None", "CW", {} },
        // A name on no list is no rig here as it is for the poll.
        { "Nonesuch", "CW", {} },
    };
    for (const StepsCase& c : cases) {
        EXPECT_EQ(changeModeSteps(c.rig, c.mhzOrMode, test::profileContext(c.rig)), c.steps)
            << c.rig << " " << c.mhzOrMode;
    }
}

// The name as a hand-edited settings file may hold it: polled in any case, so changed in any case too.
TEST(RigChangeTest, aRigNameInAnyCaseChangesAsThePollFindsIt)
{
    for (const std::string_view rig : rigNames()) {
        const RigCommandContext context = test::profileContext(rig);
        const std::vector<RigStep> frequency = changeFrequencySteps(rig, 14'025'000, Modes, context, "CW");
        const std::vector<RigStep> mode = changeModeSteps(rig, "USB", context);
        for (const std::string& name : { test::lowerCaseAscii(rig), toUpperAscii(rig) }) {
            EXPECT_EQ(changeFrequencySteps(name, 14'025'000, Modes, context, "CW"), frequency) << name;
            EXPECT_EQ(changeModeSteps(name, "USB", context), mode) << name;
        }
    }
    const StepsCase cases[] = {
        { "none", "CW", {} },
        { "NONE", "CW", {} },
        { "hamlib RIGCTLD", "LSB", { Wait, writeMode("M LSB 0\n"), Wait } },
        { "yaesu ftdx9000", "USB", { Wait, pause(99), writeMode("MD02;"), Wait } },
    };
    for (const StepsCase& c : cases) {
        EXPECT_EQ(changeModeSteps(c.rig, c.mhzOrMode, test::profileContext(c.rig)), c.steps) << c.rig;
    }
    const std::vector<RigStep> expected { Discard, Wait, pause(99), writeMode("MD3;"), Wait, Wait, pause(205),
        writeFrequency("FA00014025000;"), Wait };
    EXPECT_EQ(changeFrequencySteps("KENWOOD", 14'025'000, Modes, test::profileContext("Kenwood"), ""), expected);
}

} // namespace
} // namespace brindle
