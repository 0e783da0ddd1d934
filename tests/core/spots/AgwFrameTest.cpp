#include "spots/AgwFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

using namespace std::string_literals;

// Headers spelt out field by field as the engine's API document lays them out: port and 3 reserved
// bytes, kind and 1 reserved, PID and 1 reserved, call from (10), call to (10), data length (32-bit
// little-endian), 4 reserved bytes.
const std::string MonitoredSpotFrame = "\x00\x00\x00\x00"s
                                       "U\x00"s
                                       "\x00\x00"s
                                       "W1AW\0\0\0\0\0\0"s
                                       "APRS\0\0\0\0\0\0"s
                                       "\x55\x00\x00\x00"s
                                       "\0\0\0\0"s
                                       " 1:Fm W1AW To APRS <UI pid=F0 Len=34 >[12:00:00]\r"
                                       "DX de W1AW: 14025.0 Q9ZZZ CQ 1200Z\r\0"s;
const AgwFrame MonitoredSpot { 0, 'U', 0, "W1AW", "APRS",
    " 1:Fm W1AW To APRS <UI pid=F0 Len=34 >[12:00:00]\rDX de W1AW: 14025.0 Q9ZZZ CQ 1200Z\r\0"s };
const std::string RegisteredReply = "\x00\x00\x00\x00"s
                                    "X\x00"s
                                    "\x00\x00"s
                                    "N0CALL\0\0\0\0"s
                                    "\0\0\0\0\0\0\0\0\0\0"s
                                    "\x01\x00\x00\x00"s
                                    "\0\0\0\0"s
                                    "\x01"s;
const AgwFrame Registered { 0, 'X', 0, "N0CALL", "", "\x01" };

TEST(AgwFrame, theRequestsAreTheBytesTheEngineExpects)
{
    struct Case
    {
        std::string request;
        std::string bytes;
    };
    const std::vector<Case> cases {
        { agwRegisterRequest("N0CALL"),
            "\0\0\0\0X\0\0\0N0CALL\0\0\0\0"s + std::string(10, '\0') + "\0\0\0\0\0\0\0\0"s },
        { agwMonitorRequest(), "\0\0\0\0m\0\0\0"s + std::string(28, '\0') },
        { agwConnectRequest("N0CALL", "W1AW-5"), "\0\0\0\0C\0\0\0N0CALL\0\0\0\0W1AW-5\0\0\0\0\0\0\0\0\0\0\0\0"s },
        { agwDisconnectRequest("N0CALL", "W1AW-5"), "\0\0\0\0d\0\0\0N0CALL\0\0\0\0W1AW-5\0\0\0\0\0\0\0\0\0\0\0\0"s },
        { agwDataRequest("N0CALL", "W1AW-5", "SH/DX\r"),
            "\0\0\0\0D\0\xF0\0N0CALL\0\0\0\0W1AW-5\0\0\0\0\x06\0\0\0\0\0\0\0SH/DX\r"s },
        // A call too long for its field keeps the NUL that ends it.
        { agwConnectRequest("N0CALLSIGNX", "W1AW"), "\0\0\0\0C\0\0\0N0CALLSIG\0W1AW\0\0\0\0\0\0\0\0\0\0\0\0\0\0"s },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.request, c.bytes);
    }
}

TEST(AgwFrame, framesComeWholeWhateverPiecesTheStreamArrivesIn)
{
    const std::string stream = RegisteredReply + MonitoredSpotFrame + RegisteredReply;
    for (const std::size_t piece :
        { std::size_t { 1 }, std::size_t { 7 }, AgwHeaderSize, std::size_t { 40 }, stream.size() }) {
        AgwFrameReader reader;
        std::vector<AgwFrame> frames;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            const AgwFrameReader::Result result = reader.take(std::string_view(stream).substr(at, piece));
            EXPECT_FALSE(result.broken) << piece;
            frames.insert(frames.end(), result.frames.begin(), result.frames.end());
        }
        EXPECT_EQ(frames, (std::vector<AgwFrame> { Registered, MonitoredSpot, Registered })) << piece;
        EXPECT_EQ(reader.bytesKept(), 0u) << piece;
    }
}

TEST(AgwFrame, aPartFrameWaitsAndAResetDropsIt)
{
    AgwFrameReader reader;
    EXPECT_EQ(
        reader.take(RegisteredReply + MonitoredSpotFrame.substr(0, 50)).frames, std::vector<AgwFrame> { Registered });
    EXPECT_EQ(reader.bytesKept(), 50u);
    reader.reset();
    EXPECT_EQ(reader.take(MonitoredSpotFrame).frames, std::vector<AgwFrame> { MonitoredSpot });
}

TEST(AgwFrame, whatTheEncoderWritesTheReaderReadsBack)
{
    const std::vector<AgwFrame> frames {
        MonitoredSpot,
        { 3, 'D', 0xF0, "W1AW-15", "N0CALL", std::string(AgwMaxDataLength, 'x') },
        { 255, '\xFF', 255, "", "", "" },
    };
    AgwFrameReader reader;
    for (const AgwFrame& frame : frames) {
        EXPECT_EQ(reader.take(encodeAgwFrame(frame)).frames, std::vector<AgwFrame> { frame });
    }
}

TEST(AgwFrame, anAbsurdLengthIsABrokenStreamNotAnAllocation)
{
    struct Case
    {
        const char* what;
        std::string bytes;
    };
    std::string fourGigabytes = RegisteredReply.substr(0, AgwHeaderSize);
    fourGigabytes.replace(28, 4, "\xFF\xFF\xFF\xFF"s);
    std::string justTooLong = MonitoredSpotFrame.substr(0, AgwHeaderSize);
    justTooLong.replace(28, 4, "\x01\x00\x01\x00"s);
    const std::vector<Case> cases {
        { "a length of 4 GiB", fourGigabytes },
        { "one byte more than allowed", justTooLong },
        { "text from another service", "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n" },
    };
    for (const Case& c : cases) {
        AgwFrameReader reader;
        const AgwFrameReader::Result result = reader.take(c.bytes);
        EXPECT_TRUE(result.frames.empty()) << c.what;
        ASSERT_TRUE(result.broken) << c.what;
        EXPECT_NE(result.broken->find("bytes"), std::string::npos) << *result.broken;
        EXPECT_EQ(reader.bytesKept(), 0u) << c.what;
        EXPECT_EQ(reader.take(RegisteredReply).frames, std::vector<AgwFrame> { Registered })
            << c.what << ": read afresh after";
    }
}

} // namespace
} // namespace brindle
