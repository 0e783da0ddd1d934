#pragma once

#include <cstddef>
#include <string_view>

namespace brindle {

// How far back in the spotting monitor a received line counts as one already shown.
inline constexpr std::size_t RepeatSearchSpan = 800;

// The line (ignoring case) is among the last RepeatSearchSpan characters of the monitor. Packet nodes
// repeat a spot on every path it reaches them by; this keeps the operator from seeing or storing it twice.
bool isRepeatOfRecentText(std::string_view monitorText, std::string_view line);

} // namespace brindle
