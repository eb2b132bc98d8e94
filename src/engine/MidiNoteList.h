#pragma once
// The notes the module has started and not yet released (`SoundingNotes`). Audio thread only.
//
// A fixed table: entries live in a preallocated pool, linked once in start order (doubly: the
// transport flush walks it and a release unlinks from the middle) and once per source key
// (channel, note), newest first, so a note-off visits only its own entries however many notes
// sound. A note-off always releases every entry of its key, so it drops the whole chain at once
// instead of unlinking entry by entry; the only single removal from a chain, the eviction of the
// oldest entry of a full table, takes the end of its chain. Every operation but the flush is
// O(1) per entry.
#include <array>
#include <cstddef>
#include <cstdint>

namespace ostinel {

struct TMidiNoteItem {
    std::int32_t SourceChannel = 0;
    std::int32_t SourceNote = 0;
    std::int32_t OutChannel = 0;
    std::int32_t OutNote = 0;
    std::int32_t Velocity = 0;
};

class TMidiNoteList {
public:
    static constexpr int kCapacity = 4096;

    TMidiNoteList() noexcept { Clear(); }
    TMidiNoteList(const TMidiNoteList&) = delete;
    TMidiNoteList& operator=(const TMidiNoteList&) = delete;

    [[nodiscard]] int Count() const noexcept { return fCount; }
    [[nodiscard]] bool Full() const noexcept { return fCount == kCapacity; }
    void Clear() noexcept;

    // Appends an entry. The caller makes room first when the table is Full() (see Oldest()).
    void AddNote(const TMidiNoteItem& item) noexcept {
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

        std::int16_t& newest = fKeyNewest[U(Key(item.SourceChannel, item.SourceNote))];
        slot.older = newest;
        slot.newer = -1;
        if (newest >= 0)
            fSlots[U(newest)].newer = static_cast<std::int16_t>(i);
        newest = static_cast<std::int16_t>(i);
        ++fCount;
    }

    // The oldest entry, or nullptr when empty; RemoveOldest() drops it.
    [[nodiscard]] const TMidiNoteItem* Oldest() const noexcept {
        return fHead >= 0 ? &fSlots[U(fHead)].item : nullptr;
    }
    void RemoveOldest() noexcept;

    // Visits every entry started by (channel, note), newest first, and removes it after the
    // visit. Returns how many entries were released.
    template <typename F> int ReleaseSource(int channel, int note, F&& visit) noexcept {
        std::int16_t& newest = fKeyNewest[U(Key(channel, note))];
        int released = 0;
        for (int i = newest; i >= 0;) {
            const Slot& slot = fSlots[U(i)];
            const int older = slot.older;
            visit(static_cast<const TMidiNoteItem&>(slot.item));
            UnlinkOrder(i);
            ++released;
            i = older;
        }
        newest = -1;
        return released;
    }

    // Visits every entry, oldest first.
    template <typename F> void ForEach(F&& visit) const noexcept {
        for (int i = fHead; i >= 0; i = fSlots[U(i)].next)
            visit(static_cast<const TMidiNoteItem&>(fSlots[U(i)].item));
    }

private:
    // 28 bytes of content; aligned to 32 so an index becomes an offset with a shift.
    struct alignas(32) Slot {
        TMidiNoteItem item;
        std::int16_t prev = -1, next = -1;   // start order; the free list uses next
        std::int16_t older = -1, newer = -1; // same source key; valid while listed
    };
    static constexpr int kKeys = 16 * 128;
    static_assert(kCapacity <= 32767);

    [[nodiscard]] static int Key(int channel, int note) noexcept {
        return ((channel & 15) << 7) | (note & 127);
    }
    [[nodiscard]] static constexpr std::size_t U(int i) noexcept {
        return static_cast<std::size_t>(i);
    }
    // Takes entry i out of the start order and returns it to the free list; the caller
    // takes care of its key chain.
    void UnlinkOrder(int i) noexcept {
        Slot& slot = fSlots[U(i)];
        if (slot.prev >= 0)
            fSlots[U(slot.prev)].next = slot.next;
        else
            fHead = slot.next;
        if (slot.next >= 0)
            fSlots[U(slot.next)].prev = slot.prev;
        else
            fTail = slot.prev;
        slot.prev = -1;
        slot.next = static_cast<std::int16_t>(fFree);
        fFree = i;
        --fCount;
    }

    std::array<Slot, kCapacity> fSlots;
    std::array<std::int16_t, kKeys> fKeyNewest; // per key: its newest entry, -1 when none
    int fHead = -1, fTail = -1, fFree = -1, fCount = 0;
};

} // namespace ostinel
