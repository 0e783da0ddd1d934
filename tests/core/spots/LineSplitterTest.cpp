#include "spots/LineSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

using Lines = std::vector<std::string>;

// A node's greeting, a login exchange and spots, with the line ends nodes really mix.
const std::string Session = "Hello K1ABC, this is GB7DJK in Bedford\r\n"
                            "login: K1ABC\r\n"
                            "DX de W3LPL:     14025.0  Q9ZZZ        CW 599                     1200Z\r\n"
                            "\r\n"
                            "DX de KM3T-#:    7011.9  Q1AAA          CW    24 dB  25 WPM  CQ      1201Z\n"
                            "K1ABC de GB7DJK 12-Jan-2024 1202Z dxspider >\r\n";
const Lines SessionLines { "Hello K1ABC, this is GB7DJK in Bedford", "login: K1ABC",
    "DX de W3LPL:     14025.0  Q9ZZZ        CW 599                     1200Z", "",
    "DX de KM3T-#:    7011.9  Q1AAA          CW    24 dB  25 WPM  CQ      1201Z",
    "K1ABC de GB7DJK 12-Jan-2024 1202Z dxspider >" };

Lines splitInPieces(const std::vector<std::string>& pieces, LineSplitter& splitter)
{
    Lines lines;
    for (const std::string& piece : pieces) {
        splitter.take(piece, lines);
    }
    return lines;
}

TEST(LineSplitter, TheSameLinesWhereverTheReadsCutTheText)
{
    for (std::size_t cut = 0; cut <= Session.size(); ++cut) {
        LineSplitter splitter;
        EXPECT_EQ(splitInPieces({ Session.substr(0, cut), Session.substr(cut) }, splitter), SessionLines)
            << "cut at " << cut;
        EXPECT_EQ(splitter.pending(), "");
    }
    LineSplitter byteByByte;
    std::vector<std::string> bytes;
    for (const char c : Session) {
        bytes.emplace_back(1, c);
    }
    EXPECT_EQ(splitInPieces(bytes, byteByByte), SessionLines);
}

TEST(LineSplitter, LineEndsAndPadding)
{
    const struct Case
    {
        const char* name;
        std::vector<std::string> pieces;
        Lines lines;
        std::string pending;
    } cases[] = {
        { "several lines in one read", { "DX de A: 1\r\nDX de B: 2\r\nDX de C: 3\r\n" },
            { "DX de A: 1", "DX de B: 2", "DX de C: 3" }, "" },
        { "a line without its end waits", { "DX de A: 1\r\nDX de B" }, { "DX de A: 1" }, "DX de B" },
        { "its end in the next read", { "DX de A: 1\r\nDX de B", ": 2\r\n" }, { "DX de A: 1", "DX de B: 2" }, "" },
        { "LF alone", { "one\ntwo\n" }, { "one", "two" }, "" },
        { "CR alone", { "one\rtwo\r" }, { "one", "two" }, "" },
        { "CR LF split between reads is one end", { "one\r", "\ntwo\r", "\n" }, { "one", "two" }, "" },
        { "LF CR: the CR ends an empty line", { "one\n\rtwo\n\r" }, { "one", "", "two", "" }, "" },
        { "Telnet's CR NUL", { "one\r", std::string("\0two\r\0", 6) }, { "one", "two" }, "" },
        { "NUL padding inside a line", { std::string("DX\0 de\0\0 A\r\n", 13) }, { "DX de A" }, "" },
        { "nothing", { "" }, {}, "" },
        { "blank lines", { "\r\n\r\n" }, { "", "" }, "" },
        { "the pending line of a prompt", { "Please enter your call: " }, {}, "Please enter your call: " },
    };
    for (const Case& c : cases) {
        LineSplitter splitter;
        EXPECT_EQ(splitInPieces(c.pieces, splitter), c.lines) << c.name;
        EXPECT_EQ(splitter.pending(), c.pending) << c.name;
    }
}

TEST(LineSplitter, BinaryGarbageGivesLinesWithoutLineEndsOrNuls)
{
    std::string garbage;
    for (int round = 0; round < 40; ++round) {
        for (int value = 0; value < 256; ++value) {
            garbage += static_cast<char>((value * 37 + round * 11) & 0xFF);
        }
    }
    LineSplitter splitter(64);
    Lines lines;
    for (std::size_t at = 0; at < garbage.size(); at += 7) {
        splitter.take(std::string_view(garbage).substr(at, 7), lines);
        ASSERT_LE(splitter.pending().size(), 64u);
    }
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 64u);
        EXPECT_EQ(line.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
    }
    splitter.take("\r\n");
    EXPECT_EQ(splitter.take("DX de A: 1\n"), Lines({ "DX de A: 1" })) << "it reads on normally after the garbage";
}

TEST(LineSplitter, ALineBeyondTheBoundIsDroppedWholeInBoundedMemory)
{
    LineSplitter splitter;
    splitter.take("before\r\nDX de ");
    const std::string chunk(64 * 1024, 'x');
    Lines lines;
    for (int i = 0; i < 16; ++i) { // a 1 MB line
        splitter.take(chunk, lines);
        ASSERT_LE(splitter.pending().capacity(), 2 * LineSplitter::DefaultMaxLineLength);
    }
    EXPECT_TRUE(lines.empty()) << "no piece of it passes for a line";
    splitter.take("DX de A: 1\r\nDX de B: 2\r\n", lines);
    EXPECT_EQ(lines, Lines({ "DX de B: 2" })) << "the rest of the long line up to its end goes with it";
    EXPECT_EQ(splitter.droppedLines(), 1u);

    LineSplitter atTheBound(8);
    EXPECT_EQ(atTheBound.take("12345678\r\n123456789\r\nok\r\n"), Lines({ "12345678", "ok" }));
    EXPECT_EQ(atTheBound.take("1234"), Lines {});
    EXPECT_EQ(atTheBound.take("56789\r\nok\r\n"), Lines({ "ok" })) << "the bound counts across reads";
}

TEST(LineSplitter, ResetForgetsTheUnfinishedLine)
{
    LineSplitter splitter;
    splitter.take("DX de A: 14025.0 Q9Z");
    splitter.take(std::string(5000, 'x'));
    splitter.reset();
    EXPECT_EQ(splitter.pending(), "");
    EXPECT_EQ(splitter.droppedLines(), 0u);
    EXPECT_EQ(splitter.take("DX de B: 2\r\n"), Lines({ "DX de B: 2" }));
}

} // namespace
} // namespace brindle
