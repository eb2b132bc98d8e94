#pragma once
// The notes the module has started and not yet released (`SoundingNotes`). Audio thread only.
//
// A fixed table: entries live in a preallocated pool, linked once in start order (for the
// transport flush and for evicting the oldest entry when the table is full) and once per source
// key (channel, note), so a note-off visits only its own entries however many notes sound.
#include <array>
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
    void AddNote(const TMidiNoteItem& item) noexcept;

    // The oldest entry, or nullptr when empty; RemoveOldest() drops it.
    [[nodiscard]] const TMidiNoteItem* Oldest() const noexcept;
    void RemoveOldest() noexcept;

    // Visits every entry started by (channel, note), newest first, and removes it after the
    // visit. Returns how many entries were released.
    template <typename F> int ReleaseSource(int channel, int note, F&& visit) noexcept {
        int released = 0;
        int i = fKeyTail[Key(channel, note)];
        while (i >= 0) {
            const int prev = fSlots[static_cast<std::size_t>(i)].keyPrev;
            visit(static_cast<const TMidiNoteItem&>(fSlots[static_cast<std::size_t>(i)].item));
            Unlink(i);
            ++released;
            i = prev;
        }
        return released;
    }

    // Visits every entry, oldest first.
    template <typename F> void ForEach(F&& visit) const noexcept {
        for (int i = fHead; i >= 0; i = fSlots[static_cast<std::size_t>(i)].next)
            visit(static_cast<const TMidiNoteItem&>(fSlots[static_cast<std::size_t>(i)].item));
    }

private:
    struct Slot {
        TMidiNoteItem item;
        std::int16_t prev = -1, next = -1;       // start order; free list uses next
        std::int16_t keyPrev = -1, keyNext = -1; // same source key
    };
    static constexpr int kKeys = 16 * 128;
    static_assert(kCapacity <= 32767);

    [[nodiscard]] static int Key(int channel, int note) noexcept {
        return ((channel & 15) << 7) | (note & 127);
    }
    void Unlink(int index) noexcept;

    std::array<Slot, kCapacity> fSlots;
    std::array<std::int16_t, kKeys> fKeyHead;
    std::array<std::int16_t, kKeys> fKeyTail;
    int fHead = -1, fTail = -1, fFree = -1, fCount = 0;
};

} // namespace ostinel
