#include "rig/PollCycle.h"

#include "support/ByteString.h"
#include "support/RecordingSerialPort.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

using test::bytes;

const std::string IcomFrequency = bytes({ 0xFE, 0xFE, 0x64, 0xE0, 0x03, 0xFD });
const std::string IcomMode = bytes({ 0xFE, 0xFE, 0x64, 0xE0, 0x04, 0xFD });

PollCycle cycleFor(test::RecordingSerialPort& port, std::string_view rig)
{
    RigSettings s;
    (void)applyProfile(rig, s);
    return PollCycle(port, rigFamily(rig), s.frequencyPoll, s.modePoll, s.convertToHex);
}

// Runs full send-and-read polls and gives what each send tick wrote, "" for a tick that wrote nothing.
std::vector<std::string> sendTicks(PollCycle& cycle, test::RecordingSerialPort& port, int polls)
{
    std::vector<std::string> sent;
    for (int i = 0; i < polls; ++i) {
        port.writes.clear();
        EXPECT_EQ(cycle.tick(), std::nullopt) << "a send tick hands nothing to decode";
        std::string joined;
        for (const std::string& w : port.writes) {
            joined += w;
        }
        sent.push_back(joined);
        EXPECT_TRUE(cycle.tick().has_value()) << "a read tick follows every send tick";
    }
    return sent;
}

TEST(HexPairs, PairsAtEveryThirdCharacter)
{
    EXPECT_EQ(bytesFromHexPairs("FE FE 64 E0 03 FD", 6), IcomFrequency);
    EXPECT_EQ(bytesFromHexPairs("fe fe 64 e0 03 fd"), IcomFrequency) << "lower case";
    EXPECT_EQ(bytesFromHexPairs("00 00 00 00 03", 5), bytes({ 0, 0, 0, 0, 3 }));
    EXPECT_EQ(bytesFromHexPairs("FE FE 64", 2), bytes({ 0xFE, 0xFE })) << "only the pairs asked for";
    EXPECT_EQ(bytesFromHexPairs("FE FE ", 0), "");
    EXPECT_EQ(bytesFromHexPairs("FE FE "), bytes({ 0xFE, 0xFE })) << "a trailing separator is no pair";
}

TEST(HexPairs, APairThatIsNoHexNumberGivesNothingToSend)
{
    const char* damaged[]
        = { "FE FE 6G E0 03 FD", "FE FE  64 E0 03 FD", "FE FE 64 E0 03 F", "-1 FE 64 E0 03 FD", "FE,FE,64,E0,03,F" };
    for (const char* text : damaged) {
        EXPECT_EQ(bytesFromHexPairs(text, 6), std::nullopt) << text;
        EXPECT_EQ(bytesFromHexPairs(text), std::nullopt) << text;
    }
    EXPECT_EQ(bytesFromHexPairs("FE FE 0"), std::nullopt) << "a lone last character";
}

TEST(PollCycle, KenwoodSendsBothStringsInOneSendTick)
{
    test::RecordingSerialPort port;
    PollCycle cycle = cycleFor(port, "Kenwood");
    EXPECT_EQ(sendTicks(cycle, port, 2), (std::vector<std::string> { "FA;MD;", "FA;MD;" }));
    PollCycle kenwood2 = cycleFor(port, "Kenwood 2");
    EXPECT_EQ(sendTicks(kenwood2, port, 1), (std::vector<std::string> { "IF;" })) << "an empty string is left out";
}

TEST(PollCycle, IcomAlternatesFrequencyAndModeAndTheReadSaysWhich)
{
    test::RecordingSerialPort port;
    PollCycle cycle = cycleFor(port, "Icom");
    EXPECT_FALSE(cycle.tick());
    EXPECT_EQ(port.writes, std::vector<std::string> { IcomFrequency });
    port.incoming = "reply";
    const std::optional<PollRead> first = cycle.tick();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->frequencyAsked);
    EXPECT_EQ(first->receiveBuffer, "reply");
    EXPECT_TRUE(first->decode);
    EXPECT_FALSE(cycle.tick());
    EXPECT_EQ(port.writes.back(), IcomMode);
    port.incoming = "mode";
    EXPECT_FALSE(cycle.tick()->frequencyAsked);
    EXPECT_EQ(sendTicks(cycle, port, 2), (std::vector<std::string> { IcomFrequency, IcomMode }));
}

TEST(PollCycle, AlternatingRigsPassTheTurnWhenAStringIsTooShort)
{
    test::RecordingSerialPort port;
    PollCycle icom(port, RigFamily::Icom, "FE FE 64 E0 03 FD", "FE FE 64 E0 04", true);
    EXPECT_EQ(sendTicks(icom, port, 3), (std::vector<std::string> { IcomFrequency, "", IcomFrequency }));
    PollCycle ftdx(port, RigFamily::Ftdx9000, "FA;", "M", false);
    EXPECT_EQ(sendTicks(ftdx, port, 3), (std::vector<std::string> { "FA;", "", "FA;" }));
    PollCycle panel = cycleFor(port, "Ten Tec Fnt Pnl");
    EXPECT_EQ(sendTicks(panel, port, 2), (std::vector<std::string> { "?A\r", "?M\r" }));
}

