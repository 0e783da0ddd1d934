#include "SpotStore.h"

#include "common/Text.h"
#include "spots/MapLabel.h"

#include <algorithm>

namespace brindle {

void SpotStore::add(std::string_view call, float freqMHz, const DateTime& receivedAt)
{
    // Each slot's label is always mapLabelOf its call, so the labels move with the spots rather than
    // being worked out again.
    std::move(m_slots.begin() + 1, m_slots.end(), m_slots.begin());
    SpotRecord& newest = m_slots[NewestSlot];
    newest.call = call;
    newest.freqMHz = freqMHz;
    newest.receivedAt = receivedAt;
    newest.mapLabel = mapLabelOf(call);

    for (int i = NewestSlot - 1; i >= 1; --i) {
        if (equalsIgnoreCase(m_slots[i].call, newest.call)) {
            m_slots[i].freqMHz = 0;
            break;
        }
    }
}

void SpotStore::withdraw(int slot)
{
    if (slot >= 0 && slot < SlotCount) {
        m_slots[slot].freqMHz = 0;
    }
}

const SpotRecord& SpotStore::slot(int number) const
{
    return m_slots.at(static_cast<std::size_t>(number));
}

} // namespace brindle
