#include "spots/TncLines.h"
#include "spots/MonitorText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

using Lines = std::vector<std::string>;

const std::string SpotA = "DX de W3LPL:     14025.0  Q9ZZZ        CW 599                     1200Z";
const std::string SpotB = "DX de K1TTT:      7011.9  Q1AAA        up 2                       1201Z";

struct Poll
{
    TncLineBuffer buffer;
    std::string monitor = "** TNC Serial Port Open **\r\n\r\n";

    Lines take(std::string_view received, bool dxOnly = false)
    {
        return buffer.take(received, monitor, dxOnly);
    }
};

TEST(TncLines, EachLineKeepsItsLineEndAndTheFirstNeedsNoLineFeedBefore)
{
    const struct Case
    {
        const char* name;
        std::vector<std::string> reads;
        Lines spots;
        std::string shown;
    } cases[] = {
        { "CR LF", { SpotA + "\r\n" }, { SpotA + "\r\n" }, SpotA + "\r\n" },
        { "LF alone", { SpotA + "\n" }, { SpotA + "\n" }, SpotA + "\n" },
        { "two lines in one read, in order", { SpotA + "\r\n" + SpotB + "\r\n" }, { SpotA + "\r\n", SpotB + "\r\n" },
            SpotA + "\r\n" + SpotB + "\r\n" },
        { "a line waits for its line feed", { SpotA + "\r\n" + SpotB.substr(0, 20), SpotB.substr(20) + "\r\n" },
            { SpotA + "\r\n", SpotB + "\r\n" }, SpotA + "\r\n" + SpotB + "\r\n" },
        { "dx in any case", { "dx de W3LPL: 14025.0 Q9ZZZ\r\n" }, { "dx de W3LPL: 14025.0 Q9ZZZ\r\n" },
            "dx de W3LPL: 14025.0 Q9ZZZ\r\n" },
        { "other lines are shown, not spots", { "cmd:\r\nK1ABC>GB7DJK: hello\r\n" }, {},
            "cmd:\r\nK1ABC>GB7DJK: hello\r\n" },
        { "nothing received", { "" }, {}, "" },
    };
    for (const Case& c : cases) {
        Poll poll;
        const std::string before = poll.monitor;
        Lines spots;
        for (const std::string& read : c.reads) {
            for (std::string& spot : poll.take(read)) {
                spots.push_back(spot);
            }
        }
        EXPECT_EQ(spots, c.spots) << c.name;
        EXPECT_EQ(poll.monitor, before + c.shown) << c.name;
    }
}

TEST(TncLines, DxOnlyHidesTheOtherLines)
{
    Poll poll;
    const std::string before = poll.monitor;
    EXPECT_EQ(poll.take("cmd:\r\n" + SpotA + "\r\nK1ABC>GB7DJK: hello\r\n", true), Lines({ SpotA + "\r\n" }));
    EXPECT_EQ(poll.monitor, before + SpotA + "\r\n");
}

TEST(TncLines, ARepeatAmongTheLast800MonitorCharactersIsSkipped)
{
    Poll poll;
    EXPECT_EQ(poll.take(SpotA + "\r\n").size(), 1u);
    const std::string afterFirst = poll.monitor;
    EXPECT_TRUE(poll.take(SpotA + "\r\n").empty()) << "the same line again";
    EXPECT_TRUE(poll.take("DX DE w3lpl:" + SpotA.substr(12) + "\r\n").empty()) << "case does not matter";
    EXPECT_EQ(poll.monitor, afterFirst) << "a repeat is not shown either";

    // Other text pushes the first copy back beyond the 800 characters searched.
    const std::string filler = std::string(78, 'k') + "\r\n";
    for (int i = 0; i < 10; ++i) {
        poll.take(std::to_string(i) + filler.substr(1));
    }
    EXPECT_EQ(poll.take(SpotA + "\r\n"), Lines({ SpotA + "\r\n" }));
}

TEST(TncLines, AStreamWithoutLineFeedsStaysWithinItsBound)
{
    Poll poll;
    poll.take(SpotA + "\r\nDX de JUNK:");
    const std::string chunk(4096, 'x');
    for (int i = 0; i < 64; ++i) { // 256 KiB without a line feed
        EXPECT_TRUE(poll.take(chunk).empty());
        ASSERT_LE(poll.buffer.text().size(), TncLineBuffer::TncBufferLimit);
    }
    const std::string monitor = poll.monitor;
    EXPECT_EQ(poll.take("xx 14025.0 Q9ZZZ\r\n" + SpotB + "\r\n"), Lines({ SpotB + "\r\n" }))
        << "the line whose start was dropped is dropped whole";
    EXPECT_EQ(poll.monitor, monitor + SpotB + "\r\n");
}

TEST(TncLines, TheMonitorNeverHoldsMoreThanItsLimit)
{
    Poll poll;
    for (int i = 0; i < 400; ++i) {
        poll.take("K1ABC>GB7DJK: line " + std::to_string(i) + " " + std::string(40, '-') + "\r\n");
        ASSERT_LE(poll.monitor.size(), MonitorLimit);
    }
    EXPECT_TRUE(poll.monitor.ends_with("line 399 " + std::string(40, '-') + "\r\n"));
}

TEST(MonitorText, TrimmedToTheNewest9000OnlyOnceBeyond10000)
{
    const struct Case
    {
        std::size_t length;
        std::size_t after;
    } cases[] = { { 0, 0 }, { 9000, 9000 }, { 10000, 10000 }, { 10001, 9000 }, { 25000, 9000 } };
    for (const Case& c : cases) {
        std::string text;
        for (std::size_t i = 0; i < c.length; ++i) {
            text += static_cast<char>('a' + i % 26);
        }
        const std::string before = text;
        EXPECT_EQ(trimMonitor(text), c.after != c.length) << c.length;
        EXPECT_EQ(text, before.substr(c.length - c.after)) << c.length;
    }
}

} // namespace
} // namespace brindle
