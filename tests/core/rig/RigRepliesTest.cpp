#include "rig/RigReplies.h"

#include "common/Text.h"

#include <gtest/gtest.h>

#include "support/RigContexts.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {
namespace {

// Bytes written as hex text, as the rig window shows them: "FEFE" is two bytes 0xFE.
std::string fromHex(std::string_view hex)
{
    std::string bytes;
    for (std::size_t k = 0; k + 1 < hex.size(); k += 2) {
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(k, 2)), nullptr, 16));
    }
    return bytes;
}

// What the reading held before the reply: a reply that tells nothing must leave it so.
constexpr float EarlierFreq = 3.7f;
constexpr const char* EarlierMode = "was";

struct Case
{
    const char* name;
    const char* rig;
    std::string buffer;
    std::optional<float> freqMHz; // nothing: the earlier frequency stays
    std::optional<std::string> mode; // nothing: the earlier mode stays
    bool askedFrequency = true;
};

void expectReadings(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        RigReading reading { EarlierFreq, EarlierMode, std::nullopt };
        decodeRigReply(c.rig, RigReply { c.buffer, "FA;", "MD0;", c.askedFrequency }, reading);
        ASSERT_TRUE(reading.freqMHz) << c.name;
        EXPECT_FLOAT_EQ(*reading.freqMHz, c.freqMHz.value_or(EarlierFreq)) << c.name;
        EXPECT_EQ(reading.mode, c.mode.value_or(EarlierMode)) << c.name;
    }
}

TEST(RigReplyKenwood, FrequencyFromFaAndModeFromMd)
{
    expectReadings({
        { "CW", "Kenwood", "FA00014025000;MD3;", 14.025f, "CW" },
        { "CW reverse", "Kenwood", "FA00014025000;MD7;", 14.025f, "CW" },
        { "USB", "Kenwood", "FA00014025000;MD2;", 14.025f, "PH" },
        { "Elecraft reads the same", "Elecraft", "FA00007025000;MD3;", 7.025f, "CW" },
        { "frequency alone", "Kenwood", "FA00014025000;", 14.025f, {} },
        { "mode alone", "Kenwood", "MD1;", {}, "PH" },
        { "twelve characters: no terminator yet", "Kenwood", "FA0001402500", {}, {} },
        { "all eleven digits but nothing after them", "Kenwood", "FA00014025000", {}, {} },
        { "MD at the very end", "Kenwood", "FA00014025000;MD", 14.025f, {} },
        { "two answers: the first counts", "Kenwood", "FA00014025000;MD3;FA00007025000;MD2;", 14.025f, "CW" },
        { "an echoed request is the first FA and reads as nothing", "Kenwood", "FA;FA00014025000;", {}, {} },
        { "a damaged digit", "Kenwood", "FA0001402X000;MD3;", {}, "CW" },
        { "a sign is no digit", "Kenwood", "FA-0014025000;", {}, {} },
        { "nor is a plus", "Kenwood", "FA+0014025000;", {}, {} },
        { "nor a point", "Kenwood", "FA0001402.500;", {}, {} },
        { "nor an exponent", "Kenwood", "FA0000014e006;", {}, {} },
        // Kenwood pads with zeros; a blank there is a damaged digit.
        { "blanks for the leading zeros", "Kenwood", "FA   14025000;", {}, {} },
        { "a half step goes to the even step", "Kenwood", "FA00014025005;", 14.025f, {} },
        { "and up when that is even", "Kenwood", "FA00014025015;", 14.02502f, {} },
        { "past the half", "Kenwood", "FA00014025006;", 14.02501f, {} },
        { "noise", "Kenwood", std::string("\x00\xff?;;", 5), {}, {} },
    });
}

TEST(RigReplyKenwood, AFrequencyPollOfFewerThanThreeCharactersReadsNoFrequency)
{
    EXPECT_FALSE(decodeKenwoodFrequency("FA00014025000;", "FA"));
    EXPECT_FLOAT_EQ(decodeKenwoodFrequency("FB00014025000;", "FB;").value_or(0), 14.025f)
        << "the poll's first two characters are looked for";
}

// A 38-character IF answer: frequency, 16 characters of step, RIT and memory, the mode, the VFO, the rest.
std::string ifReply(std::string_view hertz, char mode, char vfo)
{
    return "IF" + std::string(hertz) + std::string(16, '0') + mode + vfo + "000000;";
}

