#pragma once

#include "common/FileSystem.h"
#include "reports/BandPlan.h"
#include "rig/RigCommands.h"

#include <string>
#include <vector>

namespace brindle {

// The mode a frequency change sets first, so that jumping to a spot in a phone segment puts the rig into
// sideband and one in a CW segment into CW. It comes from the Extra class segments of the band plan, the
// widest privileges, so that every segment of a band has a mode.
class BandPlanModes
{
public:
    BandPlanModes() = default;
    // The plan's class "E" records, in file order, up to BandPlanMaxRecords of them.
    explicit BandPlanModes(const BandPlan& plan);

    // The mode of the first segment strictly between whose edges the frequency lies: "USB" for a phone
    // segment ("LSB" on 80, 60 and 40 m), the record's mode text otherwise. Empty off every segment, on an
    // edge, and on 160 m, where CW and phone share the band.
    std::string bandPlanMode(Hertz hertz) const;

    const std::vector<BandPlanRecord>& records() const
    {
        return m_records;
    }

private:
    std::vector<BandPlanRecord> m_records;
};

// "BandPlan.txt" in the folder. A missing file gives no segments, a damaged one those before the damage:
// without them a change of frequency leaves the mode alone.
BandPlanModes loadBandPlanModes(FileSystem& fs, const std::string& folder);

} // namespace brindle
