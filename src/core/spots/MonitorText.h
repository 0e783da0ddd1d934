#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brindle {

// How far back in the spotting monitor a received line counts as one already shown.
inline constexpr std::size_t RepeatSearchSpan = 800;

// The line (ignoring case) is among the last RepeatSearchSpan characters of the monitor. Packet nodes
// repeat a spot on every path it reaches them by; this keeps the operator from seeing or storing it twice.
bool isRepeatOfRecentText(std::string_view monitorText, std::string_view line);

// The monitor holds at most MonitorLimit characters. Once beyond it, it is cut back to the newest
// MonitorKeptAfterTrim, not to the limit itself, so that a busy feed does not cut it again on every line.
inline constexpr std::size_t MonitorLimit = 10000;
inline constexpr std::size_t MonitorKeptAfterTrim = 9000;

// Cuts the monitor back as above; true when it was cut.
bool trimMonitor(std::string& monitorText);

} // namespace brindle
