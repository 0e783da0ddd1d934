#pragma once

#include "common/Clock.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// One spot as the maps and the list know it.
struct SpotRecord
{
    std::string call; // as received, not upper-cased
    float freqMHz = 0; // 0: withdrawn, never shown on a map
    std::optional<DateTime> receivedAt; // local time; not set in a slot never used
    std::string mapLabel; // mapLabelOf(call)

    bool operator==(const SpotRecord&) const = default;
};

// The last 50 spots of all bands, in memory only. Slot numbers are shared with the maps, whose label i
// always shows slot i: slot 49 is the newest spot, slot 0 the oldest.
class SpotStore
{
public:
    static constexpr int SlotCount = 50;
    static constexpr int NewestSlot = SlotCount - 1;

    // Every slot moves one down, slot 0's spot is lost and the new spot goes into slot 49. The nearest
    // older spot of the same call (without regard to case) in slots 48 to 1 is then withdrawn, so a station
    // shows on the maps once, at its newest frequency; slot 0 is about to go and is left as it is.
    void add(std::string_view call, float freqMHz, const DateTime& receivedAt);

    // The maps' click on a label: the spot stays in its slot but is no longer shown. A slot number
    // outside 0 to 49 is ignored.
    void withdraw(int slot);

    const SpotRecord& slot(int number) const; // 0 to 49
    // Every slot, oldest first. (Not "slots": Qt takes that word for itself.)
    const std::array<SpotRecord, SlotCount>& all() const
    {
        return m_slots;
    }

private:
    std::array<SpotRecord, SlotCount> m_slots;
};

} // namespace brindle
