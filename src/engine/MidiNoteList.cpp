#include "engine/MidiNoteList.h"

namespace ostinel {

void TMidiNoteList::Clear() noexcept {
    keyNewest_.fill(-1);
    for (int i = 0; i < kCapacity; ++i) {
        slots_[U(i)] = Slot{};
        slots_[U(i)].next = static_cast<std::int16_t>(i + 1 < kCapacity ? i + 1 : -1);
    }
    free_ = 0;
    head_ = tail_ = -1;
    count_ = 0;
}

void TMidiNoteList::RemoveOldest() noexcept {
    if (head_ < 0)
        return;
    // The oldest entry is the oldest of its key too: the end of its chain.
    const int oldest = head_;
    const Slot& slot = slots_[U(oldest)];
    if (slot.newer >= 0)
        slots_[U(slot.newer)].older = -1;
    else
        keyNewest_[U(Key(slot.item.SourceChannel, slot.item.SourceNote))] = -1;
    UnlinkOrder(oldest);
}

} // namespace ostinel
