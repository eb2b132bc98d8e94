#pragma once
// THighlightedNotes: the held notes of the shown channel, in the order they were reported.
// The module hands note-ons and note-offs over from its idle handler, so the list is GUI-thread
// data only.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostinel {

struct THighlightedNote {
    std::int32_t Note = 0;
    bool Released = false;
};

class THighlightedNotes {
public:
    [[nodiscard]] std::size_t Count() const noexcept { return items_.size(); }
    [[nodiscard]] const THighlightedNote& Items(std::size_t index) const;
    // Index of the first entry for the note, or -1.
    [[nodiscard]] int IndexOfNote(int note) const noexcept;
    // The entry for the note; a new one (not released) is appended when there is none. An
    // existing entry stays as it is, also when it is released.
    THighlightedNote& FindOrAdd(int note);
    // Marks the note's entry released; false when there is none.
    bool Release(int note) noexcept;
    // Held and not released.
    [[nodiscard]] bool IsHeld(int note) const noexcept;
    void Delete(std::size_t index);
    void Clear() noexcept { items_.clear(); }

private:
    std::vector<THighlightedNote> items_;
};

} // namespace ostinel
