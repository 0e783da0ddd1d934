#pragma once

#include <string>
#include <string_view>

namespace brindle {

class CountryTable;

// The country the spot list shows for a spotted call: a reduced form of the call field's lookup over the
// same table. Prefixes are compared exactly, letter case included, since cluster nodes send calls in upper
// case; a lower-case call finds nothing. A home call followed by "/" and a short designator is looked up by
// the designator. The start position is interpolated from the first character and not clamped, so a
// position beyond the table counts as an empty prefix. A KG4 call of more than five characters is "USA".
// Empty text when no prefix matches; never fails.
std::string lookupSpotCountry(std::string_view call, const CountryTable& countries);

} // namespace brindle
