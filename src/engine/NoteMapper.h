#pragma once
// The note mapping of one module: note-ons of an active channel inside its range become the
// note-ons of their targets; note-offs release exactly what their note-on produced; a transport
// jump back releases everything. Audio thread only, except ComputeVelocity, which the preview
// also uses on the GUI thread. Never allocates, never throws.
//
// The operations are templates over the sink (an IMidiSink or anything with the same two
// writers) and live here, so that the module's own queue writers inline into the note loop.
#include "common/QelCommon.h"
#include "engine/MidiNoteList.h"
#include "engine/MidiSink.h"
#include "engine/Ostin.h"
#include "engine/Random.h"

#include <cstdint>

namespace ostinel {

// The velocity of velocity v shaped by a target's scale and random amount; draws from the
// process-wide generator when the target's Random is above 0.
[[nodiscard]] inline int ComputeVelocity(int velocity, const TOstinToItem& target) noexcept {
    int s = target.VelocityScaleRounded();
    if (target.Random() > 0) {
        int c = target.RandomRounded();
        if (s + c > 200)
            c = 200 - s;
        s += Random(c + 1);
    }
    int result = velocity;
    const double v = velocity;
    if (s < 0)
        result = velocity - static_cast<int>(RoundDouble(v * (-s / 100.0)));
    else if (s > 0)
        result = velocity + static_cast<int>(RoundDouble((127.0 - v) * (s / 100.0)));
    return result < 0 ? 0 : (result > 127 ? 127 : result);
}

// Calls play(target, outChannel, note) for each target of a row that has a note (a negative
// note marks an unused target), in target order: the one walk over targets, for the mapper
// and the preview.
template <typename Play>
[[gnu::always_inline]] inline void ForEachTargetWithNote(const TOstinTo& targets, Play&& play) {
    for (int k = 0; k < TOstinTo::Count(); ++k) {
        const TOstinToItem& target = targets[k];
        const int note = target.NoteRounded();
        if (note >= 0)
            play(target, target.ChannelRounded() - 1, note);
    }
}

class TNoteMapper {
public:
    // Note-on of channel ch (0..15), note n, velocity v (1..127) on an active channel. Returns
    // false when the note lies outside the channel's range and was dropped.
    template <typename Sink>
    bool NoteOn(const TOstinelChannel& channel, int ch, int n, int v, std::int32_t deltaFrames,
                Sink& out) noexcept {
        if (!channel.InRange(n))
            return false;
        PlayTargets(channel, ch, n, v, deltaFrames, out);
        return true;
    }

    // The targets of an in-range note-on (NoteOn after its range test; the module tests the
    // range itself first).
    template <typename Sink>
    void PlayTargets(const TOstinelChannel& channel, int ch, int n, int v, std::int32_t deltaFrames,
                     Sink& out) noexcept {
        ForEachTargetWithNote(
            channel.Notes[n].Targets, [&](const TOstinToItem& target, int outChannel, int note) {
                if (static_cast<float>(Random(100)) >= target.Probability())
                    return;
                // A target that neither scales nor randomises keeps the velocity (1..127): the
                // usual case, without the call.
                const int velocity = target.VelocityScaleRounded() == 0 && !(target.Random() > 0)
                                         ? v
                                         : ComputeVelocity(v, target);
                Record({ch, n, outChannel, note, velocity}, deltaFrames, out);
            });
    }

    // Note-off of channel ch, note n with release velocity v: releases the entries started by
    // that note, or passes the note-off through when there are none.
    template <typename Sink>
    void NoteOff(int ch, int n, int v, std::int32_t deltaFrames, Sink& out) noexcept {
        const int released = sounding_.ReleaseSource(ch, n, [&](const TMidiNoteItem& item) {
            out.SendNoteOff(B(item.OutChannel), B(item.OutNote), B(item.Velocity), deltaFrames);
        });
        if (released == 0)
            out.SendNoteOff(B(ch), B(n), B(v), deltaFrames);
    }

    // Releases every sounding note (transport jump back), oldest first, at deltaFrames 0.
    template <typename Sink> void ReleaseAll(Sink& out) noexcept {
        sounding_.ForEach([&](const TMidiNoteItem& item) {
            out.SendNoteOff(B(item.OutChannel), B(item.OutNote), B(item.Velocity), 0);
        });
        sounding_.Clear();
    }

    [[nodiscard]] const TMidiNoteList& SoundingNotes() const noexcept { return sounding_; }

private:
    static constexpr std::uint8_t B(int v) noexcept { return static_cast<std::uint8_t>(v); }

    template <typename Sink>
    void Record(const TMidiNoteItem& item, std::int32_t deltaFrames, Sink& out) noexcept {
        if (sounding_.Full()) {
            // Never leave a note hanging: release the oldest entry to make room.
            const TMidiNoteItem& oldest = *sounding_.Oldest();
            out.SendNoteOff(B(oldest.OutChannel), B(oldest.OutNote), B(oldest.Velocity),
                            deltaFrames);
            sounding_.RemoveOldest();
        }
        sounding_.AddNote(item);
        out.SendNoteOn(B(item.OutChannel), B(item.OutNote), B(item.Velocity), deltaFrames);
    }

    TMidiNoteList sounding_;
};

} // namespace ostinel