TEST(RigReplyKenwoodIf, FrequencyModeAndVfoFromOneStatus)
{
    ASSERT_EQ(ifReply("00014025000", '3', '1').size(), 38u);
    const std::string full = ifReply("00014025000", '3', '1');
    struct IfCase
    {
        const char* name;
        std::string buffer;
        std::optional<float> freqMHz;
        std::optional<std::string_view> mode;
        std::optional<int> vfo;
    } cases[] = {
        { "CW on VFO B", full, 14.025f, "CW", 1 },
        { "USB on VFO A", ifReply("00007150000", '2', '0'), 7.15f, "PH", 0 },
        { "cut before the mode", full.substr(0, 29), 14.025f, {}, {} },
        { "cut before the VFO", full.substr(0, 30), 14.025f, "CW", {} },
        { "a VFO that is no digit", ifReply("00014025000", '3', ' '), 14.025f, "CW", {} },
        { "thirteen characters: no terminator", full.substr(0, 13), {}, {}, {} },
        { "two answers: the first counts", full + ifReply("00007150000", '2', '0'), 14.025f, "CW", 1 },
        { "an echoed request comes first", "IF;" + full, {}, {}, {} },
        { "damaged frequency: nothing after it is read", ifReply("0001402500X", '3', '1'), {}, {}, {} },
        { "blanks for the leading zeros", ifReply("   14025000", '3', '1'), {}, {}, {} },
        { "a plus sign in the frequency", ifReply("+0014025000", '3', '1'), {}, {}, {} },
    };
    for (const IfCase& c : cases) {
        const DecodedReply read = decodeKenwoodIf(c.buffer);
        EXPECT_EQ(read.freqMHz.has_value(), c.freqMHz.has_value()) << c.name;
        if (read.freqMHz && c.freqMHz) {
            EXPECT_FLOAT_EQ(*read.freqMHz, *c.freqMHz) << c.name;
        }
        EXPECT_EQ(read.mode, c.mode) << c.name;
        EXPECT_EQ(read.vfoDigit, c.vfo) << c.name;
    }

    RigReading reading { EarlierFreq, EarlierMode, 0 };
    decodeRigReply("Kenwood 2", RigReply { full, "IF;", "", true }, reading);
    EXPECT_EQ(reading.vfoDigit, 1) << "the poll cycle keeps the VFO";
    decodeRigReply("Kenwood 2", RigReply { full.substr(0, 30), "IF;", "", true }, reading);
    EXPECT_EQ(reading.vfoDigit, 1) << "a reply without one leaves it";
}

TEST(RigReplyCiv, FrequencyFromEveryFrameOfTheBuffer)
{
    const std::string echo = fromHex("FEFE64E003FD");
    const std::string reply = fromHex("FEFEE06403005002140"
                                      "0FD");
    expectReadings({
        { "echo, then the answer", "Icom", echo + reply, 14.025f, {} },
        { "answer alone", "Icom", reply, 14.025f, {} },
        { "Omni VI speaks CI-V", "Ten Tec Omni VI", echo + reply, 14.025f, {} },
        { "the Icom 735 sends four bytes", "Icom 735",
            fromHex("FEFEE00403005002"
                    "14FD"),
            14.025f, {} },
        { "two answers: the last counts", "Icom", reply + fromHex("FEFEE064030050020700FD"), 7.025f, {} },
        { "above 100 MHz", "Icom",
            fromHex("FEFEE0640300001044"
                    "01FD"),
            144.1f, {} },
        { "echo alone", "Icom", echo, {}, {} },
        { "an answer cut short", "Icom", echo + fromHex("FEFEE064030050"), {}, {} },
        { "a digit that is no BCD", "Icom", fromHex("FEFEE06403005A021400FD"), {}, {} },
        { "a mode answer when the frequency was asked", "Icom",
            fromHex("FEFEE0640403"
                    "01FD"),
            {}, {} },
        { "one FE only", "Icom", fromHex("FE00E064030050021400FD"), {}, {} },
        { "noise", "Icom", fromHex("00FD03FE"), {}, {} },
        { "a frequency answer when the mode was asked", "Icom", reply, {}, {}, false },
    });
}

