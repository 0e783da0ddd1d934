#include "OperatingClock.h"

#include "common/DateText.h"

#include <cmath>

namespace brindle {

void startOperatingClock(OperatingState& state, const DateTime& now)
{
    state.onPeriodStart = now;
    state.timeOn = true;
}

bool stopOperatingClock(OperatingState& state)
{
    if (!state.timeOn) {
        return false;
    }
    state.accumulatedOnSeconds = state.totalOnSeconds;
    state.timeOn = false;
    return true;
}

bool tickOperatingClock(OperatingState& state, const DateTime& now)
{
    if (!state.timeOn) {
        return false;
    }
    const long long running = secondsBetween(state.onPeriodStart, now);
    state.totalOnSeconds = std::fabs(state.accumulatedOnSeconds + static_cast<float>(running));
    return true;
}

std::string loggedOffText(std::string_view utcDateText, const DateTime& utc)
{
    return "Logged Off at " + std::string(utcDateText) + " " + formatTime(utc);
}

} // namespace brindle
