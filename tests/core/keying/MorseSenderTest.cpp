#include "keying/MorseSender.h"

#include "support/RecordingKeyingLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

namespace brindle {
namespace {

using namespace std::chrono;
using test::RecordingKeyingLine;

// Timing is measured on the real clock, and a busy test machine may wake a thread some milliseconds
// late; a fault in the timing is at least a unit (12 ms at the fastest speed used here).
constexpr double ToleranceMs = 6.0;

double msBetween(steady_clock::time_point from, steady_clock::time_point to)
{
    return duration<double, std::milli>(to - from).count();
}

struct Sent
{
    std::vector<double> edgesMs; // from the first edge; odd entries key down, as they alternate
    double lengthMs = 0; // from the first edge to the end of the last character
    std::vector<MorseSender::Outcome> outcomes;
};

class MorseSenderTest : public ::testing::Test
{
protected:
    Sent send(std::string_view text)
    {
        return send(text, line);
    }
    Sent send(std::string_view text, RecordingKeyingLine& line)
    {
        MorseSender sender(line, settings);
        sender.startNewRun();
        Sent sent;
        for (char c : text) {
            sent.outcomes.push_back(sender.sendCharacter(c));
        }
        const auto end = steady_clock::now();
        const auto edges = line.edges();
        if (!edges.empty()) {
            for (std::size_t i = 0; i < edges.size(); ++i) {
                EXPECT_EQ(edges[i].down, i % 2 == 0) << "edge " << i << " does not alternate";
                sent.edgesMs.push_back(msBetween(edges[0].at, edges[i].at));
            }
            sent.lengthMs = msBetween(edges[0].at, end);
        }
        return sent;
    }

    static void expectEdges(const Sent& sent, std::vector<double> expected, double lengthMs)
    {
        ASSERT_EQ(sent.edgesMs.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(sent.edgesMs[i], expected[i], ToleranceMs) << "edge " << i;
        }
        EXPECT_NEAR(sent.lengthMs, lengthMs, ToleranceMs);
    }