TEST(RigReplyCiv, ModeFromTheFirstModeByte)
{
    const std::string echo = fromHex("FEFE64E004FD");
    expectReadings({
        { "CW", "Icom",
            echo
                + fromHex("FEFEE0640403"
                          "01FD"),
            {}, "CW", false },
        { "CW reverse (07) counts as phone", "Icom",
            echo
                + fromHex("FEFEE0640407"
                          "01FD"),
            {}, "PH", false },
        { "LSB", "Icom",
            fromHex("FEFEE0640400"
                    "01FD"),
            {}, "PH", false },
        { "two answers: the first counts", "Icom", fromHex("FEFEE064040301FDFEFEE064040101FD"), {}, "CW", false },
        { "echo alone", "Icom", echo, {}, {}, false },
        { "an answer cut short", "Icom", fromHex("FEFEE0640403"), {}, {}, false },
    });
}

TEST(RigReplyYaesu, FiveByteBcd)
{
    expectReadings({
        { "CW narrow", "Yaesu", fromHex("0140250082"), 14.025f, "CW" },
        { "LSB", "Yaesu", fromHex("0070250000"), 7.025f, "PH" },
        { "FM narrow", "Yaesu", fromHex("1441000088"), 144.1f, "PH" },
        { "a mode the logger does not know", "Yaesu", fromHex("0070250005"), 7.025f, {} },
        { "a mode byte of hex digits abandons all", "Yaesu", fromHex("007030000A"), {}, {} },
        { "a frequency digit that is no BCD", "Yaesu", fromHex("01A0250082"), {}, {} },
        { "four bytes", "Yaesu", fromHex("01402500"), {}, {} },
        { "two answers: the first counts", "Yaesu", fromHex("01402500820070250000"), 14.025f, "CW" },
    });
}

TEST(RigReplyYaesu, The757StatusRecord)
{
    // Five bytes of other status, the frequency least significant byte first, then the mode.
    const std::string head = fromHex("1122334455");
    expectReadings({
        { "CW", "Yaesu 757 GX II", head + fromHex("0025400102"), 14.025f, "CW" },
        { "USB", "Yaesu 757 GX II", head + fromHex("0025700001"), 7.025f, "PH" },
        { "AM", "Yaesu 757 GX II", head + fromHex("0025700004"), 7.025f, "AM" },
        { "FM", "Yaesu 757 GX II", head + fromHex("0000960205"), 29.6f, "FM" },
        { "a mode the logger does not know", "Yaesu 757 GX II", head + fromHex("0025700006"), 7.025f, {} },
        { "cut before the mode", "Yaesu 757 GX II", head + fromHex("00254001"), 14.025f, {} },
        { "cut inside the frequency", "Yaesu 757 GX II", head + fromHex("002540"), {}, {} },
        { "a frequency digit that is no BCD", "Yaesu 757 GX II", head + fromHex("00254C0102"), {}, {} },
    });
}

TEST(RigReplyYaesu, TheStatusRecordsOfTheLaterRigs)
{
    // The same 14.025 MHz where each model keeps it: 1402500 tens of hertz is 156684 in hex, 14025000 hertz
    // D60128. The sixteenth hex digit is the mode.
    expectReadings({
        { "890, CW", "Yaesu 890", fromHex("0000156684000002"), 14.025f, "CW" },
        { "890, USB", "Yaesu 890", fromHex("0000156684000001"), 14.025f, "PH" },
        { "890, a mode the logger does not know", "Yaesu 890", fromHex("0000156684000008"), 14.025f, {} },
        { "890, five bytes: no mode yet", "Yaesu 890", fromHex("0000156684"), 14.025f, {} },
        { "890, four bytes", "Yaesu 890", fromHex("00001566"), {}, {} },
        { "1000 starts half a byte earlier", "Yaesu 1000", fromHex("0001566840000002"), 14.025f, "CW" },
        { "990", "Yaesu 990", fromHex("0015668400000002"), 14.025f, "CW" },
        { "1000 D reads as the 990", "Yaesu 1000 D", fromHex("0015668400000007"), 14.025f, "PH" },
        { "920, CW is 1", "Yaesu 920", fromHex("0000D60128000001"), 14.025f, "CW" },
        { "920, every other mode is phone", "Yaesu 920", fromHex("0000D6012800000F"), 14.025f, "PH" },
        { "920, hertz to the 10 Hz step", "Yaesu 920", fromHex("0000D6013700000F"), 14.02502f, "PH" },
    });
}

