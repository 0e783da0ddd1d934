#include "keying/MorseSender.h"

#include "support/RecordingKeyingLine.h"
#include "support/SteppedKeyingClock.h"

#include <gtest/gtest.h>

#include <string_view>

namespace brindle {
namespace {

using namespace std::chrono;
using test::RecordingKeyingLine;
using test::SteppedKeyingClock;

struct Sent
{
    std::vector<double> edgesMs; // from the first edge; odd entries key down, as they alternate
    double lengthMs = 0; // from the first edge to the end of the last character
    std::vector<MorseSender::Outcome> outcomes;
};

// The sender runs on a clock that jumps to each deadline, so every edge is where the timing puts it,
// to the microsecond, however busy the test machine is. How close the computer's own clock comes to
// those edges is the keying benchmark's measure.
class MorseSenderTest : public ::testing::Test
{
protected:
    Sent send(std::string_view text)
    {
        return send(text, line);
    }
    Sent send(std::string_view text, RecordingKeyingLine& onLine)
    {
        MorseSender sender(onLine, settings, clock);
        sender.startNewRun();
        Sent sent;
        for (char c : text) {
            sent.outcomes.push_back(sender.sendCharacter(c));
        }
        const auto end = clock.now();
        const auto edges = onLine.edges();
        if (!edges.empty()) {
            for (std::size_t i = 0; i < edges.size(); ++i) {
                EXPECT_EQ(edges[i].down, i % 2 == 0) << "edge " << i << " does not alternate";
                sent.edgesMs.push_back(msBetween(edges[0].at, edges[i].at));
            }
            sent.lengthMs = msBetween(edges[0].at, end);
        }
        return sent;
    }

    static double msBetween(KeyingClock::Clock::time_point from, KeyingClock::Clock::time_point to)
    {
        return duration<double, std::milli>(to - from).count();
    }

    static void expectEdges(const Sent& sent, std::vector<double> expected, double lengthMs)
    {
        ASSERT_EQ(sent.edgesMs.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(sent.edgesMs[i], expected[i], Exact) << "edge " << i;
        }
        EXPECT_NEAR(sent.lengthMs, lengthMs, Exact);
    }

    // A unit is a whole number of clock ticks short of its exact length at most.
    static constexpr double Exact = 0.001;

    SteppedKeyingClock clock;
    RecordingKeyingLine line { clock };
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
        RecordingKeyingLine fresh(clock);
        settings.wordsPerMinute = 20;
        settings.wordSpace = c.wordSpace;
        const Sent sent = send("E E", fresh);
        ASSERT_EQ(sent.edgesMs.size(), 4u);
        EXPECT_NEAR(sent.edgesMs[2], c.secondDownMs, Exact) << "word space " << c.wordSpace;
    }
}

TEST_F(MorseSenderTest, LowerCaseAndTheBreakKeyLikeTheirTwins)
{
    settings.wordsPerMinute = 100;
    const Sent lower = send("5nn-");
    RecordingKeyingLine other(clock);
    const Sent upper = send("5NN=", other);
    EXPECT_EQ(lower.edgesMs, upper.edgesMs);
    EXPECT_EQ(lower.lengthMs, upper.lengthMs);
}

TEST_F(MorseSenderTest, CharactersWithoutCodeAndTheLogCharacterPassWithoutKeyingOrDelay)
{
    settings.wordsPerMinute = 5;
    MorseSender sender(line, settings, clock);
    EXPECT_EQ(sender.sendCharacter('%'), MorseSender::Outcome::Sent);
    EXPECT_EQ(sender.sendCharacter('!'), MorseSender::Outcome::LogContact);
    EXPECT_EQ(sender.sendCharacter('$'), MorseSender::Outcome::Sent);
    EXPECT_EQ(clock.now(), SteppedKeyingClock::start()) << "no time passed";
    EXPECT_TRUE(line.edges().empty());
}

TEST_F(MorseSenderTest, NoSpeedKeysNothingAndASpeedDroppedMidCharacterLeavesTheKeyUp)
{
    settings.wordsPerMinute = 0;
    MorseSender sender(line, settings, clock);
    EXPECT_EQ(sender.sendCharacter('T'), MorseSender::Outcome::NoSpeed);
    for (const auto& edge : line.edges()) {
        EXPECT_FALSE(edge.down);
    }

    settings.wordsPerMinute = 60;
    // "0" is 15 units down in all: at 20 ms a unit it is still keyed when the speed goes.
    clock.at(30, [this] { settings.wordsPerMinute = -1; });
    EXPECT_EQ(sender.sendCharacter('0'), MorseSender::Outcome::NoSpeed);
    EXPECT_FALSE(line.isDown());
    EXPECT_EQ(clock.msSinceStart(clock.now()), 40) << "stopped at the end of the unit the speed went in";
}

TEST_F(MorseSenderTest, ASpeedChangeTakesEffectAtTheNextUnit)
{
    settings.wordsPerMinute = 20; // 60 ms
    MorseSender sender(line, settings, clock);
    clock.at(90, [this] { settings.wordsPerMinute = 40; }); // 30 ms
    // "T": one dash of three units, then three up. The first two units are 60 ms; the rest 30.
    (void)sender.sendCharacter('T');
    const auto edges = line.edges();
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_NEAR(msBetween(edges[0].at, edges[1].at), 150, Exact);
}

TEST_F(MorseSenderTest, ALineThatFailsAbandonsTheCharacterAndIsNotLeftDown)
{
    settings.wordsPerMinute = 100;
    line.failAfter = 1; // accepts the first key-down, then refuses
    MorseSender sender(line, settings, clock);
    EXPECT_EQ(sender.sendCharacter('A'), MorseSender::Outcome::LineFailed);
    EXPECT_EQ(sender.lineFailure().description, "Input/output error");
    EXPECT_GE(line.refusals(), 1);
}

TEST_F(MorseSenderTest, TimerTimingAddsNoErrorOverAMessage)
{
    settings.wordsPerMinute = 40; // 30 ms units
    // PARIS is 43 units with the three after its S; the space adds eight more: 54 units, 1.62 s.
    // Each unit's deadline follows from the last one's, not from when the wait returned, so the
    // thread waking a little late at every unit costs nothing over the message.
    const Sent sent = send("PARIS PARIS ");
    EXPECT_NEAR(sent.lengthMs, 2 * 54 * 30.0, Exact);
}

TEST_F(MorseSenderTest, AThreadHeldUpForMoreThanAUnitStartsAfreshInsteadOfRushing)
{
    struct Case
    {
        double heldUpMs;
        std::vector<double> edges;
    } cases[] = {
        // Held up in E's dot until 50 ms past its end: the next unit keeps to the deadlines set at
        // the start, so the message keeps its length.
        { 80, { 0, 110, 720, 780 } },
        // Held up 170 ms past it: the units after it keep their own lengths from where it woke.
        { 200, { 0, 230, 890, 950 } },
    };
    for (const Case& c : cases) {
        SteppedKeyingClock heldUp;
        RecordingKeyingLine onLine(heldUp);
        settings.wordsPerMinute = 20;
        heldUp.holdUpAt(30, c.heldUpMs);
        MorseSender sender(onLine, settings, heldUp);
        for (char character : std::string_view("E E")) {
            (void)sender.sendCharacter(character);
        }
        std::vector<double> edges;
        for (const auto& edge : onLine.edges()) {
            edges.push_back(heldUp.msSinceStart(edge.at));
        }
        EXPECT_EQ(edges, c.edges) << "held up " << c.heldUpMs << " ms";
    }
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
