#pragma once

#include "common/Clock.h"
#include "log/OperatingState.h"

#include <string>
#include <string_view>

namespace brindle {

// The operating clock: the time the operator has been on the air, kept as the finished on-periods
// plus the period running now.

// Starts an on-period at now (local time).
void startOperatingClock(OperatingState& state, const DateTime& now);
// Ends the running on-period, keeping its time with the finished ones. False when the clock was not
// running: nothing changed, and there is nothing to save.
bool stopOperatingClock(OperatingState& state);
// The total brought up to now while the clock runs; false (and nothing changed) while it is stopped.
bool tickOperatingClock(OperatingState& state, const DateTime& now);
// The message when the operator stops the clock: the UTC date as the desktop writes short dates,
// then the UTC time.
std::string loggedOffText(std::string_view utcDateText, const DateTime& utc);

} // namespace brindle