TEST(RigReplyYaesu, Ftdx9000)
{
    expectReadings({
        { "CW", "Yaesu FTdx9000", "FA14025000;MD03;", 14.025f, "CW" },
        { "USB", "Yaesu FTdx9000", "FA07025000;MD02;", 7.025f, "PH" },
        { "cut inside the frequency", "Yaesu FTdx9000", "FA1402500", {}, {} },
        { "mode poll at the very end", "Yaesu FTdx9000", "FA14025000;MD0", 14.025f, {} },
        { "two answers: the first counts", "Yaesu FTdx9000", "FA14025000;MD03;FA07025000;MD02;", 14.025f, "CW" },
        { "an echoed request: nothing after it is read", "Yaesu FTdx9000", "FA;FA14025000;MD03;", {}, {} },
        // Its eight digits always come with zeros in front.
        { "a blank for the leading zero", "Yaesu FTdx9000", "FA 7025000;MD03;", {}, {} },
        { "a plus sign", "Yaesu FTdx9000", "FA+7025000;MD03;", {}, {} },
        { "a point", "Yaesu FTdx9000", "FA7025.000;MD03;", {}, {} },
    });
    const DecodedReply read = decodeFtdx9000("FB07025000;MD13;", "FB;", "MD1;");
    EXPECT_FLOAT_EQ(read.freqMHz.value_or(0), 7.025f) << "the polls say what to look for";
    EXPECT_EQ(read.mode, "CW");
    EXPECT_FALSE(decodeFtdx9000("MD03;", "FA;", "").mode) << "an empty mode poll asks for nothing";
}

TEST(RigReplyTenTec, FrontPanel)
{
    expectReadings({
        { "frequency", "Ten Tec Fnt Pnl", "A" + fromHex("00D60128") + "\r", 14.025f, {} },
        { "frequency cut short", "Ten Tec Fnt Pnl", "A" + fromHex("00D601"), {}, {} },
        { "CW", "Ten Tec Fnt Pnl", "M33\r", {}, "CW", false },
        { "USB", "Ten Tec Fnt Pnl", "M11\r", {}, "PH", false },
        { "FM", "Ten Tec Fnt Pnl", "M44\r", {}, "PH", false },
        { "FSK: no mode the logger knows", "Ten Tec Fnt Pnl", "M66\r", {}, {}, false },
        { "mode cut short", "Ten Tec Fnt Pnl", "M3", {}, {}, false },
    });
}

TEST(RigReplyTenTec, Orion)
{
    expectReadings({
        { "CW", "Ten Tec Orion", "@AF14025000\r@RMM3\r", 14.025f, "CW" },
        { "the other CW sideband", "Ten Tec Orion", "@AF14025000\r@RMM2\r", 14.025f, "CW" },
        { "USB, seven digits", "Ten Tec Orion", "@AF7150000\r@RMM0\r", 7.15f, "PH" },
        { "no CR after the frequency yet", "Ten Tec Orion", "@AF14025000", {}, {} },
        { "@RMM at the very end", "Ten Tec Orion", "@AF14025000\r@RMM", 14.025f, {} },
        { "damaged digits", "Ten Tec Orion", "@AF140X5000\r@RMM3\r", {}, "CW" },
        { "nothing between @AF and the CR", "Ten Tec Orion", "@AF\r", {}, {} },
        { "two answers: the first counts", "Ten Tec Orion", "@AF14025000\r@RMM3\r@AF7150000\r@RMM0\r", 14.025f, "CW" },
        { "more digits than any float holds", "Ten Tec Orion", "@AF" + std::string(300, '9') + "\r", {}, {} },
        // The frequency field is eight wide, blanks in front below 10 MHz.
        { "below 10 MHz, one blank in front", "Ten Tec Orion", "@AF 7025000\r@RMM3\r", 7.025f, "CW" },
        { "160 m", "Ten Tec Orion", "@AF 1830000\r@RMM1\r", 1.83f, "PH" },
        { "below 1 MHz, two blanks", "Ten Tec Orion", "@AF  500000\r", 0.5f, {} },
        { "a padded answer behind the echo", "Ten Tec Orion", "?AF\r@AF 3525000\r", 3.525f, {} },
        { "blanks alone", "Ten Tec Orion", "@AF        \r@RMM3\r", {}, "CW" },
        { "a blank among the digits", "Ten Tec Orion", "@AF 70 5000\r", {}, {} },
        { "a blank after the digits", "Ten Tec Orion", "@AF7025000 \r", {}, {} },
        { "a minus sign", "Ten Tec Orion", "@AF-7025000\r", {}, {} },
        { "a minus sign behind the blank", "Ten Tec Orion", "@AF -702500\r", {}, {} },
        { "a plus sign", "Ten Tec Orion", "@AF+7025000\r", {}, {} },
        { "a point", "Ten Tec Orion", "@AF7025.000\r", {}, {} },
        { "an exponent", "Ten Tec Orion", "@AF7.025e6\r", {}, {} },
        { "a tab is no blank", "Ten Tec Orion", "@AF\t7025000\r", {}, {} },
        // The CR says the field is whole: blanks in front cannot make a reply cut short read low.
        { "cut short behind the blank", "Ten Tec Orion", "@AF 702", {}, {} },
        { "cut short, the next answer's CR", "Ten Tec Orion", "@AF 702@RMM3\r", {}, "CW" },
    });
}

