#include "CwMessages.h"

#include "common/Text.h"

#include <cmath>

namespace brindle {

namespace {

std::string replaceAll(std::string_view text, char wildcard, std::string_view by)
{
    std::string out;
    for (char c : text) {
        if (c == wildcard) {
            out += by;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::optional<std::size_t> messageIndexForKey(int keyCode)
{
    if (keyCode >= cwkeys::F1 && keyCode <= cwkeys::F9) {
        return static_cast<std::size_t>(keyCode - cwkeys::F1);
    }
    if (keyCode == cwkeys::F10) {
        return 9;
    }
    if (keyCode == cwkeys::F11) {
        return 10;
    }
    return std::nullopt;
}

std::string fillWildcards(std::string_view message, std::string_view call, std::string& rstSent)
{
    std::string text = replaceAll(message, '$', trimBlanks(call));
    text = replaceAll(text, '#', "");
    if (rstSent == "599" || rstSent.empty()) {
        rstSent = "5NN";
    }
    return replaceAll(text, '*', trimBlanks(rstSent));
}

std::optional<int> repeatIntervalMs(std::string_view seconds)
{
    const auto value = parseDecimal(trimBlanks(seconds));
    if (!value || *value < 0 || *value >= 60) {
        return std::nullopt;
    }
    return static_cast<int>(std::lrint(*value * 1000));
}

} // namespace brindle
