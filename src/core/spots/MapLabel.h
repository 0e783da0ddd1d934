#pragma once

#include <string>
#include <string_view>

namespace brindle {

// The short label the band map and the spectrum map show for a spotted call: its prefix in the maps'
// sense. Empty for a call of fewer than three characters; without a "/", the call up to its last digit
// (the whole call when it has none). With a "/" in the first half, the designator before it ("VP9/W1ABC"
// gives "VP9"); otherwise what follows the last "/", and when that is a number, the call's leading letters
// before it ("W1ABC/4" gives "W4", "W1ABC/P" gives "P").
std::string mapLabelOf(std::string_view call);

} // namespace brindle
