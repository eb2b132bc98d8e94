#pragma once
// What a mapping run counts, per file and in total.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostinel::cli {

// Events the tool itself kept in or left out of the output, by kind.
struct CarriedKinds {
    std::uint64_t programChanges = 0;
    std::uint64_t systemExclusive = 0;
    std::uint64_t meta = 0; // end-of-track not counted

    [[nodiscard]] bool Empty() const {
        return programChanges == 0 && systemExclusive == 0 && meta == 0;
    }
    CarriedKinds& operator+=(const CarriedKinds& other);
};

struct MapSummary {
    std::uint64_t eventsIn = 0;          // channel messages read and played to the plug-in
    std::uint64_t eventsOut = 0;         // channel messages the plug-in returned (all written)
    std::uint64_t notesIn = 0;           // note-ons read (velocity above 0)
    std::uint64_t notesOut = 0;          // note-ons written (velocity above 0)
    std::uint64_t notesRemapped = 0;     // note-ons read that came out other than as themselves
    std::uint64_t notesDropped = 0;      // note-ons read that came out as no sounding note
    CarriedKinds kept;                   // copied from the input without the plug-in
    CarriedKinds dropped;                // left out (--like-daw)
    std::uint64_t notesLeftSounding = 0; // input notes without note-off at their track's end
    std::uint64_t releasedAtEnd = 0;     // note-offs the plug-in sent when the transport returned
    std::uint64_t fullBlocks = 0;        // blocks whose output list reached the plug-in's limit
    std::uint64_t ignoredOut = 0;        // returned messages that are not channel messages

    MapSummary& operator+=(const MapSummary& other);
};

struct NoteValue {
    std::uint8_t channel = 0; // 0-based
    std::uint8_t note = 0;
    std::uint8_t velocity = 0;
};

// One input note-on and the note-ons the plug-in played for it.
struct NoteChange {
    std::uint32_t tick = 0;
    std::size_t track = 0; // 0-based
    NoteValue in;
    std::vector<NoteValue> out;
};

} // namespace ostinel::cli
