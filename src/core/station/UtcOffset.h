#pragma once

#include "common/Clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// The check at start-up that the stored UTC offset still matches the computer's clocks.
struct UtcOffsetProposal
{
    float recommended = 0; // hours, to two decimal places
    std::string prompt;
};
inline constexpr std::string_view UtcOffsetTitle = "Update the Local Time / UTC Offset?";

// Nothing when the stored offset equals the one the clocks show.
std::optional<UtcOffsetProposal> utcOffsetCheck(const DateTime& utc, const DateTime& local, float current);

// The operator's answer as an offset; nothing for an empty or non-numeric answer.
std::optional<float> utcOffsetFromAnswer(std::string_view answer);

} // namespace brindle
