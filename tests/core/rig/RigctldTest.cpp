#include "rig/Rigctld.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

// The replies to one poll, as the daemon sends them, and what they should read as.
TEST(RigctldProtocol, aPollReadsFrequencyAndModeWhateverPiecesTheyArriveIn)
{
    const std::string replies = "14025000\nCW\n500\n";
    for (const std::size_t piece : { replies.size(), std::size_t { 1 }, std::size_t { 4 } }) {
        RigctldProtocol rig;
        ASSERT_EQ(rig.pollRequest(), "f\nm\n");
        RigctldProtocol::Reading read;
        for (std::size_t at = 0; at < replies.size(); at += piece) {
            const RigctldProtocol::Reading part = rig.take(std::string_view(replies).substr(at, piece));
            read.freqMHz = part.freqMHz ? part.freqMHz : read.freqMHz;
            read.mode = part.mode ? part.mode : read.mode;
        }
        EXPECT_DOUBLE_EQ(read.freqMHz.value_or(0), 14.025) << piece;
        EXPECT_EQ(read.mode.value_or(""), "CW") << piece;
        EXPECT_EQ(rig.repliesDue(), 0u);
        EXPECT_EQ(rig.pollRequest(), "f\nm\n") << "ready for the next poll";
    }
}

TEST(RigctldProtocol, aSlowDaemonIsNotAskedAgainUntilItHasAnswered)
{
    RigctldProtocol rig;
    ASSERT_EQ(rig.pollRequest(), "f\nm\n");
    EXPECT_FALSE(rig.take("7025000\n").mode);
    EXPECT_EQ(rig.pollRequest(), "") << "the mode is still due";
    const RigctldProtocol::Reading read = rig.take("USB\r\n2400\r\n");
    EXPECT_EQ(read.mode.value_or(""), "USB") << "CR LF line ends too";
    EXPECT_EQ(rig.pollRequest(), "f\nm\n");
}

TEST(RigctldProtocol, anErrorReplyStandsForTheWholeAnswerAndTheRestStillReads)
{
    RigctldProtocol rig;
    (void)rig.pollRequest();
    const RigctldProtocol::Reading read = rig.take("RPRT -11\nLSB\n2400\n");
    EXPECT_FALSE(read.freqMHz);
    EXPECT_EQ(read.error, -11);
    EXPECT_EQ(read.mode.value_or(""), "LSB");
    EXPECT_EQ(rig.repliesDue(), 0u);

    (void)rig.pollRequest();
    EXPECT_LT(rig.take("RPRT -4444444444444444\n").error.value_or(0), 0) << "however large the code";
    (void)rig.take("RPRT -1\n");

    (void)rig.pollRequest();
    const RigctldProtocol::Reading failed = rig.take("RPRT -1\nRPRT -1\n");
    EXPECT_EQ(failed.error, -1);
    EXPECT_EQ(rig.repliesDue(), 0u) << "a mode refused takes no passband line";
}

TEST(RigctldProtocol, aCommandIsAnsweredInTurnAndARefusalNamesIt)
{
    RigctldProtocol rig;
    ASSERT_EQ(rig.pollRequest(), "f\nm\n");
    EXPECT_EQ(rig.commandRequest("M CW 0", 1), "M CW 0\n");
    EXPECT_EQ(rig.commandRequest("F 14025000", 2), "F 14025000\n");
    EXPECT_EQ(rig.repliesDue(), 4u);
    // The poll's answers come first, then one report for each command.
    const RigctldProtocol::Reading read = rig.take("7025000\nUSB\n2400\nRPRT 0\nRPRT -9\n");
    EXPECT_DOUBLE_EQ(read.freqMHz.value_or(0), 7.025);
    EXPECT_FALSE(read.error) << "a refused command is no failed poll";
    ASSERT_EQ(read.refused.size(), 1u);
    EXPECT_EQ(read.refused[0], std::make_pair(2, -9));
    EXPECT_EQ(rig.repliesDue(), 0u);
    EXPECT_EQ(rigctldErrorText(-9), "rigctld: RPRT -9 (Command rejected by the rig)");
    EXPECT_EQ(rigctldErrorText(-99), "rigctld: RPRT -99");
}

TEST(RigctldProtocol, whatWasNotAskedOrCannotBeReadChangesNothing)
{
    RigctldProtocol rig;
    EXPECT_FALSE(rig.take("14025000\nCW\n500\n").freqMHz) << "no poll asked for it";
    (void)rig.pollRequest();
    const RigctldProtocol::Reading read = rig.take("fourteen\n\n500\n");
    EXPECT_FALSE(read.freqMHz);
    EXPECT_FALSE(read.mode);
    EXPECT_EQ(rig.repliesDue(), 0u);

    (void)rig.pollRequest();
    (void)rig.take(std::string(10'000, '1'));
    rig.reset();
    EXPECT_EQ(rig.repliesDue(), 0u);
    (void)rig.pollRequest();
    EXPECT_DOUBLE_EQ(rig.take("3525000\nCW\n500\n").freqMHz.value_or(0), 3.525)
        << "the half line of the lost connection is gone";
}

TEST(RigctldProtocol, modesBecomeTheLoggersModeTexts)
{
    const struct
    {
        const char* rigctld;
        const char* ours; // empty: left as it was
    } cases[] = {
        { "CW", "CW" }, { "CWR", "CW" }, { "USB", "PH" }, { "LSB", "PH" }, { "AM", "AM" }, { "FM", "FM" },
        { "WFM", "FM" }, { "usb", "PH" }, { "RTTY", "" }, { "PKTUSB", "" }, { "", "" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(rigctldModeText(c.rigctld).value_or("")), c.ours) << c.rigctld;
    }
}

TEST(RigctldProtocol, theAddressIsHostAndPort)
{
    const std::optional<RigctldAddress> address = parseRigctldAddress(" 127.0.0.1:4532 ");
    ASSERT_TRUE(address);
    EXPECT_EQ(address->host, "127.0.0.1");
    EXPECT_EQ(address->port, 4532);
    EXPECT_EQ(parseRigctldAddress("shack-pi.local:4533").value_or(RigctldAddress {}).host, "shack-pi.local");
    for (const char* bad : { "127.0.0.1", ":4532", "host:", "host:0", "host:65536", "host:45x" }) {
        EXPECT_FALSE(parseRigctldAddress(bad)) << bad;
    }
}

} // namespace
} // namespace brindle
