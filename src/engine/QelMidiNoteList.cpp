#include "engine/QelMidiNoteList.h"

namespace ostinel {

namespace {
constexpr std::size_t U(int i) noexcept {
    return static_cast<std::size_t>(i);
}
} // namespace

void TMidiNoteList::Clear() noexcept {
    fKeyHead.fill(-1);
    fKeyTail.fill(-1);
    for (int i = 0; i < kCapacity; ++i) {
        fSlots[U(i)] = Slot{};
        fSlots[U(i)].next = static_cast<std::int16_t>(i + 1 < kCapacity ? i + 1 : -1);
    }
    fFree = 0;
    fHead = fTail = -1;
    fCount = 0;
}

void TMidiNoteList::AddNote(const TMidiNoteItem& item) noexcept {
    if (fFree < 0)
        return; // callers evict first; never reached
    const int i = fFree;
    Slot& slot = fSlots[U(i)];
    fFree = slot.next;

    slot.item = item;
    slot.prev = static_cast<std::int16_t>(fTail);
    slot.next = -1;
    if (fTail >= 0)
        fSlots[U(fTail)].next = static_cast<std::int16_t>(i);
    else
        fHead = i;
    fTail = i;

    const int key = Key(item.SourceChannel, item.SourceNote);
    slot.keyPrev = fKeyTail[U(key)];
    slot.keyNext = -1;
    if (slot.keyPrev >= 0)
        fSlots[U(slot.keyPrev)].keyNext = static_cast<std::int16_t>(i);
    else
        fKeyHead[U(key)] = static_cast<std::int16_t>(i);
    fKeyTail[U(key)] = static_cast<std::int16_t>(i);
    ++fCount;
}

const TMidiNoteItem* TMidiNoteList::Oldest() const noexcept {
    return fHead >= 0 ? &fSlots[U(fHead)].item : nullptr;
}

void TMidiNoteList::RemoveOldest() noexcept {
    if (fHead >= 0)
        Unlink(fHead);
}

void TMidiNoteList::Unlink(int i) noexcept {
    Slot& slot = fSlots[U(i)];
    if (slot.prev >= 0)
        fSlots[U(slot.prev)].next = slot.next;
    else
        fHead = slot.next;
    if (slot.next >= 0)
        fSlots[U(slot.next)].prev = slot.prev;
    else
        fTail = slot.prev;

    const int key = Key(slot.item.SourceChannel, slot.item.SourceNote);
    if (slot.keyPrev >= 0)
        fSlots[U(slot.keyPrev)].keyNext = slot.keyNext;
    else
        fKeyHead[U(key)] = slot.keyNext;
    if (slot.keyNext >= 0)
        fSlots[U(slot.keyNext)].keyPrev = slot.keyPrev;
    else
        fKeyTail[U(key)] = slot.keyPrev;

    slot.prev = slot.keyPrev = slot.keyNext = -1;
    slot.next = static_cast<std::int16_t>(fFree);
    fFree = i;
    --fCount;
}

} // namespace ostinel
