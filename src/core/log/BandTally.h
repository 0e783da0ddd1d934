#pragma once

#include "Bands.h"
#include "ContestLog.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// What one band of the log holds: its contacts and the distinct sections worked on it, in the order
// they were first logged.
struct BandTally
{
    int qsoCount = 0;
    std::vector<std::string> sections;

    int multCount() const
    {
        return static_cast<int>(sections.size());
    }
    bool hasSection(std::string_view section) const;
};

class BandTallies
{
public:
    // Room for distinct section texts per band. A log written by this program holds at most the 63
    // valid ones; a damaged or hand-made file may hold more.
    static constexpr int MaxSections = 2000;

    // Recounts every band from the log. Returns false, leaving the tallies unchanged, when a band
    // would hold more than MaxSections distinct sections.
    bool rebuild(const ContestLog& log);

    // Counts one newly logged contact. Records whose band is none of the six count nowhere.
    void count(const QsoRecord& record);

    const BandTally& operator[](std::size_t bandIndex) const
    {
        return m_bands[bandIndex];
    }
    // The tally of a band code; nullptr for a text that is no band.
    const BandTally* forBand(std::string_view band) const;

private:
    std::array<BandTally, BandCount> m_bands;
};

} // namespace brindle
