#include "BandTally.h"

#include "common/Text.h"

#include <algorithm>

namespace brindle {

namespace {

// Adds a contact to a tally; false when its section would be one too many.
bool countInto(BandTally& tally, const std::string& section)
{
    ++tally.qsoCount;
    if (tally.hasSection(section)) {
        return true;
    }
    if (tally.multCount() >= BandTallies::MaxSections) {
        return false;
    }
    tally.sections.push_back(section);
    return true;
}

} // namespace

bool BandTally::hasSection(std::string_view section) const
{
    return std::any_of(sections.begin(), sections.end(),
        [section](const std::string& worked) { return equalsIgnoreCase(worked, section); });
}

bool BandTallies::rebuild(const ContestLog& log)
{
    std::array<BandTally, BandCount> bands;
    for (const QsoRecord& record : log.records()) {
        const auto index = bandIndex(record.band);
        if (index && !countInto(bands[*index], record.section)) {
            return false;
        }
    }
    m_bands = std::move(bands);
    return true;
}

void BandTallies::count(const QsoRecord& record)
{
    if (const auto index = bandIndex(record.band)) {
        // A full section list (impossible with valid sections) still counts the contact itself.
        (void)countInto(m_bands[*index], record.section);
    }
}

const BandTally* BandTallies::forBand(std::string_view band) const
{
    const auto index = bandIndex(band);
    return index ? &m_bands[*index] : nullptr;
}

} // namespace brindle