TEST(RigReplyTenTec, PegasusFile)
{
    expectReadings({
        { "CW", "Ten Tec Pegasus", "14.025,\"CW\"\r\n", 14.025f, "CW" },
        { "any other mode is phone", "Ten Tec Pegasus", "7.15\r\n\"USB\"\r\n", 7.15f, "PH" },
        { "an empty mode tells nothing", "Ten Tec Pegasus", "14.2,\"\"\r\n", 14.2f, {} },
        { "no mode", "Ten Tec Pegasus", "21.3\r\n", 21.3f, {} },
        { "a frequency that is no number stops the reading", "Ten Tec Pegasus", "abc,\"CW\"\r\n", {}, {} },
        { "a negative frequency is none", "Ten Tec Pegasus", "-14.025,\"CW\"\r\n", {}, {} },
        { "blanks around the frequency, as a text file may have them", "Ten Tec Pegasus", "  7.025 ,\"CW\"\r\n", 7.025f,
            "CW" },
        { "empty file", "Ten Tec Pegasus", "", {}, {} },
    });
}

TEST(RigReplyDispatch, RigsWithoutADecoderReadNothing)
{
    for (const char* rig : { "Other", "None", "", "Hamlib rigctld", "Nonesuch", "Kenwood3", " Kenwood", "Kenwood;" }) {
        expectReadings({ { rig, rig, "FA00014025000;MD3;", {}, {} } });
    }
}

