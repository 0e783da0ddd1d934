#include "reports/RateGraph.h"

#include "common/DateText.h"

#include "support/LogSamples.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace brindle {

namespace {

const DateTime ContestStart { 2026, 2, 21, 0, 0, 0 };

// A contact logged the given number of seconds after the start of the contest.
QsoRecord contactAt(long long seconds, std::string band = "20")
{
    const DateTime t = addHours(ContestStart, (static_cast<double>(seconds) + 0.5) / 3600.0);
    QsoRecord record;
    record.call = "K1AB";
    record.rstRcvd = "599";
    record.section = "MA";
    record.rstSent = "599";
    record.country = "United States";
    record.qsoDate = formatDate(t);
    record.qsoTime = formatTime(t);
    record.band = std::move(band);
    return record;
}

ContestLog logAt(const std::vector<long long>& seconds)
{
    ContestLog log;
    for (long long s : seconds) {
        log.append(contactAt(s));
    }
    return log;
}

// The slot a contact falls in when the first contact is at 0 and the last at span.
std::size_t slotOf(long long seconds, long long span)
{
    return static_cast<std::size_t>(
        std::nearbyint(static_cast<double>(seconds) / (static_cast<double>(span) / RateGraphSlots)));
}

std::vector<float> slots()
{
    return std::vector<float>(RateGraphLastSlot + 1, 0.0f);
}

// --- Whether there is a graph at all ----------------------------------------------------------------

TEST(RateGraphTest, sevenContactsMakeAGraphAndSixOnlyAMessage)
{
    EXPECT_FALSE(enoughContactsToGraph(test::sampleLog(6)));
    EXPECT_TRUE(enoughContactsToGraph(test::sampleLog(7)));
    EXPECT_EQ(notEnoughContactsMessage(),
        (OperatorMessage { "Not Enough Contacts to Graph.",
            "The graph will not display with less than 7 contacts.  The graph becomes more meaningful as several "
            "hours of contest logging are accumulated." }));
}

// --- Rates at the contacts ----------------------------------------------------------------------------

TEST(RateGraphTest, aContactAloneInItsTenMinutesRatesSix)
{
    // A lone contact halfway, hours away from the others.
    const ContestLog log = logAt({ 0, 60, 120, 7200, 14000, 14200, 14400 });
    const RateGraph graph = computeRateGraph(log, GraphBlack);
    ASSERT_TRUE(graph.plot);
    EXPECT_EQ(graph.plot->raw[slotOf(7200, 14400)], 6.0f);
    // The first contact's slot always starts the curve at 6.
    EXPECT_EQ(graph.plot->shown[1], 6.0f);
}

TEST(RateGraphTest, tenContactsWithinTenMinutesRateSixtyAndOneExactlyTenMinutesEarlierDoesNotCount)
{
    // 940 is exactly 600 seconds before the tenth contact at 1540, so it ends the count.
    std::vector<long long> seconds { 0, 940 };
    for (int k = 0; k < 10; ++k) {
        seconds.push_back(1000 + 60 * k);
    }
    seconds.push_back(3000);
    const RateGraph graph = computeRateGraph(logAt(seconds), GraphBlack);
    ASSERT_TRUE(graph.plot);
    EXPECT_EQ(graph.plot->raw[slotOf(1540, 3000)], 60.0f);
    EXPECT_EQ(graph.plot->raw[slotOf(1000, 3000)], 6.0f * 2); // itself and 940
}

TEST(RateGraphTest, theCountBackStopsAtTheFirstContactOutsideTheWindow)
{
    // The second contact was entered late: it lies an hour before the third and ends the count there, though
    // the first lies within ten minutes of the third.
    const std::vector<long long> moments { 3600, 0, 3700 };
    EXPECT_EQ(contactsInLastTenMinutes(moments, 2), 1);
    EXPECT_EQ(contactsInLastTenMinutes(moments, 0), 1);
    EXPECT_EQ(contactsInLastTenMinutes({ 0, 101, 599, 700 }, 3), 3);
    EXPECT_EQ(contactsInLastTenMinutes({ 0, 100, 599, 700 }, 3), 2);
}

// --- Gaps and smoothing -------------------------------------------------------------------------------

TEST(RateGraphTest, aGapOfMoreThanFifteenSlotsDropsToZeroAndAShorterOneIsBridged)
{
    std::vector<float> raw = slots();
    std::vector<float> shown = slots();
    raw[1] = 6;
    raw[100] = 30;
    raw[117] = 30; // 16 empty slots after 100: too far for slot 101 to see
    raw[200] = 30;
    raw[210] = 60; // 9 empty slots: bridged

    fillRateGaps(raw, shown);

    EXPECT_EQ(shown[101], 0.0f);
    // From 102 on the contact at 117 is in reach; the line starts from the 0 of slot 101.
    EXPECT_EQ(shown[102], 0.0f);
    EXPECT_FLOAT_EQ(shown[103], 2.0f);
    EXPECT_FLOAT_EQ(shown[116], 28.0f);
    // The bridge runs from the slot before the gap towards the next contact.
    EXPECT_FLOAT_EQ(shown[201], 30.0f);
    EXPECT_FLOAT_EQ(shown[205], 30.0f + 4 * 30.0f / 9);
    EXPECT_FLOAT_EQ(raw[205], shown[205]);
    EXPECT_EQ(shown[210], 60.0f);
    // After the last contact nothing follows: the curve stays at 0.
    EXPECT_EQ(shown[300], 0.0f);
}

TEST(RateGraphTest, aLongQuietSpellInALogShowsAsZero)
{
    // Two busy hours, eight quiet ones, two busy ones: the quiet middle spans hundreds of slots.
    std::vector<long long> seconds;
    for (long long s = 0; s <= 7200; s += 120) {
        seconds.push_back(s);
    }
    for (long long s = 36000; s <= 43200; s += 120) {
        seconds.push_back(s);
    }
    const RateGraph graph = computeRateGraph(logAt(seconds), GraphBlack);
    ASSERT_TRUE(graph.plot);
    EXPECT_EQ(graph.plot->shown[slotOf(21600, 43200)], 0.0f);
    EXPECT_EQ(graph.plot->minimum, 0.0f);
    EXPECT_GT(graph.plot->shown[slotOf(3600, 43200)], 0.0f);
}

TEST(RateGraphTest, smoothingAveragesThePositiveRatesOfTheLastSevenSlots)
{
    std::vector<float> raw = slots();
    std::vector<float> shown = slots();
    raw[8] = 6;
    raw[10] = 12;
    shown[5] = 99; // slots before the 7th are left as they are
    shown[30] = 42; // and so is a slot with nothing positive in its reach

    smoothRates(raw, shown);

    EXPECT_EQ(shown[5], 99.0f);
    EXPECT_EQ(shown[8], 6.0f);
    EXPECT_EQ(shown[10], 9.0f);
    EXPECT_EQ(shown[14], 9.0f); // 8 to 14 still holds both
    EXPECT_EQ(shown[15], 12.0f); // 8 has left the reach
    EXPECT_EQ(shown[17], 0.0f);
    EXPECT_EQ(shown[30], 42.0f);
}

// --- Band colours -----------------------------------------------------------------------------------

TEST(RateGraphTest, bandColoursComeFromTheLegendAndOtherBandsHaveNone)
{
    EXPECT_EQ(graphBandColour("160"), 0x00FFFFFFu);
    EXPECT_EQ(graphBandColour("40"), 0x000000FFu);
    EXPECT_EQ(graphBandColour("6"), 0x0000FFFFu);
    EXPECT_EQ(graphBandColour("2"), std::nullopt);
    EXPECT_EQ(graphBandColour(""), std::nullopt);
}

TEST(RateGraphTest, bandColoursAreCarriedForwardWithinAStretchOfPositiveRates)
{
    constexpr std::uint32_t red = 0x000000FF;
    constexpr std::uint32_t green = 0x0000FF00;
    constexpr std::uint32_t none = NoBandColour;
    const std::uint32_t b = GraphBlack;
    const std::uint32_t w = GraphWhite;
    struct Case
    {
        std::uint32_t background;
        std::vector<float> shown; // from slot 1
        std::vector<std::uint32_t> colours;
        std::vector<std::uint32_t> expected;
    };
    const Case cases[] = {
        // A band's colour fills the slots after it; a slot at 0 ends the stretch, and the next stretch
        // waits for a band of its own.
        { b, { 6, 6, 6, 0, 6, 6 }, { red, none, none, none, none, green }, { red, red, red, b, b, green } },
        // Before any band the carried colour is black, whatever the background.
        { w, { 6, 6, 6, 0 }, { none, none, green, none }, { b, b, green, w } },
        // 160 m is as white as the background, and still a band of its own.
        { w, { 6, 6, 6 }, { red, w, none }, { red, w, w } },
    };
    for (const Case& c : cases) {
        std::vector<float> shown = slots();
        std::vector<std::uint32_t> colours(RateGraphLastSlot + 1, none);
        for (std::size_t k = 0; k < c.shown.size(); ++k) {
            shown[k + 1] = c.shown[k];
            colours[k + 1] = c.colours[k];
        }
        carryBandColours(shown, colours, c.background);
        for (std::size_t k = 0; k < c.expected.size(); ++k) {
            EXPECT_EQ(colours[k + 1], c.expected[k]) << "slot " << k + 1;
        }
        EXPECT_EQ(colours[RateGraphSlots], c.background);
    }
}

TEST(RateGraphTest, aContactsBandColoursItsSlot)
{
    ContestLog log;
    for (long long s : { 0, 600, 1200, 1800, 2400, 3000 }) {
        log.append(contactAt(s, "40"));
    }
    log.append(contactAt(3600, "80"));
    const RateGraph graph = computeRateGraph(log, GraphBlack);
    ASSERT_TRUE(graph.plot);
    EXPECT_EQ(graph.plot->bandColours[slotOf(1200, 3600)], 0x000000FFu);
    EXPECT_EQ(graph.plot->bandColours[slotOf(1210, 3600)], 0x000000FFu); // carried
    EXPECT_EQ(graph.plot->bandColours[RateGraphSlots], 0x00FF0000u);
}

// --- Labels -------------------------------------------------------------------------------------------

TEST(RateGraphTest, timeAndDateLabelsDivideTheSpanInFourteenSteps)
{
    // From 12:00 on the first day to 16:00 on the second: 28 hours, a label every two.
    ContestLog log = logAt({ 12 * 3600, 13 * 3600, 14 * 3600, 15 * 3600, 16 * 3600, 17 * 3600, 40 * 3600 });
    const RateGraph graph = computeRateGraph(log, GraphBlack);
    ASSERT_TRUE(graph.axis);
    EXPECT_EQ(graph.axis->times[0], "12:00");
    EXPECT_EQ(graph.axis->dates[0], "02/21");
    EXPECT_EQ(graph.axis->times[5], "22:00");
    EXPECT_EQ(graph.axis->times[6], "00:00");
    EXPECT_EQ(graph.axis->dates[6], "02/22");
    EXPECT_EQ(graph.axis->times[14], "16:00");
    EXPECT_EQ(graph.axis->dates[14], "02/22");
}

TEST(RateGraphTest, valueLabelsRunFromTheMinimumToTheMaximumInSixteenSteps)
{
    struct Case
    {
        float value;
        const char* text;
    };
    for (const Case& c : { Case { 0, "0.0" }, Case { 6, "6.0" }, Case { 12.25f, "12.2" }, Case { 1234.56f, "1234.6" },
             Case { 12345.6f, "12345.6" } }) {
        EXPECT_EQ(formatRateValue(c.value), c.text) << c.value;
    }

    const RateGraph graph = computeRateGraph(test::sampleLog(600), GraphBlack);
    ASSERT_TRUE(graph.plot);
    const RateGraphPlot& plot = *graph.plot;
    EXPECT_EQ(plot.values[0], formatRateValue(plot.minimum));
    EXPECT_EQ(plot.values[16], formatRateValue(plot.maximum));
    EXPECT_EQ(plot.values[8], formatRateValue(plot.minimum + 8 * (plot.maximum - plot.minimum) / 16));
    EXPECT_LT(plot.minimum, plot.maximum);
}

// --- Failures -----------------------------------------------------------------------------------------

TEST(RateGraphTest, aFailureEndsTheGraphWithWhatWasReached)
{
    struct Case
    {
        const char* name;
        ContestLog log;
        bool axis;
    };
    ContestLog sameMoment = logAt({ 60, 60, 60, 60, 60, 60, 60 });
    ContestLog badTimeInside = logAt({ 0, 60, 120, 180, 240, 300, 360 });
    badTimeInside.replace(4, [] {
        QsoRecord record = contactAt(180);
        record.qsoTime = "25:00:00";
        return record;
    }());
    ContestLog badFirstDate = logAt({ 0, 60, 120, 180, 240, 300, 360 });
    badFirstDate.replace(1, [] {
        QsoRecord record = contactAt(0);
        record.qsoDate = "2026/02/30";
        return record;
    }());
    // The fourth contact lies before the first: outside the span.
    ContestLog beforeTheFirst = logAt({ 3600, 3660, 3720, 0, 3840, 3900, 7200 });
    const Case cases[] = {
        { "all at one moment", sameMoment, true },
        { "unreadable time of a later contact", badTimeInside, true },
        { "unreadable date of the first contact", badFirstDate, false },
        { "a contact before the first", beforeTheFirst, true },
    };
    for (const Case& c : cases) {
        const RateGraph graph = computeRateGraph(c.log, GraphBlack);
        EXPECT_EQ(graph.axis.has_value(), c.axis) << c.name;
        EXPECT_FALSE(graph.plot) << c.name;
    }
}

// --- Geometry -----------------------------------------------------------------------------------------

TEST(RateGraphTest, slotsAndRatesMapOntoTheFrame)
{
    const RateGraphFrame frame { 100, 1600, 500, 100, 510, 530, 0.5 };
    RateGraphPlot plot;
    plot.minimum = 6;
    plot.maximum = 46;
    EXPECT_DOUBLE_EQ(slotX(frame, 2), 100.5);
    EXPECT_DOUBLE_EQ(slotX(frame, 1500), 1598.5);
    EXPECT_DOUBLE_EQ(rateY(frame, plot, 6), 499.0); // lifted by 0.25 % of the frame's height
    EXPECT_DOUBLE_EQ(rateY(frame, plot, 46), 500 - 400 * 0.995 - 1);

    // A rate that never changes lies along the bottom instead of leaving the frame empty.
    plot.minimum = plot.maximum = 6;
    EXPECT_DOUBLE_EQ(rateY(frame, plot, 6), 499.0);
}

TEST(RateGraphTest, theBandStripHasABoxWhereverTheCurveIsAboveZero)
{
    const RateGraphFrame frame { 0, 1500, 500, 100, 510, 530, 0 };
    RateGraphPlot plot;
    plot.shown = slots();
    plot.bandColours.assign(RateGraphLastSlot + 1, GraphBlack);
    plot.maximum = 12;
    plot.shown[1] = 6;
    plot.shown[700] = 12;
    plot.bandColours[700] = 0x0000FF00;

    const RateGraphDrawing drawing = drawRateGraph(frame, plot);

    ASSERT_EQ(drawing.curve.size(), static_cast<std::size_t>(RateGraphSlots));
    // Slot 1 and its neighbour 2, then 700 and its neighbour 701.
    ASSERT_EQ(drawing.strip.size(), 4u);
    EXPECT_DOUBLE_EQ(drawing.strip[2].left, slotX(frame, 699));
    EXPECT_DOUBLE_EQ(drawing.strip[2].right, slotX(frame, 700));
    EXPECT_DOUBLE_EQ(drawing.strip[2].top, 510);
    EXPECT_DOUBLE_EQ(drawing.strip[2].bottom, 530);
    EXPECT_EQ(drawing.strip[2].colour, 0x0000FF00u);
    // Each curve segment runs from the slot back to the one before.
    EXPECT_DOUBLE_EQ(drawing.curve[699].x1, slotX(frame, 700));
    EXPECT_DOUBLE_EQ(drawing.curve[699].y1, rateY(frame, plot, 12));
    EXPECT_DOUBLE_EQ(drawing.curve[699].x2, slotX(frame, 699));
    EXPECT_DOUBLE_EQ(drawing.curve[699].y2, rateY(frame, plot, 0));
}

} // namespace

} // namespace brindle
