#pragma once
// For every input channel and note, the notes the plug-in may play for a note-on, in the order
// it plays them, taken from the state the plug-in holds. Used only to tell which output
// note-ons came from which input note-on when several start at the same sample; the mapping
// itself is always done by the plug-in binary.
#include "engine/Ostin.h"

#include <array>
#include <cstdint>
#include <span>

namespace ostinel::cli {

struct NoteKey {
    std::uint8_t channel = 0; // 0-based
    std::uint8_t note = 0;
    bool operator==(const NoteKey&) const = default;
};

class TargetTable {
public:
    // Inactive channels pass their notes through; notes outside an active channel's range have
    // no candidates; otherwise the targets with a note and a probability above 0.
    explicit TargetTable(const TOstinel& map);

    [[nodiscard]] std::span<const NoteKey> Candidates(int channel, int note) const;

private:
    struct Entry {
        std::array<NoteKey, kMapTargets> keys{};
        std::uint8_t count = 0;
    };
    std::array<Entry, kMapChannels * kMapNotes> entries_{};
};

} // namespace ostinel::cli
