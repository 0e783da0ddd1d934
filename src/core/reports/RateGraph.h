#pragma once

#include "common/Clock.h"
#include "common/OperatorMessage.h"
#include "log/ContestLog.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The QSO rate graph: for each contact, six times the contacts of the ten minutes up to it, spread over
// 1,500 time slots between the first and the last contact, gaps bridged, smoothed, with the band of each
// stretch as a colour. Everything here is arithmetic; the window only draws what it is given.

inline constexpr int RateGraphSlots = 1500;
// The slot arrays reach past the last drawn slot: the gap search looks 15 slots ahead of it, and a contact
// logged out of order may land beyond the last one.
inline constexpr int RateGraphLastSlot = 1600;
inline constexpr int RateGraphMinimumContacts = 7;
inline constexpr int RateGraphTimeLabels = 15;
inline constexpr int RateGraphValueLabels = 17;
// How far ahead a slot without a contact looks for the next one to bridge the gap.
inline constexpr int RateGraphGapReach = 15;
// How many slots, the slot itself included, the smoothing averages.
inline constexpr int RateGraphSmoothingSlots = 7;

inline constexpr std::uint32_t GraphBlack = 0x00000000;
inline constexpr std::uint32_t GraphWhite = 0x00FFFFFF;
inline constexpr std::uint32_t GraphCurveColour = 0x00FF0000; // blue

// The band legend: caption, which is also the band value in the log, and colour (0x00BBGGRR).
struct GraphBand
{
    std::string_view band;
    std::uint32_t colour;
};
inline constexpr std::array<GraphBand, 7> GraphBands = { {
    { "160", 0x00FFFFFF },
    { "80", 0x00FF0000 },
    { "40", 0x000000FF },
    { "20", 0x0000FF00 },
    { "15", 0x00FFFF80 },
    { "10", 0x00FF00FF },
    { "6", 0x0000FFFF },
} };

// The legend colour of a band value of the log; nothing for a band the legend does not show.
std::optional<std::uint32_t> graphBandColour(std::string_view band);

// A graph needs seven contacts; with fewer the operator is told so and nothing is drawn.
bool enoughContactsToGraph(const ContestLog& log);
OperatorMessage notEnoughContactsMessage();

// The labels along the time axis, first contact to last in 14 equal steps.
struct RateGraphAxis
{
    std::array<std::string, RateGraphTimeLabels> times; // "hh:mm"
    std::array<std::string, RateGraphTimeLabels> dates; // "MM/DD"
};

// Per slot, indexes 0 to RateGraphLastSlot.
struct RateGraphPlot
{
    std::vector<float> raw; // the rate at the slot of each contact, gaps filled
    std::vector<float> shown; // the smoothed rate that is drawn
    std::vector<std::uint32_t> bandColours; // carried forward over each stretch of contacts
    float minimum = 0;
    float maximum = 0;
    std::array<std::string, RateGraphValueLabels> values; // up the rate axis, minimum to maximum
};

// The graph is worked out in order and stops at the first failure (a date or time that cannot be read,
// all contacts at one moment, a contact outside the first-to-last span); what was reached by then is
// kept: nothing, the time axis alone, or everything.
struct RateGraph
{
    std::optional<RateGraphAxis> axis;
    std::optional<RateGraphPlot> plot;
};

// The whole graph of a log of at least RateGraphMinimumContacts contacts (with fewer there is nothing
// to show). background is the colour of slots without a band.
RateGraph computeRateGraph(const ContestLog& log, std::uint32_t background);

// The steps of the graph, each on slot arrays of RateGraphLastSlot + 1 values.

// How many contacts, counting back from contact i (0-based) itself, were logged less than 600 seconds
// before it; the count stops at the first that was not. moments are seconds from any fixed point.
int contactsInLastTenMinutes(const std::vector<long long>& moments, std::size_t i);

// Copies each slot's raw rate into the shown rate and bridges a run of empty slots by a straight line
// when a contact follows within RateGraphGapReach slots; a longer gap stays at 0.
void fillRateGaps(std::vector<float>& raw, std::vector<float>& shown);

// The shown rate of each slot from the 7th becomes the average of the positive raw rates of it and the
// six slots before it.
void smoothRates(const std::vector<float>& raw, std::vector<float>& shown);

// A slot no contact has given a band colour yet. Kept apart from the background colour: 160 m is white,
// and on a white background its contacts would otherwise count as slots without a band and take the
// colour of the band before.
inline constexpr std::uint32_t NoBandColour = 0xFFFFFFFF;

// Slots without a band of their own (NoBandColour) take the colour of the last band met, black before any,
// within a stretch of positive rates; a slot at 0 ends the stretch. Slots left without a band get the
// background colour.
void carryBandColours(const std::vector<float>& shown, std::vector<std::uint32_t>& colours, std::uint32_t background);

std::string formatRateValue(float value); // "###0.0"
std::string formatAxisDate(const DateTime& t); // "MM/DD"

// Where the plot lies in the window: the frame from x0 to x1 and from yb (the minimum) up to yt (the
// maximum), the band strip between ys1 and ys2, and a small shift to the right of every slot.
struct RateGraphFrame
{
    double x0 = 0;
    double x1 = 0;
    double yb = 0;
    double yt = 0;
    double ys1 = 0;
    double ys2 = 0;
    double nudge = 0;
};

double slotX(const RateGraphFrame& frame, int slot);
double rateY(const RateGraphFrame& frame, const RateGraphPlot& plot, float rate);

struct GraphLine
{
    double x1, y1, x2, y2;
};
struct GraphBox
{
    double left, top, right, bottom;
    std::uint32_t colour;
};
struct RateGraphDrawing
{
    std::vector<GraphLine> curve; // in GraphCurveColour
    std::vector<GraphBox> strip; // box outlines in band colours
};
// For each slot 1 to 1,500: the curve from the slot back to the one before, and, where either of the two
// has a positive rate, a box of the band strip between them.
RateGraphDrawing drawRateGraph(const RateGraphFrame& frame, const RateGraphPlot& plot);

} // namespace brindle
