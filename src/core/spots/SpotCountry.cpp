#include "SpotCountry.h"

#include "station/CountryTable.h"

#include <algorithm>

namespace brindle {

std::string lookupSpotCountry(std::string_view call, const CountryTable& countries)
{
    std::string_view key = call;
    const std::size_t slash = key.find('/');
    if (slash != std::string_view::npos) {
        // Only a short tail is a designator: "W1ABC/VP9" is Bermuda, "VP9/W1ABC" is looked up whole.
        const std::size_t tail = key.size() - slash - 1;
        if (2 * tail < key.size() && tail > 1) {
            key = key.substr(slash + 1);
        }
    }
    if (key.empty()) {
        return {};
    }

    const long long count = countries.count();
    const auto prefixAt = [&](long long number) -> std::string_view {
        return number >= 1 && number <= count ? std::string_view(countries.record(static_cast<int>(number)).prefix)
                                              : std::string_view();
    };
    // -1 for an empty prefix: it sorts before every character and equals none.
    const auto firstOf = [&](long long number) {
        const std::string_view prefix = prefixAt(number);
        return prefix.empty() ? -1 : static_cast<int>(static_cast<unsigned char>(prefix.front()));
    };
    const int keyFirst = static_cast<unsigned char>(key.front());

    long long start = count * (std::max(keyFirst, 65) - 64) / 26;
    do {
        if (firstOf(start) != keyFirst) {
            break;
        }
        start -= 5;
        if (start < 1) {
            start = 1;
            break;
        }
    } while (start > 1);

    std::string result;
    int found = 0;
    std::size_t bestLength = 0;
    const auto consider = [&](long long number) {
        const std::string_view prefix = prefixAt(number);
        if (prefix.size() > bestLength && key.starts_with(prefix)) {
            found = static_cast<int>(number);
            bestLength = prefix.size();
            result = countries.record(found).country;
        }
    };
    if (firstOf(start) > keyFirst) {
        for (long long i = start; i >= 1; --i) {
            consider(i);
            if (firstOf(i) < keyFirst) {
                break;
            }
        }
    } else {
        for (long long i = start; i <= count; ++i) {
            consider(i);
            if (firstOf(i) > keyFirst) {
                break;
            }
        }
    }
    if (found > 0 && key.starts_with("KG4") && key.size() > 5) {
        result = "USA";
    }
    return result;
}

} // namespace brindle
