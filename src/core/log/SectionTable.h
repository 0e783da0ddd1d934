#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace brindle {

// The 63 multipliers: the contiguous US states, DC and the Canadian provinces and territories, each
// counted once per band. Positions run 1 to 63 as the main window's grid numbers its labels.
struct Section
{
    std::string_view abbreviation;
    std::string_view fullName;
    std::string_view area; // the grid block it stands in: a call-area digit, or "Canada"
};

class SectionTable
{
public:
    static constexpr int Size = 63;

    // Entry at position 1 to Size.
    static const Section& at(int position);

    // Position (1 to Size) of a valid section, compared without regard to case.
    static std::optional<int> positionOf(std::string_view text);
    static bool isValid(std::string_view text);
    // An abbreviation exactly as the table writes it, letter case included.
    static bool isAbbreviation(std::string_view text);

    // The grid's blocks, in display order, with the heading each shows.
    static const std::array<std::string_view, 11>& areas();
};

} // namespace brindle