// A settings file edited by hand may hold the name in any case; the poll takes it so, and so must the decoder.
TEST(RigReplyDispatch, TheRigNameIsReadInAnyCaseAsThePollReadsIt)
{
    const std::string kenwood = "FA00014025000;MD3;";
    const std::string icom = fromHex("FEFEE06403005002140"
                                     "0FD");
    const std::string icom735 = fromHex("FEFEE00403005002"
                                        "14FD");
    const std::string icomMode = fromHex("FEFEE0640403"
                                         "01FD");
    const std::vector<Case> cases = {
        { "", "Kenwood", kenwood, 14.025f, "CW" },
        { "", "Elecraft", kenwood, 14.025f, "CW" },
        { "", "Kenwood 2", ifReply("00007150000", '2', '0'), 7.15f, "PH" },
        { "", "Icom", icom, 14.025f, {} },
        { "", "Icom", icomMode, {}, "CW", false },
        // Taken for "Icom", the IC-735's four bytes would read as 1402.5 MHz.
        { "", "Icom 735", icom735, 14.025f, {} },
        { "", "Ten Tec Omni VI", icom, 14.025f, {} },
        { "", "Yaesu", fromHex("0140250082"), 14.025f, "CW" },
        { "", "Yaesu 757 GX II", fromHex("11223344550025400102"), 14.025f, "CW" },
        { "", "Yaesu 890", fromHex("0000156684000002"), 14.025f, "CW" },
        { "", "Yaesu 920", fromHex("0000D60128000001"), 14.025f, "CW" },
        { "", "Yaesu 990", fromHex("0015668400000002"), 14.025f, "CW" },
        { "", "Yaesu 1000 D", fromHex("0015668400000002"), 14.025f, "CW" },
        { "", "Yaesu 1000", fromHex("0001566840000002"), 14.025f, "CW" },
        { "", "Yaesu FTdx9000", "FA14025000;MD03;", 14.025f, "CW" },
        { "", "Ten Tec Fnt Pnl", "A" + fromHex("00D60128") + "\r", 14.025f, {} },
        { "", "Ten Tec Fnt Pnl", "M33\r", {}, "CW", false },
        { "", "Ten Tec Orion", "@AF 7025000\r@RMM3\r", 7.025f, "CW" },
        { "", "Ten Tec Pegasus", "14.025,\"CW\"\r\n", 14.025f, "CW" },
    };
    for (const Case& c : cases) {
        for (const std::string& name : { std::string(c.rig), test::lowerCaseAscii(c.rig), toUpperAscii(c.rig) }) {
            Case named = c;
            named.name = name.c_str();
            named.rig = name.c_str();
            expectReadings({ named });
        }
    }
    RigReading reading { EarlierFreq, EarlierMode, std::nullopt };
    decodeRigReply("kenwood 2", RigReply { ifReply("00014025000", '3', '1'), "IF;", "", true }, reading);
    EXPECT_EQ(reading.vfoDigit, 1) << "the VFO too";
}

TEST(RigReplyHexText, TwoUpperCaseDigitsAByte)
{
    EXPECT_EQ(hexText(fromHex("000AFE7F")), "000AFE7F");
    EXPECT_EQ(hexText(std::string("\x01\xab", 2)), "01AB");
    EXPECT_EQ(hexText(""), "");
}

TEST(ModeFromFrequency, CwBelowThePhoneSegmentNothingOnEdgesOrOffTheBands)
{
    using Mode = std::optional<std::string_view>;
    // Every place the answer changes: what it is just below, on and just above.
    struct Edge
    {
        float at;
        Mode below;
        Mode above;
    } edges[] = {
        { 3.5f, {}, "CW" },
        { 3.6f, "CW", "PH" },
        { 4.0f, "PH", {} },
        { 7.0f, {}, "CW" },
        { 7.125f, "CW", "PH" },
        { 7.3f, "PH", {} },
        { 10.1f, {}, "CW" },
        { 10.15f, "CW", {} },
        { 14.0f, {}, "CW" },
        { 14.15f, "CW", "PH" },
        { 14.35f, "PH", {} },
        { 18.068f, {}, "CW" },
        { 18.11f, "CW", "PH" },
        { 18.168f, "PH", {} },
        { 21.0f, {}, "CW" },
        { 21.2f, "CW", "PH" },
        { 21.45f, "PH", {} },
        { 24.89f, {}, "CW" },
        { 24.93f, "CW", "PH" },
        { 24.99f, "PH", {} },
        { 28.0f, {}, "CW" },
        { 28.3f, "CW", "PH" },
        { 29.7f, "PH", {} },
        { 50.0f, {}, "CW" },
        { 50.1f, "CW", "PH" },
        { 54.0f, "PH", {} },
        { 144.0f, {}, "CW" },
        { 144.1f, "CW", "PH" },
        { 148.0f, "PH", {} },
    };
    for (const Edge& e : edges) {
        EXPECT_EQ(modeFromFrequency(std::nextafter(e.at, 0.0f)), e.below) << e.at;
        EXPECT_EQ(modeFromFrequency(e.at), Mode()) << e.at;
        EXPECT_EQ(modeFromFrequency(std::nextafter(e.at, 1000.0f)), e.above) << e.at;
    }
    EXPECT_EQ(modeFromFrequency(14.2f), Mode("PH"));
    EXPECT_EQ(modeFromFrequency(1.83f), Mode()) << "160 m is shared";
    EXPECT_EQ(modeFromFrequency(10.2f), Mode()) << "30 m has no phone segment";
    EXPECT_EQ(modeFromFrequency(std::nanf("")), Mode());
}

} // namespace
} // namespace brindle
