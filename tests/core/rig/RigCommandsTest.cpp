#include "rig/RigCommands.h"

#include "common/Text.h"
#include "rig/RigProfile.h"
#include "rig/RigReplies.h"

#include "support/RigContexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {
namespace {

// A command as the rig window shows it: hex for the rigs spoken to in bytes, the text for the others.
std::optional<std::string> shown(std::string_view rig, const std::optional<std::string>& command)
{
    if (!command) {
        return std::nullopt;
    }
    const RigProfile* profile = findRigProfile(rig);
    return profile && profile->convertToHex ? hexText(*command) : *command;
}

std::optional<std::string> shownFrequencyCommand(std::string_view rig, Hertz hertz, const RigCommandContext& context)
{
    const std::optional<FrequencyCommand> command = frequencyCommand(rig, hertz, context);
    return shown(rig, command ? std::optional<std::string>(command->bytes) : std::nullopt);
}

// --- Frequencies in hertz ---------------------------------------------------------------------------

TEST(RigCommandsTest, theOperatorsTextIsReadToTheExactHertz)
{
    struct Case
    {
        std::string_view text;
        std::optional<Hertz> hertz;
    };
    const Case cases[] = {
        { "21.2345", 21'234'500 },
        { "7", 7'000'000 },
        { " 14.025 ", 14'025'000 },
        { "\t14.025", 14'025'000 },
        { "14.", 14'000'000 },
        { ".5", 500'000 },
        { "0", 0 },
        { "007.000", 7'000'000 },
        { "14.17501", 14'175'010 },
        { "14.0250004", 14'025'000 },
        { "14.0250006", 14'025'001 },
        { "14.0250005", 14'025'000 }, // a half to the even neighbour
        { "14.0250015", 14'025'002 },
        { "14.02500050000001", 14'025'001 }, // above the half however far out
        { "10000000", 10'000'000'000'000 },
        { "10000000.000001", std::nullopt },
        { "99999999999999999999999", std::nullopt },
        { "", std::nullopt },
        { " ", std::nullopt },
        { ".", std::nullopt },
        { "/", std::nullopt },
        { "14/025", std::nullopt },
        { "1.2.3", std::nullopt },
        { "-7", std::nullopt },
        { "+7", std::nullopt },
        { "1e6", std::nullopt },
        { "14 .025", std::nullopt },
        { "abc", std::nullopt },
        { "inf", std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hertzFromText(c.text), c.hertz) << '"' << c.text << '"';
    }
}

TEST(RigCommandsTest, aSinglePrecisionFrequencyIsOffWhereTheTypedTextIsNot)
{
    EXPECT_EQ(hertzFromMHz(21.2345f), 21'234'501) << "why frequencies travel as hertz";
    EXPECT_EQ(hertzFromMHz(21.2345), 21'234'500);
    EXPECT_EQ(hertzFromMHz(14.025), 14'025'000);
    EXPECT_EQ(hertzFromMHz(0.0000004), 0);
    EXPECT_EQ(hertzFromMHz(std::nan("")), 0);
    EXPECT_EQ(hertzFromMHz(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(hertzFromMHz(1e300), MaxHertz);
    EXPECT_EQ(hertzFromMHz(-1e300), -MaxHertz);
}

TEST(RigCommandsTest, frequencyTextKeepsSevenSignificantDigits)
{
    struct Case
    {
        Hertz hertz;
        std::string_view text;
        std::string_view exact;
    };
    const Case cases[] = {
        { 14'025'000, "14.025", "14.025" },
        { 7'000'000, "7", "7" },
        { 1'270'000'000, "1270", "1270" },
        { 21'234'500, "21.2345", "21.2345" },
        { 1'800'000, "1.8", "1.8" },
        { 14'175'010, "14.17501", "14.17501" },
        { 14'025'001, "14.025", "14.025001" },
        { 14'025'005, "14.025", "14.025005" }, // a half to the even neighbour
        { 14'025'015, "14.02502", "14.025015" },
        { 123'456'789, "123.4568", "123.456789" },
        { 9'999'999'500, "10000", "9999.9995" },
        { 500'000, "0.5", "0.5" },
        { 10, "0.00001", "0.00001" },
        { 0, "0", "0" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frequencyText(c.hertz), c.text) << c.hertz;
        EXPECT_EQ(exactFrequencyText(c.hertz), c.exact) << c.hertz;
    }
}

TEST(RigCommandsTest, tensOfHertzRoundHalvesToEven)
{
    const std::pair<Hertz, Hertz> cases[] = {
        { 14'025'000, 1'402'500 },
        { 14'025'004, 1'402'500 },
        { 14'025'006, 1'402'501 },
        { 25, 2 },
        { 35, 4 },
        { 0, 0 },
    };
    for (const auto& [hertz, tens] : cases) {
        EXPECT_EQ(tensOfHertz(hertz), tens) << hertz;
    }
}

// --- Frequency commands -----------------------------------------------------------------------------

// Every rig at the frequencies of the bands, with the rig window's values its profile sets. Nothing where a
// field of fixed width cannot hold the number: the radio would read another frequency. The IC-735 takes four
// bytes of BCD hertz where the later Icoms take five; the Orion reads whole hertz after "*AF", up to the eight
// digits of its frequency field.
TEST(RigCommandsTest, everyRigsFrequencyCommandAcrossTheBands)
{
    struct Case
    {
        std::string_view rig;
        std::string_view mhz;
        std::optional<std::string_view> command; // hex for the rigs spoken to in bytes
    };
    const Case cases[] = {
        { "Kenwood", "1.8", "FA00001800000;" }, { "Kenwood", "7.0", "FA00007000000;" },
        { "Kenwood", "14.025", "FA00014025000;" }, { "Kenwood", "21.2345", "FA00021234500;" },
        { "Kenwood", "28.5", "FA00028500000;" }, { "Kenwood", "52", "FA00052000000;" },
        { "Kenwood", "146", "FA00146000000;" }, { "Kenwood", "1270", "FA01270000000;" },
        { "Kenwood 2", "14.025", "FA00014025000;" }, { "Kenwood 2", "1270", "FA01270000000;" },
        { "Elecraft", "7.0", "FA00007000000;" }, { "Elecraft", "21.2345", "FA00021234500;" },
        { "Icom", "1.8", "FEFE64E0050000800100FD" }, { "Icom", "7.0", "FEFE64E0050000000700FD" },
        { "Icom", "14.025", "FEFE64E0050050021400FD" }, { "Icom", "21.2345", "FEFE64E0050045232100FD" },
        { "Icom", "28.5", "FEFE64E0050000502800FD" }, { "Icom", "52", "FEFE64E0050000005200FD" },
        { "Icom", "146", "FEFE64E0050000004601FD" }, { "Icom", "1270", "FEFE64E0050000007012FD" },
        { "Icom 735", "1.8", "FEFE64E00500008001FD" }, { "Icom 735", "7.0", "FEFE64E00500000007FD" },
        { "Icom 735", "14.025", "FEFE64E00500500214FD" }, { "Icom 735", "21.2345", "FEFE64E00500452321FD" },
        { "Icom 735", "28.5", "FEFE64E00500005028FD" }, { "Icom 735", "99.999999", "FEFE64E00599999999FD" },
        { "Icom 735", "146", std::nullopt }, { "Ten Tec Omni VI", "14.025", "FEFE04E0050050021400FD" },
        { "Ten Tec Fnt Pnl", "1.8", "2A41001B77400D" }, { "Ten Tec Fnt Pnl", "7.0", "2A41006ACFC00D" },
        { "Ten Tec Fnt Pnl", "14.025", "2A4100D601280D" }, { "Ten Tec Fnt Pnl", "21.2345", "2A41014403440D" },
        { "Ten Tec Fnt Pnl", "28.5", "2A4101B2E0200D" }, { "Ten Tec Fnt Pnl", "52", "2A41031975000D" },
        { "Ten Tec Fnt Pnl", "146", "2A4108B3C8800D" }, { "Ten Tec Fnt Pnl", "1270", "2A414BB2A9800D" },
        { "Ten Tec Fnt Pnl", "4294.967295", "2A41FFFFFFFF0D" }, { "Ten Tec Fnt Pnl", "4294.967296", std::nullopt },
        { "Ten Tec Orion", "1.8", "*AF1800000\r" }, { "Ten Tec Orion", "7.0", "*AF7000000\r" },
        { "Ten Tec Orion", "14.025", "*AF14025000\r" }, { "Ten Tec Orion", "21.2345", "*AF21234500\r" },
        { "Ten Tec Orion", "14.025001", "*AF14025001\r" }, { "Ten Tec Orion", "28.5", "*AF28500000\r" },
        { "Ten Tec Orion", "52", "*AF52000000\r" }, { "Ten Tec Orion", "0.5", "*AF500000\r" },
        { "Ten Tec Orion", "99.999999", "*AF99999999\r" }, { "Ten Tec Orion", "100", std::nullopt },
        { "Ten Tec Orion", "146", std::nullopt }, { "Ten Tec Orion", "1270", std::nullopt },
        { "Yaesu", "1.8", "0018000001" }, { "Yaesu", "7.0", "0070000001" }, { "Yaesu", "14.025", "0140250001" },
        { "Yaesu", "21.2345", "0212345001" }, { "Yaesu", "28.5", "0285000001" }, { "Yaesu", "52", "0520000001" },
        { "Yaesu", "146", "1460000001" }, { "Yaesu", "999.99999", "9999999901" }, { "Yaesu", "1270", std::nullopt },
        { "Yaesu 890", "1.8", "000018000A" }, { "Yaesu 890", "7.0", "000070000A" },
        { "Yaesu 890", "14.025", "002540010A" }, { "Yaesu 890", "21.2345", "503412020A" },
        { "Yaesu 890", "28.5", "000085020A" }, { "Yaesu 890", "52", "000020050A" },
        { "Yaesu 890", "146", "000060140A" }, { "Yaesu 890", "1270", std::nullopt },
        { "Yaesu 757 GX II", "14.025", "002540010A" }, { "Yaesu 920", "14.025", "002540010A" },
        { "Yaesu 990", "14.025", "002540010A" }, { "Yaesu 1000 D", "14.025", "002540010A" },
        { "Yaesu 1000", "14.025", "002540010A" }, { "Yaesu FTdx9000", "1.8", "FA01800000;" },
        { "Yaesu FTdx9000", "7.0", "FA07000000;" }, { "Yaesu FTdx9000", "14.025", "FA14025000;" },
        { "Yaesu FTdx9000", "21.2345", "FA21234500;" }, { "Yaesu FTdx9000", "28.5", "FA28500000;" },
        { "Yaesu FTdx9000", "52", "FA52000000;" }, { "Yaesu FTdx9000", "146", std::nullopt },
        { "Yaesu FTdx9000", "1270", std::nullopt }, { "Hamlib rigctld", "14.025", "F 14025000\n" },
        { "Hamlib rigctld", "1270", "F 1270000000\n" }, { "Other", "14.025", std::nullopt },
        { "None", "14.025", std::nullopt }, { "Nonesuch", "14.025", std::nullopt }, // a name on no list
    };
    for (const Case& c : cases) {
        const std::optional<Hertz> hertz = hertzFromText(c.mhz);
        ASSERT_TRUE(hertz) << c.mhz;
        EXPECT_EQ(shownFrequencyCommand(c.rig, *hertz, test::profileContext(c.rig)), c.command)
            << c.rig << " " << c.mhz;
    }
}

TEST(RigCommandsTest, theRigWindowsValuesShapeTheFrequencyCommand)
{
    struct Case
    {
        std::string_view rig;
        RigCommandContext context;
        std::optional<std::string_view> command;
    };
    const Case cases[] = {
        { "Kenwood", { "FA;", "MD;", std::nullopt }, "FA00014025000;" },
        { "Kenwood", { "FB;", "MD;", std::nullopt }, "FB00014025000;" },
        { "Kenwood 2", { "IF;", "", 1 }, "FB00014025000;" },
        { "Kenwood 2", { "IF;", "", 0 }, "FA00014025000;" },
        { "Elecraft", { "FB;", "MD;", 1 }, "FA00014025000;" },
        { "Yaesu FTdx9000", { "FB;", "MD0;", std::nullopt }, "FB14025000;" },
        { "Icom", { "FE FE 64 E0 03 FD", "", std::nullopt }, "FEFE64E0050050021400FD" },
        { "Icom", { "FE FE 5C E0 03 FD", "", std::nullopt }, "FEFE5CE0050050021400FD" },
        { "Icom", { "FE FE 5c E0 03 FD", "", std::nullopt }, "FEFE5CE0050050021400FD" },
        { "Icom 735", { "FE FE 04 E0 03 FD", "", std::nullopt }, "FEFE04E00500500214FD" },
        { "Icom 735", { "FE FE ZZ E0 03 FD", "", std::nullopt }, std::nullopt },
        // An address that is no hex byte would put the command on the bus for no radio, or another one.
        { "Icom", { "FE FE ZZ E0 03 FD", "", std::nullopt }, std::nullopt },
        { "Icom", { "FE FE 6 E0 03 FD", "", std::nullopt }, std::nullopt },
        { "Icom", { "FE FE 6", "", std::nullopt }, std::nullopt },
        { "Ten Tec Omni VI", { "", "", std::nullopt }, std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shownFrequencyCommand(c.rig, 14'025'000, c.context), c.command)
            << c.rig << " " << c.context.frequencyPoll;
    }
}

TEST(RigCommandsTest, theMendedFigureReachesTheRig)
{
    const std::optional<FrequencyCommand> command
        = frequencyCommand("Kenwood", hertzFromText("21.2345").value(), test::profileContext("Kenwood"));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->bytes, "FA00021234500;");
}

TEST(RigCommandsTest, eachRigWaitsItsOwnPausesBeforeTheFrequency)
{
    struct Case
    {
        std::string_view rig;
        std::vector<int> pausesMs;
        bool toPegasusFile;
    };
    const Case cases[] = {
        { "Kenwood", { 205 }, false },
        { "Kenwood 2", { 205 }, false },
        { "Elecraft", { 205, 1000 }, false },
        { "Icom", { 140 }, false },
        { "Icom 735", { 140 }, false },
        { "Ten Tec Omni VI", { 140, 220 }, false },
        { "Ten Tec Fnt Pnl", { 205 }, false },
        { "Ten Tec Orion", { 205 }, false },
        { "Ten Tec Pegasus", { 205 }, true },
        { "Yaesu", { 205 }, false },
        { "Yaesu 890", { 205 }, false },
        { "Yaesu 1000 D", { 205 }, false },
        { "Yaesu 1000", { 10 }, false },
        { "Yaesu FTdx9000", { 205 }, false },
        { "Hamlib rigctld", {}, false },
    };
    for (const Case& c : cases) {
        const std::optional<FrequencyCommand> command
            = frequencyCommand(c.rig, 14'025'000, test::profileContext(c.rig));
        ASSERT_TRUE(command) << c.rig;
        EXPECT_EQ(command->pausesMs, c.pausesMs) << c.rig;
        EXPECT_EQ(command->toPegasusFile, c.toPegasusFile) << c.rig;
        EXPECT_EQ(command->bytes.empty(), c.toPegasusFile) << c.rig;
    }
}

TEST(RigCommandsTest, aFrequencyBelowZeroIsSentToNoRig)
{
    for (const std::string_view rig : rigNames()) {
        EXPECT_FALSE(frequencyCommand(rig, -1, test::profileContext(rig))) << rig;
    }
}

TEST(RigCommandsTest, thePegasusFileHoldsTheFrequencyAndTheRigsMode)
{
    EXPECT_EQ(pegasusFileText(14'025'000, " USB "), "14.025\r\nUSB\r\n");
    EXPECT_EQ(pegasusFileText(7'000'000, ""), "7\r\n\r\n");
    EXPECT_EQ(pegasusFileText(14'025'001, "CW"), "14.025\r\nCW\r\n");
}

// --- Mode commands ----------------------------------------------------------------------------------

TEST(RigCommandsTest, everyFamilysModeCommand)
{
    struct Case
    {
        std::string_view rig;
        std::string_view mode;
        std::optional<std::string_view> command; // hex for the rigs spoken to in bytes
    };
    const Case cases[] = {
        { "Kenwood", "CW", "MD3;" },
        { "Kenwood", "LSB", "MD1;" },
        { "Kenwood", "USB", "MD2;" },
        { "Kenwood", "AM", "MD5;" },
        { "Kenwood", "RTTY", "MD6;" },
        { "Kenwood", "FM", "MD4;" },
        { "Kenwood", "FSK", "MD6;" },
        { "Kenwood", "CW-R", std::nullopt },
        { "Kenwood", "PKT", std::nullopt },
        { "Kenwood", "DIG", std::nullopt },
        { "Kenwood", "cw", std::nullopt }, // mode texts are compared exactly
        { "Kenwood", "", std::nullopt },
        { "Kenwood 2", "CW", "MD3;" },
        { "Elecraft", "USB", "MD2;" },
        { "Icom", "LSB", "FEFE64E00600FD" },
        { "Icom", "USB", "FEFE64E00601FD" },
        { "Icom", "AM", "FEFE64E00602FD" },
        { "Icom", "CW", "FEFE64E00603FD" },
        { "Icom", "RTTY", "FEFE64E00604FD" },
        { "Icom", "FM", "FEFE64E00605FD" },
        { "Icom", "CW-R", "FEFE64E00607FD" },
        { "Icom", "RTTY-R", "FEFE64E00608FD" },
        { "Icom", "FSK", std::nullopt },
        { "Icom", "PKT", std::nullopt },
        { "Ten Tec Omni VI", "CW", "FEFE04E00603FD" },
        { "Yaesu", "LSB", "0000000007" },
        { "Yaesu", "USB", "0100000007" },
        { "Yaesu", "CW", "0200000007" },
        { "Yaesu", "AM", "0400000007" },
        { "Yaesu", "FM", "0800000007" },
        { "Yaesu", "DIG", "0A00000007" },
        { "Yaesu", "RTTY", "0A00000007" },
        { "Yaesu", "PKT", "0C00000007" },
        { "Yaesu", "CW-R", std::nullopt },
        { "Yaesu 890", "LSB", "000000000C" },
        { "Yaesu 890", "USB", "000000010C" },
        { "Yaesu 890", "CW", "000000020C" },
        { "Yaesu 890", "CW-R", "000000030C" },
        { "Yaesu 890", "AM", "000000040C" },
        { "Yaesu 890", "FM", "000000060C" },
        { "Yaesu 890", "RTTY", "000000080C" },
        { "Yaesu 890", "PKT", "0000000A0C" },
        { "Yaesu 890", "DIG", std::nullopt },
        { "Yaesu 757 GX II", "CW", "000000020C" },
        { "Yaesu 920", "CW", "000000020C" },
        { "Yaesu 990", "CW", "000000020C" },
        { "Yaesu 1000 D", "CW", "000000020C" },
        { "Yaesu 1000", "DIG", std::nullopt },
        { "Yaesu 1000", "CW", "000000020C" },
        { "Yaesu FTdx9000", "LSB", "MD01;" },
        { "Yaesu FTdx9000", "USB", "MD02;" },
        { "Yaesu FTdx9000", "CW", "MD03;" },
        { "Yaesu FTdx9000", "FM", "MD04;" },
        { "Yaesu FTdx9000", "AM", "MD05;" },
        { "Yaesu FTdx9000", "RTTY", "MD06;" },
        { "Yaesu FTdx9000", "CW-R", "MD07;" },
        { "Yaesu FTdx9000", "PKT", std::nullopt },
        { "Hamlib rigctld", "CW", "M CW 0\n" },
        { "Hamlib rigctld", "CW-R", "M CWR 0\n" },
        { "Hamlib rigctld", "LSB", "M LSB 0\n" },
        { "Hamlib rigctld", "USB", "M USB 0\n" },
        { "Hamlib rigctld", "AM", "M AM 0\n" },
        { "Hamlib rigctld", "FM", "M FM 0\n" },
        { "Hamlib rigctld", "RTTY", "M RTTY 0\n" },
        { "Hamlib rigctld", "RTTY-R", "M RTTYR 0\n" },
        { "Hamlib rigctld", "FSK", "M RTTY 0\n" },
        { "Hamlib rigctld", "PKT", "M PKTUSB 0\n" },
        { "Hamlib rigctld", "DIG", "M PKTUSB 0\n" },
        { "Hamlib rigctld", "PH", std::nullopt },
        // Rigs without a mode command.
        { "Icom 735", "CW", std::nullopt },
        { "Ten Tec Orion", "CW", std::nullopt },
        { "Ten Tec Fnt Pnl", "CW", std::nullopt },
        { "Ten Tec Pegasus", "CW", std::nullopt },
        { "Other", "CW", std::nullopt },
        { "None", "CW", std::nullopt },
        { "Nonesuch", "CW", std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shown(c.rig, modeCommand(c.rig, c.mode, test::profileContext(c.rig))), c.command)
            << c.rig << " " << c.mode;
    }
}

TEST(RigCommandsTest, theRigWindowsValuesShapeTheModeCommand)
{
    EXPECT_EQ(shown("Icom", modeCommand("Icom", "CW", { "FE FE 5C E0 03 FD", "", {} })), "FEFE5CE00603FD");
    EXPECT_FALSE(modeCommand("Icom", "CW", { "FE FE G4 E0 03 FD", "", {} }));
    EXPECT_FALSE(modeCommand("Ten Tec Omni VI", "CW", { "FE FE 0", "", {} }));
    EXPECT_EQ(modeCommand("Yaesu FTdx9000", "CW", { "FA;", "MD1;", {} }), "MD13;") << "the sub receiver";
    EXPECT_EQ(modeCommand("Kenwood", "CW", { "FB;", "MX;", 1 }), "MD3;") << "always MD";
}

// --- Rig names -------------------------------------------------------------------------------------

// A settings file edited by hand may hold the name in any case. The poll takes it so; the commands must
// too, or the rig is followed but never tuned.
TEST(RigCommandsTest, aRigNameInAnyCaseIsTunedAsThePollFindsIt)
{
    const std::string_view modes[] = { "CW", "USB", "LSB", "CW-R", "RTTY", "PKT" };
    for (const std::string_view rig : rigNames()) {
        const RigCommandContext context = test::profileContext(rig);
        const std::optional<FrequencyCommand> frequency = frequencyCommand(rig, 14'025'000, context);
        for (const std::string& name : { test::lowerCaseAscii(rig), toUpperAscii(rig) }) {
            EXPECT_EQ(frequencyCommand(name, 14'025'000, context), frequency) << name;
            for (const std::string_view mode : modes) {
                EXPECT_EQ(modeCommand(name, mode, context), modeCommand(rig, mode, context)) << name << " " << mode;
            }
        }
    }
    EXPECT_EQ(shownFrequencyCommand("kenwood", 14'025'000, test::profileContext("Kenwood")), "FA00014025000;");
    EXPECT_EQ(shownFrequencyCommand("ICOM 735", 14'025'000, test::profileContext("Icom 735")), "FEFE64E00500500214FD");
    EXPECT_EQ(shown("Icom", modeCommand("ICOM", "CW", test::profileContext("Icom"))), "FEFE64E00603FD");
    EXPECT_EQ(modeCommand("hamlib RIGCTLD", "USB", {}), "M USB 0\n");
}

TEST(RigCommandsTest, aNameOnNoListIsTunedAsNoRig)
{
    const RigCommandContext context = test::profileContext("Kenwood");
    for (const std::string_view name : { "Nonesuch", "", " Kenwood", "Kenwood ", "Kenwood2", "Icom735", "none" }) {
        EXPECT_FALSE(frequencyCommand(name, 14'025'000, context)) << '"' << name << '"';
        EXPECT_FALSE(modeCommand(name, "CW", context)) << '"' << name << '"';
    }
}

} // namespace
} // namespace brindle
