#pragma once

#include "common/Clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// Dates and times as the log writes them and the operator types them.

// "yyyy/mm/dd" (month and day may have one digit); nothing for a text that names no real day. The time
// fields of the result are 0.
std::optional<DateTime> readDate(std::string_view text);
// "h:mm", "hh:mm", "h:mm:ss" or "hh:mm:ss" on the 24-hour clock; nothing for an impossible time. Only the
// time fields of the result are set.
std::optional<DateTime> readTimeOfDay(std::string_view text);
// A record's date and time together; blanks around either are ignored.
std::optional<DateTime> readRecordTime(std::string_view date, std::string_view time);

std::string formatDate(const DateTime& t); // "yyyy/mm/dd"
std::string formatTime(const DateTime& t); // "hh:mm:ss"
std::string formatHourMinute(const DateTime& t); // "hh:mm"

// The UTC date and time: local plus an offset in hours, cut to whole seconds.
DateTime addHours(const DateTime& local, double hours);
// Seconds from a to b, counted as second boundaries crossed (negative when b is before a).
long long secondsBetween(const DateTime& a, const DateTime& b);

} // namespace brindle
