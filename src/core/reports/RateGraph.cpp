#include "RateGraph.h"

#include "common/DateText.h"
#include "common/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace brindle {

namespace {

constexpr std::size_t SlotCount = RateGraphLastSlot + 1;
constexpr long long TenMinutes = 600;

// A moment plus whole seconds. The date arithmetic works in hours; half a second more keeps a sum like
// 3599 / 3600 × 3600 from being cut to the second below.
DateTime addSeconds(const DateTime& t, long long seconds)
{
    const double half = seconds >= 0 ? 0.5 : -0.5;
    return addHours(t, (static_cast<double>(seconds) + half) / 3600.0);
}

std::optional<DateTime> momentOf(const QsoRecord& record)
{
    return readRecordTime(record.qsoDate, record.qsoTime);
}

RateGraphAxis axisLabels(const DateTime& t0, long long span)
{
    RateGraphAxis axis;
    for (int k = 0; k < RateGraphTimeLabels; ++k) {
        const double offset = static_cast<double>(k) * static_cast<double>(span) / (RateGraphTimeLabels - 1);
        const DateTime t = addSeconds(t0, std::llround(offset));
        axis.times[static_cast<std::size_t>(k)] = formatHourMinute(t);
        axis.dates[static_cast<std::size_t>(k)] = formatAxisDate(t);
    }
    return axis;
}

} // namespace

std::optional<std::uint32_t> graphBandColour(std::string_view band)
{
    for (const GraphBand& entry : GraphBands) {
        if (entry.band == band) {
            return entry.colour;
        }
    }
    return std::nullopt;
}

bool enoughContactsToGraph(const ContestLog& log)
{
    return log.count() >= RateGraphMinimumContacts;
}

OperatorMessage notEnoughContactsMessage()
{
    return { "Not Enough Contacts to Graph.",
        "The graph will not display with less than 7 contacts.  The graph becomes more meaningful as several hours "
        "of contest logging are accumulated." };
}

int contactsInLastTenMinutes(const std::vector<long long>& moments, std::size_t i)
{
    int n = 0;
    for (std::size_t j = i + 1; j-- > 0;) {
        if (moments[i] - moments[j] >= TenMinutes) {
            break;
        }
        ++n;
    }
    return n;
}

void fillRateGaps(std::vector<float>& raw, std::vector<float>& shown)
{
    for (int k = 2; k <= RateGraphSlots; ++k) {
        const auto uk = static_cast<std::size_t>(k);
        if (raw[uk] != 0) {
            shown[uk] = raw[uk];
            continue;
        }
        for (int x = k + 1; x <= k + RateGraphGapReach; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            if (raw[ux] > 0) {
                const float before = raw[uk - 1];
                const float slope = (raw[ux] - before) / static_cast<float>(x - k);
                for (int m = k; m < x; ++m) {
                    const auto um = static_cast<std::size_t>(m);
                    raw[um] = before + static_cast<float>(m - k) * slope;
                    shown[um] = raw[um];
                }
                break;
            }
        }
    }
}

void smoothRates(const std::vector<float>& raw, std::vector<float>& shown)
{
    for (int k = RateGraphSmoothingSlots; k <= RateGraphSlots; ++k) {
        float sum = 0;
        int counted = 0;
        for (int m = k - RateGraphSmoothingSlots + 1; m <= k; ++m) {
            const float value = raw[static_cast<std::size_t>(m)];
            if (value > 0) {
                sum += value;
                ++counted;
            }
        }
        if (counted > 0) {
            shown[static_cast<std::size_t>(k)] = sum / static_cast<float>(counted);
        }
    }
}

void carryBandColours(const std::vector<float>& shown, std::vector<std::uint32_t>& colours, std::uint32_t background)
{
    std::uint32_t carried = GraphBlack;
    for (std::size_t k = 1; k <= RateGraphSlots; ++k) {
        if (shown[k] <= 0) {
            carried = background;
        } else if (colours[k] == NoBandColour) {
            colours[k] = carried;
        } else {
            carried = colours[k];
        }
    }
    for (std::uint32_t& colour : colours) {
        if (colour == NoBandColour) {
            colour = background;
        }
    }
}

std::string formatRateValue(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
    return text;
}

std::string formatAxisDate(const DateTime& t)
{
    return twoDigits(t.month) + "/" + twoDigits(t.day);
}