    RecordingKeyingLine line;
    LiveCwSettings settings;
};

TEST_F(MorseSenderTest, EWordSpaceEKeysTheStandardLengths)
{
    settings.wordsPerMinute = 20;
    // down 60, up 180, up 480 (the space), down 60, up 180
    expectEdges(send("E E"), { 0, 60, 720, 780 }, 960);
    EXPECT_FALSE(line.isDown());
}

TEST_F(MorseSenderTest, TheWordSpaceAdjustmentMovesTheSecondWord)
{
    struct Case
    {
        int wordSpace;
        double secondDownMs;
    } cases[] = { { -8, 240 }, { 3, 900 } };
    for (const Case& c : cases) {
        RecordingKeyingLine fresh;
        settings.wordsPerMinute = 20;
        settings.wordSpace = c.wordSpace;
        const Sent sent = send("E E", fresh);
        ASSERT_EQ(sent.edgesMs.size(), 4u);
        EXPECT_NEAR(sent.edgesMs[2], c.secondDownMs, ToleranceMs) << "word space " << c.wordSpace;
    }
}

TEST_F(MorseSenderTest, LowerCaseAndTheBreakKeyLikeTheirTwins)
{
    settings.wordsPerMinute = 100; // 12 ms units keep the test short
    const Sent lower = send("5nn-");
    RecordingKeyingLine other;
    const Sent upper = send("5NN=", other);
    ASSERT_EQ(lower.edgesMs.size(), upper.edgesMs.size());
    for (std::size_t i = 0; i < lower.edgesMs.size(); ++i) {
        EXPECT_NEAR(lower.edgesMs[i], upper.edgesMs[i], ToleranceMs) << "edge " << i;
    }
}

TEST_F(MorseSenderTest, CharactersWithoutCodeAndTheLogCharacterPassWithoutKeyingOrDelay)
{
    settings.wordsPerMinute = 5;
    MorseSender sender(line, settings);
    const auto start = steady_clock::now();
    EXPECT_EQ(sender.sendCharacter('%'), MorseSender::Outcome::Sent);
    EXPECT_EQ(sender.sendCharacter('!'), MorseSender::Outcome::LogContact);
    EXPECT_EQ(sender.sendCharacter('$'), MorseSender::Outcome::Sent);
    EXPECT_LT(msBetween(start, steady_clock::now()), 5.0);
    EXPECT_TRUE(line.edges().empty());
}

TEST_F(MorseSenderTest, NoSpeedKeysNothingAndASpeedDroppedMidCharacterLeavesTheKeyUp)
{
    settings.wordsPerMinute = 0;
    MorseSender sender(line, settings);
    EXPECT_EQ(sender.sendCharacter('T'), MorseSender::Outcome::NoSpeed);
    for (const auto& edge : line.edges()) {
        EXPECT_FALSE(edge.down);
    }

    settings.wordsPerMinute = 60;
    std::thread slowDown([this] {
        std::this_thread::sleep_for(milliseconds(30));
        settings.wordsPerMinute = -1;
    });
    // "0" is 15 units down in all: at 20 ms a unit it is still keyed when the speed goes.
    EXPECT_EQ(sender.sendCharacter('0'), MorseSender::Outcome::NoSpeed);
    slowDown.join();
    EXPECT_FALSE(line.isDown());
}

TEST_F(MorseSenderTest, ASpeedChangeTakesEffectAtTheNextUnit)
{
    settings.wordsPerMinute = 20; // 60 ms
    MorseSender sender(line, settings);
    std::thread speedUp([this] {
        std::this_thread::sleep_for(milliseconds(90));
        settings.wordsPerMinute = 40; // 30 ms
    });
    // "T": one dash of three units, then three up. The first two units are 60 ms; the rest 30.
    (void)sender.sendCharacter('T');
    speedUp.join();
    const auto edges = line.edges();
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_NEAR(msBetween(edges[0].at, edges[1].at), 150, ToleranceMs);
}

TEST_F(MorseSenderTest, ALineThatFailsAbandonsTheCharacterAndIsNotLeftDown)
{
    settings.wordsPerMinute = 100;
    line.failAfter = 1; // accepts the first key-down, then refuses
    MorseSender sender(line, settings);
    EXPECT_EQ(sender.sendCharacter('A'), MorseSender::Outcome::LineFailed);
    EXPECT_EQ(sender.lineFailure().description, "Input/output error");
    EXPECT_GE(line.refusals(), 1);
}

TEST_F(MorseSenderTest, TimerTimingAddsNoErrorOverAMessage)
{
    settings.wordsPerMinute = 40; // 30 ms units
    // PARIS is 43 units with the three after its S; the space adds eight more: 54 units, 1.62 s.
    const Sent sent = send("PARIS PARIS ");
    EXPECT_NEAR(sent.lengthMs, 2 * 54 * 30.0, ToleranceMs);
}

TEST_F(MorseSenderTest, SleepAndLoopTimingKeyTheSameElements)
{
    settings.wordsPerMinute = 60; // 20 ms units
    settings.timing = CwTiming::Sleep;
    const Sent slept = send("A");
    expectEdges(slept, { 0, 20, 40, 100 }, 160);

    RecordingKeyingLine counted;
    settings.timing = CwTiming::Loop;
    settings.loopsPer60Ms = calibrateLoop();
    ASSERT_GT(settings.loopsPer60Ms.load(), 0);
    const Sent looped = send("A", counted);
    // A counting loop is only as exact as the computer is idle: the elements are checked, not their
    // lengths.
    EXPECT_EQ(looped.edgesMs.size(), 4u);
    EXPECT_FALSE(counted.isDown());
}

TEST(LoopCount, SpeedUpAndSlowDownTakeATenthAndGiveItBackRoundingHalvesToEven)
{
    EXPECT_EQ(shortenedLoop(1000), 900);
    EXPECT_EQ(lengthenedLoop(900), 1000);
    EXPECT_EQ(shortenedLoop(5), 4) << "4.5 goes to the even neighbour";
    EXPECT_EQ(shortenedLoop(15), 14) << "13.5 likewise";
    EXPECT_EQ(lengthenedLoop(0), 0);
}

} // namespace
} // namespace brindle
