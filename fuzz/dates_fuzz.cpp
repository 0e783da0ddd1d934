// The date and time readers behind the rates, the contact editor and post-contest entry.
#include "FuzzSupport.h"

#include "common/DateText.h"
#include "log/Entry.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto date = brindle::readDate(text)) {
        // A date read must write back as one that reads the same.
        const auto again = brindle::readDate(brindle::formatDate(*date));
        brindle::fuzz::require(
            again && again->year == date->year && again->month == date->month && again->day == date->day);
    }
    (void)brindle::readTimeOfDay(text);
    (void)brindle::postContestDate(text);
    (void)brindle::postContestTime(text);
    return 0;
}
