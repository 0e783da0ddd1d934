#include "UtcOffset.h"

#include "common/DateText.h"
#include "common/Text.h"
#include "station/DefaultData.h"

#include <cmath>

namespace brindle {

namespace {

DateTime toTheMinute(DateTime t)
{
    t.second = 0;
    return t;
}

} // namespace

std::optional<UtcOffsetProposal> utcOffsetCheck(const DateTime& utc, const DateTime& local, float current)
{
    const long long minutes = secondsBetween(toTheMinute(local), toTheMinute(utc)) / 60;
    const auto recommended = static_cast<float>(std::round(static_cast<double>(minutes) / 60.0 * 100.0) / 100.0);
    if (current == recommended) {
        return std::nullopt;
    }
    const std::string gap = "\r\n\r\n";
    UtcOffsetProposal proposal;
    proposal.recommended = recommended;
    proposal.prompt = "Would you like to adjust the UTC offset in this program for your local time setting?" + gap
        + "Current System Time: " + formatHourMinute(utc) + gap + "Current Local Time: " + formatHourMinute(local) + gap
        + "Recommended Offset Setting: " + formatSingle(recommended) + gap
        + "Current Offset Setting: " + formatSingle(current) + gap
        + "Please click OK to accept the recommended change or Cancel to keep the current setting.";
    return proposal;
}

std::optional<float> utcOffsetFromAnswer(std::string_view answer)
{
    const std::optional<float> value = parseSingle(trimBlanks(answer));
    // An offset beyond a day is no time zone: it is a slip of the keyboard.
    if (!value || std::fabs(*value) > 24) {
        return std::nullopt;
    }
    return value;
}

} // namespace brindle