RateGraph computeRateGraph(const ContestLog& log, std::uint32_t background)
{
    RateGraph graph;
    const std::vector<QsoRecord>& records = log.records();
    if (records.empty()) {
        return graph;
    }
    const std::optional<DateTime> first = momentOf(records.front());
    const std::optional<DateTime> last = momentOf(records.back());
    if (!first || !last) {
        return graph;
    }
    const DateTime& t0 = *first;
    const long long span = secondsBetween(t0, *last);
    graph.axis = axisLabels(t0, span);

    RateGraphPlot plot;
    plot.raw.assign(SlotCount, 0.0f);
    plot.shown.assign(SlotCount, 0.0f);
    plot.bandColours.assign(SlotCount, NoBandColour);
    plot.raw[1] = 6;
    plot.shown[1] = 6;

    // With no time between the first and the last contact there is no scale for the slots.
    const double secondsPerSlot = static_cast<double>(span) / RateGraphSlots;
    if (secondsPerSlot == 0 && records.size() > 1) {
        return graph;
    }
    std::vector<long long> moments;
    moments.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::optional<DateTime> moment = i == 0 ? first : momentOf(records[i]);
        if (!moment) {
            return graph;
        }
        moments.push_back(secondsBetween(t0, *moment));
        const int n = contactsInLastTenMinutes(moments, i);
        long long slot = 1;
        if (i > 0) {
            const double position = std::nearbyint(static_cast<double>(moments[i]) / secondsPerSlot);
            if (!(position >= 0 && position <= RateGraphLastSlot)) {
                return graph;
            }
            slot = static_cast<long long>(position);
        }
        const auto us = static_cast<std::size_t>(slot);
        plot.raw[us] = 6.0f * static_cast<float>(n);
        if (const std::optional<std::uint32_t> colour = graphBandColour(records[i].band)) {
            plot.bandColours[us] = *colour;
        }
    }

    fillRateGaps(plot.raw, plot.shown);
    smoothRates(plot.raw, plot.shown);

    plot.minimum = 100000;
    plot.maximum = -1;
    for (std::size_t k = 1; k <= RateGraphSlots; ++k) {
        plot.minimum = std::min(plot.minimum, plot.shown[k]);
        plot.maximum = std::max(plot.maximum, plot.shown[k]);
    }
    constexpr int steps = RateGraphValueLabels - 1;
    plot.values[0] = formatRateValue(plot.minimum);
    plot.values[steps] = formatRateValue(plot.maximum);
    for (int k = 1; k < steps; ++k) {
        const float value = plot.minimum + static_cast<float>(k) * (plot.maximum - plot.minimum) / steps;
        plot.values[static_cast<std::size_t>(k)] = formatRateValue(value);
    }

    carryBandColours(plot.shown, plot.bandColours, background);
    graph.plot = std::move(plot);
    return graph;
}

double slotX(const RateGraphFrame& frame, int slot)
{
    const double w = (frame.x1 - frame.x0) / RateGraphSlots;
    return frame.x0 + (slot - 2) * w + frame.nudge;
}

double rateY(const RateGraphFrame& frame, const RateGraphPlot& plot, float rate)
{
    // A perfectly steady rate has no spread to scale; it lies flat along the bottom of the frame instead of
    // leaving the plot empty.
    const double spread = static_cast<double>(plot.maximum) - static_cast<double>(plot.minimum);
    const double scale = spread > 0 ? (frame.yb - frame.yt) / spread * 0.995 : 0.0;
    const double lift = (frame.yb - frame.yt) * 0.0025;
    return frame.yb - (static_cast<double>(rate) - static_cast<double>(plot.minimum)) * scale - lift;
}

RateGraphDrawing drawRateGraph(const RateGraphFrame& frame, const RateGraphPlot& plot)
{
    RateGraphDrawing drawing;
    drawing.curve.reserve(RateGraphSlots);
    drawing.strip.reserve(RateGraphSlots);
    double previousX = slotX(frame, 0);
    double previousY = rateY(frame, plot, plot.shown[0]);
    for (int k = 1; k <= RateGraphSlots; ++k) {
        const auto uk = static_cast<std::size_t>(k);
        const double x = slotX(frame, k);
        const double y = rateY(frame, plot, plot.shown[uk]);
        drawing.curve.push_back({ x, y, previousX, previousY });
        if (plot.shown[uk] > 0 || plot.shown[uk - 1] > 0) {
            drawing.strip.push_back({ previousX, frame.ys1, x, frame.ys2, plot.bandColours[uk] });
        }
        previousX = x;
        previousY = y;
    }
    return drawing;
}

} // namespace brindle
