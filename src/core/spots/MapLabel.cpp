#include "MapLabel.h"

#include "spots/SpotLine.h"

namespace brindle {

namespace {

constexpr std::string_view Digits = "0123456789";

} // namespace

std::string mapLabelOf(std::string_view call)
{
    const std::size_t length = call.size();
    if (length < 3) {
        return {};
    }
    const std::size_t lastDigit = call.find_last_of(Digits);
    const std::size_t end = lastDigit == std::string_view::npos ? length : lastDigit + 1;
    const std::size_t slashIndex = call.rfind('/');
    if (slashIndex == std::string_view::npos) {
        return std::string(call.substr(0, end));
    }
    // The slash's position counted from 1 against half the length plus one, fraction kept: a slash just
    // before the middle of an odd-length call still counts as in the first half.
    const std::size_t slash = slashIndex + 1;
    if (2 * slash < length + 2) {
        return std::string(call.substr(0, slashIndex));
    }
    // end is a length here, not a position: behind a call whose last digit is its second character, a
    // three-letter suffix such as "QRP" shows as "QR".
    std::string label(call.substr(slash, end));
    if (spotNumberValue(label)) {
        label.insert(0, call.substr(0, call.find_first_of(Digits)));
    }
    return label;
}

} // namespace brindle
