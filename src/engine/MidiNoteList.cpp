#include "engine/MidiNoteList.h"

namespace ostinel {

void TMidiNoteList::Clear() noexcept {
    fKeyNewest.fill(-1);
    for (int i = 0; i < kCapacity; ++i) {
        fSlots[U(i)] = Slot{};
        fSlots[U(i)].next = static_cast<std::int16_t>(i + 1 < kCapacity ? i + 1 : -1);
    }
    fFree = 0;
    fHead = fTail = -1;
    fCount = 0;
}

void TMidiNoteList::RemoveOldest() noexcept {
    if (fHead < 0)
        return;
    // The oldest entry is the oldest of its key too: the end of its chain.
    const int oldest = fHead;
    const Slot& slot = fSlots[U(oldest)];
    if (slot.newer >= 0)
        fSlots[U(slot.newer)].older = -1;
    else
        fKeyNewest[U(Key(slot.item.SourceChannel, slot.item.SourceNote))] = -1;
    UnlinkOrder(oldest);
}

} // namespace ostinel
