#include "editor/map/HighlightedNotes.h"

#include "common/Error.h"

namespace ostinel {

const THighlightedNote& THighlightedNotes::Items(std::size_t index) const {
    if (index >= items_.size()) {
        throw Error(kArgumentOutOfRange);
    }
    return items_[index];
}

int THighlightedNotes::IndexOfNote(int note) const noexcept {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].Note == note) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

THighlightedNote& THighlightedNotes::FindOrAdd(int note) {
    const int index = IndexOfNote(note);
    if (index >= 0) {
        return items_[static_cast<std::size_t>(index)];
    }
    items_.push_back({note, false});
    return items_.back();
}

bool THighlightedNotes::Release(int note) noexcept {
    const int index = IndexOfNote(note);
    if (index < 0) {
        return false;
    }
    items_[static_cast<std::size_t>(index)].Released = true;
    return true;
}

bool THighlightedNotes::IsHeld(int note) const noexcept {
    const int index = IndexOfNote(note);
    return index >= 0 && !items_[static_cast<std::size_t>(index)].Released;
}

void THighlightedNotes::Delete(std::size_t index) {
    if (index >= items_.size()) {
        throw Error(kArgumentOutOfRange);
    }
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

} // namespace ostinel