TEST(PollCycle, EachFamilyWritesItsRequests)
{
    struct Case
    {
        RigFamily family;
        const char* frequencyPoll;
        const char* modePoll;
        bool hex;
        std::string sent;
    } cases[] = {
        { RigFamily::Icom, "FE FE 5C E0 03 FD", "", true, bytes({ 0xFE, 0xFE, 0x5C, 0xE0, 0x03, 0xFD }) },
        { RigFamily::Other, "FE FE 64 E0 03 FD", "", true, IcomFrequency },
        { RigFamily::Other, "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, IcomFrequency + IcomMode },
        { RigFamily::Other, "FA;", "MD;", false, "FA;MD;" },
        { RigFamily::Other, "FE FE XX", "FA", true, "" }, // a damaged string sends nothing rather than garbage
        { RigFamily::Orion, "?AF", "?RMM", false, "?AF\r?RMM\r" },
        { RigFamily::Yaesu, "00 00 00 02 10", "", true, bytes({ 0, 0, 0, 2, 0x10 }) },
        { RigFamily::Yaesu, "00 00 00 02", "", true, "" },
        { RigFamily::Pegasus, "FA;", "MD;", false, "" },
        { RigFamily::None, "FA;", "MD;", false, "" },
        { RigFamily::Rigctld, "f", "m", false, "" },
    };
    for (const Case& c : cases) {
        test::RecordingSerialPort port;
        PollCycle cycle(port, c.family, c.frequencyPoll, c.modePoll, c.hex);
        EXPECT_EQ(sendTicks(cycle, port, 1).front(), c.sent) << c.frequencyPoll;
    }
}

TEST(PollCycle, BytesStillWaitingSkipTheSendButNotTheRead)
{
    test::RecordingSerialPort port;
    PollCycle cycle = cycleFor(port, "Icom");
    port.waiting = 3;
    EXPECT_FALSE(cycle.tick());
    EXPECT_TRUE(port.writes.empty());
    EXPECT_TRUE(cycle.readNext());
    EXPECT_TRUE(cycle.tick());
    port.waiting = 0;
    EXPECT_EQ(sendTicks(cycle, port, 1).front(), IcomFrequency) << "the skipped request keeps its turn";
}

TEST(PollCycle, AReadWithNothingReceivedRunsNoDecoderButPegasusAlwaysDoes)
{
    test::RecordingSerialPort port;
    PollCycle kenwood = cycleFor(port, "Kenwood");
    (void)kenwood.tick();
    const std::optional<PollRead> nothing = kenwood.tick();
    ASSERT_TRUE(nothing);
    EXPECT_FALSE(nothing->decode);
    EXPECT_EQ(nothing->receiveBuffer, "");

    PollCycle pegasus = cycleFor(port, "Ten Tec Pegasus");
    port.incoming = "not for the Pegasus";
    (void)pegasus.tick();
    const std::optional<PollRead> read = pegasus.tick();
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->decode);
    EXPECT_EQ(port.incoming, "not for the Pegasus") << "the Pegasus is read from its file, not the port";
}

TEST(RigPort, YaesuIsWokenOnOpeningThenAskedEachSendTick)
{
    test::RecordingSerialPort port;
    RigSettings s;
    (void)applyProfile("Yaesu", s);
    s.port = 4;
    s.power = "D";
    ASSERT_TRUE(openRigPort(port, s));
    EXPECT_EQ(port.number, 4);
    EXPECT_EQ(port.line, (LineSettings { 4800, 'N', 8, 2 }));
    EXPECT_EQ(port.handshaking, Handshaking::None);
    EXPECT_TRUE(port.dtr);
    EXPECT_FALSE(port.rts);
    EXPECT_EQ(port.writes, std::vector<std::string> { bytes({ 0, 0, 0, 0, 0 }) });
    PollCycle cycle(port, rigFamily(s.rigName), s.frequencyPoll, s.modePoll, s.convertToHex);
    EXPECT_EQ(sendTicks(cycle, port, 2), (std::vector<std::string>(2, bytes({ 0, 0, 0, 0, 3 }))));
    EXPECT_EQ(closingBytes(RigFamily::Yaesu), bytes({ 0, 0, 0, 0, 0x80 }));
}

TEST(RigPort, OpeningBytesHandshakingAndFailures)
{
    EXPECT_EQ(openingBytes(RigFamily::Ftdx9000), "");
    EXPECT_EQ(closingBytes(RigFamily::Ftdx9000), "");
    EXPECT_EQ(closingBytes(RigFamily::Orion), "");
    EXPECT_TRUE(needsRtsCts(RigFamily::FrontPanel));
    EXPECT_FALSE(needsRtsCts(RigFamily::Icom));

    test::RecordingSerialPort port;
    RigSettings s;
    (void)applyProfile("Ten Tec Orion", s);
    s.power = "R";
    port.opened = true;
    ASSERT_TRUE(openRigPort(port, s));
    EXPECT_EQ(port.handshaking, Handshaking::RtsCts);
    EXPECT_TRUE(port.rts);
    EXPECT_EQ(port.writes, std::vector<std::string> { "X\r" });

    test::RecordingSerialPort busy;
    busy.openFailure = "/dev/ttyS0 is in use";
    const Status failed = openRigPort(busy, s);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.error().description, "/dev/ttyS0 is in use");
    EXPECT_TRUE(busy.writes.empty());

    s.dataBits = "6";
    test::RecordingSerialPort untouched;
    EXPECT_FALSE(openRigPort(untouched, s)) << "settings no port takes";
    EXPECT_FALSE(untouched.opened);
}

} // namespace
} // namespace brindle
