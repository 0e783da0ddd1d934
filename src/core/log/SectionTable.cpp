#include "SectionTable.h"

#include "common/Text.h"

#include <algorithm>
#include <cassert>

namespace brindle {

namespace {

constexpr std::array<Section, SectionTable::Size> Sections = { {
    { "CT", "Connecticut", "1" },
    { "MA", "Massachusetts", "1" },
    { "ME", "Maine", "1" },
    { "NH", "New Hampshire", "1" },
    { "RI", "Rhode Island", "1" },
    { "VT", "Vermont", "1" },
    { "NY", "New York", "2" },
    { "NJ", "New Jersey", "2" },
    { "DE", "Delaware", "3" },
    { "PA", "Pennsylvania", "3" },
    { "MD", "Maryland", "3" },
    { "DC", "District of Columbia", "3" },
    { "AL", "Alabama", "4" },
    { "GA", "Georgia", "4" },
    { "KY", "Kentucky", "4" },
    { "NC", "North Carolina", "4" },
    { "FL", "Florida", "4" },
    { "SC", "South Carolina", "4" },
    { "TN", "Tennessee", "4" },
    { "VA", "Virginia", "4" },
    { "AR", "Arkansas", "5" },
    { "LA", "Louisiana", "5" },
    { "MS", "Mississippi", "5" },
    { "NM", "New Mexico", "5" },
    { "TX", "Texas", "5" },
    { "OK", "Oklahoma", "5" },
    { "CA", "California", "6" },
    { "AZ", "Arizona", "7" },
    { "WA", "Washington", "7" },
    { "ID", "Idaho", "7" },
    { "MT", "Montana", "7" },
    { "NV", "Nevada", "7" },
    { "OR", "Oregon", "7" },
    { "UT", "Utah", "7" },
    { "WY", "Wyoming", "7" },
    { "MI", "Michigan", "8" },
    { "OH", "Ohio", "8" },
    { "WV", "West Virginia", "8" },
    { "IL", "Illinois", "9" },
    { "IN", "Indiana", "9" },
    { "WI", "Wisconsin", "9" },
    { "CO", "Colorado", "0" },
    { "IA", "Iowa", "0" },
    { "KS", "Kansas", "0" },
    { "MN", "Minnesota", "0" },
    { "MO", "Missouri", "0" },
    { "NE", "Nebraska", "0" },
    { "ND", "North Dakota", "0" },
    { "SD", "South Dakota", "0" },
    { "NB", "New Brunswick", "Canada" },
    { "NS", "Nova Scotia", "Canada" },
    { "QC", "Quebec", "Canada" },
    { "ON", "Ontario", "Canada" },
    { "MB", "Manitoba", "Canada" },
    { "SK", "Saskatchewan", "Canada" },
    { "AB", "Alberta", "Canada" },
    { "BC", "British Columbia", "Canada" },
    { "NWT", "North West Territories", "Canada" },
    { "NF", "Newfoundland", "Canada" },
    { "LB", "Labrador", "Canada" },
    { "NU", "Nunavut", "Canada" },
    { "YT", "Yukon", "Canada" },
    { "PEI", "Prince Edward Island", "Canada" },
} };

constexpr std::array<std::string_view, 11> Areas = { "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "Canada" };

} // namespace

const Section& SectionTable::at(int position)
{
    assert(position >= 1 && position <= Size);
    return Sections[static_cast<std::size_t>(position - 1)];
}

std::optional<int> SectionTable::positionOf(std::string_view text)
{
    for (std::size_t i = 0; i < Sections.size(); ++i) {
        if (equalsIgnoreCase(text, Sections[i].abbreviation)) {
            return static_cast<int>(i + 1);
        }
    }
    return std::nullopt;
}

bool SectionTable::isValid(std::string_view text)
{
    return positionOf(text).has_value();
}

bool SectionTable::isAbbreviation(std::string_view text)
{
    return std::any_of(
        Sections.begin(), Sections.end(), [text](const Section& section) { return section.abbreviation == text; });
}

const std::array<std::string_view, 11>& SectionTable::areas()
{
    return Areas;
}

} // namespace brindle
