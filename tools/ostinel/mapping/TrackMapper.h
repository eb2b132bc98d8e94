#pragma once
// Plays one track through one plug-in instance and builds the output track.
//
// Timing: each channel event's tick becomes the nearest sample at the host's rate through the
// file's tempo map; blocks of blockSize samples are played from sample 0, each event at its
// offset inside its block. A block is cut short before an event when it already holds
// kMaxEventsPerBlock events, so that the plug-in's output list (1023 events) cannot overflow.
// What the plug-in returns goes back to ticks: an event at the same offset as input events of
// one tick gets that tick exactly; any other gets the nearest tick, never one that lies before
// the block's first sample.
//
// Events the plug-in does not handle are kept or dropped as CarryOf says (CarryOver.h); kept
// ones are copied unchanged at their tick. At equal ticks they come first, in input order, then
// the plug-in's output in the order it returned it: a program change or SysEx at the tick of a
// note reaches the synthesizer before the note.
//
// Silence: after kTailBlocks blocks without events, the whole blocks before the next event are
// not played; the transport moves on by their length. The plug-in acts only on events and on
// the transport moving back, so the output is the same, and a file with hours between two
// events maps as fast as any other.
//
// End: after the last event kTailBlocks more blocks are played. If the input leaves notes
// sounding at its end, one more block moves the transport back to sample 0, which makes the
// plug-in release every note it started; those note-offs are placed at the track's end tick.
// Nothing else is added.
#include "mapping/CarryOver.h"
#include "mapping/MapSummary.h"
#include "mapping/TargetTable.h"
#include "midi/SmfModel.h"
#include "midi/TempoMap.h"
#include "vsthost/PluginInstance.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostinel::cli {

using vsthost::HostSettings;
using vsthost::MidiMessage;
using vsthost::Transport;

inline constexpr int kMaxEventsPerBlock = 170; // 1023 / 6: three targets, each may evict one
inline constexpr int kTailBlocks = 2;
inline constexpr int kPluginOutputLimit = 1023;

class TrackMapper {
public:
    TrackMapper(const smf::TempoMap& tempo, std::uint16_t division, const HostSettings& host,
                CarryMode mode);

    // `changes` receives the first `changeLimit` note-ons of the track with what became of
    // them.
    [[nodiscard]] smf::Track Map(const smf::Track& in, std::size_t trackIndex,
                                 vsthost::PluginInstance& plugin, const TargetTable& targets,
                                 MapSummary& summary, std::vector<NoteChange>& changes,
                                 std::size_t changeLimit);

private:
    struct Input {
        std::int64_t sample;
        std::uint32_t tick;
        const smf::Event* event;
    };
    struct OutputNote {
        std::int32_t frame;
        NoteValue value;
    };
    struct BlockInput {
        std::int32_t frame;
        std::uint32_t tick;
        const smf::Event* event;
    };

    [[nodiscard]] std::int64_t SampleOf(std::uint32_t tick) const;
    [[nodiscard]] Transport TransportAt(std::int64_t sample) const;
    [[nodiscard]] std::uint32_t TickOf(std::int64_t blockStart, std::int32_t frame) const;
    [[nodiscard]] std::uint32_t FirstTickFrom(std::int64_t sample) const;
    void Attribute(std::size_t trackIndex, const TargetTable& targets, MapSummary& summary,
                   std::vector<NoteChange>& changes, std::size_t changeLimit);

    const smf::TempoMap& tempo_;
    std::uint16_t division_;
    HostSettings host_;
    CarryMode mode_;

    // Per block, reused.
    std::vector<BlockInput> blockInputs_;
    std::vector<vst::VstMidiEvent> blockEvents_;
    std::vector<MidiMessage> output_;
    std::vector<OutputNote> outputNotes_;
    std::size_t recorded_ = 0; // note changes recorded for the current track
};

} // namespace ostinel::cli
