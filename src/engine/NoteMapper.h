#pragma once
// The note mapping of one module: note-ons of an active channel inside its range become the
// note-ons of their targets; note-offs release exactly what their note-on produced; a transport
// jump back releases everything. Audio thread only, except ComputeVelocity, which the preview
// also uses on the GUI thread. Never allocates, never throws.
#include "engine/MidiSink.h"
#include "engine/Ostin.h"
#include "engine/QelMidiNoteList.h"

#include <cstdint>

namespace ostinel {

// The velocity of velocity v shaped by a target's scale and random amount; draws from the
// process-wide generator when the target's Random is above 0.
[[nodiscard]] int ComputeVelocity(int velocity, const TOstinToItem& target) noexcept;

class TNoteMapper {
public:
    // Note-on of channel ch (0..15), note n, velocity v (1..127) on an active channel. Returns
    // false when the note lies outside the channel's range and was dropped.
    bool NoteOn(const TOstinelChannel& channel, int ch, int n, int v, std::int32_t deltaFrames,
                IMidiSink& out) noexcept;

    // Note-off of channel ch, note n with release velocity v: releases the entries started by
    // that note, or passes the note-off through when there are none.
    void NoteOff(int ch, int n, int v, std::int32_t deltaFrames, IMidiSink& out) noexcept;

    // Releases every sounding note (transport jump back), oldest first, at deltaFrames 0.
    void ReleaseAll(IMidiSink& out) noexcept;

    [[nodiscard]] const TMidiNoteList& SoundingNotes() const noexcept { return fSounding; }

private:
    void Record(const TMidiNoteItem& item, std::int32_t deltaFrames, IMidiSink& out) noexcept;

    TMidiNoteList fSounding;
};

} // namespace ostinel
