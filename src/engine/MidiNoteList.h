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

    [[nodiscard]] int Count() const noexcept { return count_; }
    [[nodiscard]] bool Full() const noexcept { return count_ == kCapacity; }
    void Clear() noexcept;

    // Appends an entry. The caller makes room first when the table is Full() (see Oldest()).
    void AddNote(const TMidiNoteItem& item) noexcept {
        if (free_ < 0)
            return; // callers evict first; never reached
        const int i = free_;
        Slot& slot = slots_[U(i)];
        free_ = slot.next;

        slot.item = item;
        slot.prev = static_cast<std::int16_t>(tail_);
        slot.next = -1;
        if (tail_ >= 0)
            slots_[U(tail_)].next = static_cast<std::int16_t>(i);
        else
            head_ = i;
        tail_ = i;

        std::int16_t& newest = keyNewest_[U(Key(item.SourceChannel, item.SourceNote))];
        slot.older = newest;
        slot.newer = -1;
        if (newest >= 0)
            slots_[U(newest)].newer = static_cast<std::int16_t>(i);
        newest = static_cast<std::int16_t>(i);
        ++count_;
    }

    // The oldest entry, or nullptr when empty; RemoveOldest() drops it.
    [[nodiscard]] const TMidiNoteItem* Oldest() const noexcept {
        return head_ >= 0 ? &slots_[U(head_)].item : nullptr;
    }
    void RemoveOldest() noexcept;

    // Visits every entry started by (channel, note), newest first, and removes it after the
    // visit. Returns how many entries were released.
    template <typename F> int ReleaseSource(int channel, int note, F&& visit) noexcept {
        std::int16_t& newest = keyNewest_[U(Key(channel, note))];
        int released = 0;
        for (int i = newest; i >= 0;) {
            const Slot& slot = slots_[U(i)];
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
        for (int i = head_; i >= 0; i = slots_[U(i)].next)
            visit(static_cast<const TMidiNoteItem&>(slots_[U(i)].item));
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
        Slot& slot = slots_[U(i)];
        if (slot.prev >= 0)
            slots_[U(slot.prev)].next = slot.next;
        else
            head_ = slot.next;
        if (slot.next >= 0)
            slots_[U(slot.next)].prev = slot.prev;
        else
            tail_ = slot.prev;
        slot.prev = -1;
        slot.next = static_cast<std::int16_t>(free_);
        free_ = i;
        --count_;
    }

    std::array<Slot, kCapacity> slots_;
    std::array<std::int16_t, kKeys> keyNewest_; // per key: its newest entry, -1 when none
    int head_ = -1, tail_ = -1, free_ = -1, count_ = 0;
};

} // namespace ostinel
