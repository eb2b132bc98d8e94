#include "mapping/TrackMapper.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace ostinel::cli {

namespace {

constexpr std::uint8_t kNoteOn = 0x90;

std::uint32_t ClampTick(double tick) {
    if (!(tick > 0.0))
        return 0;
    if (tick >= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(tick);
}

bool IsChannelMessage(const MidiMessage& m) {
    return m.status >= 0x80 && m.status < 0xF0 && m.data1 < 0x80 && m.data2 < 0x80;
}

} // namespace

TrackMapper::TrackMapper(const smf::TempoMap& tempo, std::uint16_t division,
                         const HostSettings& host, CarryMode mode)
    : tempo_(tempo), division_(division), host_(host), mode_(mode) {}

std::int64_t TrackMapper::SampleOf(std::uint32_t tick) const {
    return std::llround(tempo_.TickToSample(tick, host_.sampleRate));
}

Transport TrackMapper::TransportAt(std::int64_t sample) const {
    Transport t;
    t.samplePos = static_cast<double>(sample);
    const double tick = tempo_.SampleToTick(static_cast<double>(sample), host_.sampleRate);
    t.tempo = 60e6 / tempo_.MicrosecondsPerQuarterAt(ClampTick(tick));
    t.ppqPos = smf::IsSmpteDivision(division_)
                   ? static_cast<double>(sample) / host_.sampleRate * 2.0
                   : tick / division_;
    t.playing = true;
    return t;
}

std::uint32_t TrackMapper::FirstTickFrom(std::int64_t sample) const {
    const double boundary =
        tempo_.SampleToTick(static_cast<double>(sample) - 0.5, host_.sampleRate);
    std::uint32_t tick = ClampTick(std::floor(boundary));
    while (tick > 0 && SampleOf(tick - 1) >= sample)
        --tick;
    while (tick < std::numeric_limits<std::uint32_t>::max() && SampleOf(tick) < sample)
        ++tick;
    return tick;
}

std::uint32_t TrackMapper::TickOf(std::int64_t blockStart, std::int32_t frame) const {
    // Input events at this offset: their tick, when they agree on one.
    const auto first =
        std::lower_bound(blockInputs_.begin(), blockInputs_.end(), frame,
                         [](const BlockInput& input, std::int32_t f) { return input.frame < f; });
    if (first != blockInputs_.end() && first->frame == frame) {
        bool agree = true;
        for (auto it = first; it != blockInputs_.end() && it->frame == frame; ++it)
            agree = agree && it->tick == first->tick;
        if (agree)
            return first->tick;
    }
    const double exact =
        tempo_.SampleToTick(static_cast<double>(blockStart + frame), host_.sampleRate);
    return std::max(ClampTick(std::nearbyint(exact)), FirstTickFrom(blockStart));
}

smf::Track TrackMapper::Map(const smf::Track& in, std::size_t trackIndex,
                            vsthost::PluginInstance& plugin, const TargetTable& targets,
                            MapSummary& summary, std::vector<NoteChange>& changes,
                            std::size_t changeLimit) {
    recorded_ = 0;
    smf::Track out;
    out.events.reserve(in.events.size());
    out.payload.reserve(in.payload.size());

    std::vector<Input> inputs;
    inputs.reserve(in.events.size());
    std::array<bool, 16 * 128> sounding{};
    std::uint32_t endTick = 0;
    for (const smf::Event& e : in.events) {
        endTick = std::max(endTick, e.tick);
        const Carry carry = CarryOf(e, mode_);
        CountCarry(e, carry, summary);
        if (carry == Carry::Keep) {
            out.Add(e, in.Data(e));
        } else if (carry == Carry::Play) {
            inputs.push_back({SampleOf(e.tick), e.tick, &e});
            ++summary.eventsIn;
            const std::size_t key = static_cast<std::size_t>(e.Channel() * 128 + (e.data1 & 127));
            if (e.IsNoteOn()) {
                ++summary.notesIn;
                sounding[key] = true;
            } else if (e.IsNoteOff()) {
                sounding[key] = false; // a note-off ends every voice of its note
            }
        }
    }
    if (inputs.empty())
        return out;

    const auto emit = [&](const MidiMessage& m, std::uint32_t tick) {
        if (!IsChannelMessage(m)) {
            ++summary.ignoredOut;
            return;
        }
        const std::uint8_t data2 = smf::ChannelDataBytes(m.status) == 1 ? 0 : m.data2;
        out.AddChannel(tick, m.status, m.data1, data2);
        ++summary.eventsOut;
        if ((m.status & 0xF0) == kNoteOn && m.data2 > 0)
            ++summary.notesOut;
    };

    const std::int32_t block = host_.blockSize;
    std::int64_t pos = 0;
    std::size_t i = 0;
    int tail = 0;
    int emptyBlocks = 0;
    while (i < inputs.size() || tail < kTailBlocks) {
        std::int32_t frames = block;
        std::size_t j = i;
        while (j < inputs.size() && inputs[j].sample < pos + frames) {
            if (j - i == static_cast<std::size_t>(kMaxEventsPerBlock) && inputs[j].sample > pos) {
                frames = static_cast<std::int32_t>(inputs[j].sample - pos);
                break;
            }
            ++j;
        }
        if (j > i) {
            emptyBlocks = 0;
        } else if (i < inputs.size() && emptyBlocks >= kTailBlocks) {
            // Until the next event the plug-in has nothing to do: move over the whole blocks
            // in between, on the same block grid, so a gap of hours costs nothing.
            const std::int64_t skip = (inputs[i].sample - pos) / block * block;
            if (skip > 0) {
                pos += skip;
                continue;
            }
        } else {
            ++emptyBlocks;
        }
        if (i >= inputs.size())
            ++tail;
        blockInputs_.clear();
        blockEvents_.clear();
        for (std::size_t k = i; k < j; ++k) {
            const smf::Event& e = *inputs[k].event;
            const auto frame = static_cast<std::int32_t>(inputs[k].sample - pos);
            blockInputs_.push_back({frame, inputs[k].tick, &e});
            vst::VstMidiEvent v{};
            v.type = vst::kVstMidiType;
            v.byteSize = sizeof(vst::VstMidiEvent);
            v.deltaFrames = frame;
            v.midiData[0] = e.status;
            v.midiData[1] = e.data1;
            v.midiData[2] = e.data2;
            blockEvents_.push_back(v);
        }

        output_.clear();
        if (plugin.Play(blockEvents_, frames, TransportAt(pos), output_) >= kPluginOutputLimit)
            ++summary.fullBlocks;
        for (MidiMessage& m : output_) {
            m.deltaFrames = std::clamp(m.deltaFrames, 0, frames - 1);
            emit(m, TickOf(pos, m.deltaFrames));
        }
        Attribute(trackIndex, targets, summary, changes, changeLimit);
        i = j;
        pos += frames;
    }

    const auto left =
        static_cast<std::uint64_t>(std::count(sounding.begin(), sounding.end(), true));
    if (left > 0) {
        summary.notesLeftSounding += left;
        output_.clear();
        Transport rewind = TransportAt(0);
        plugin.Play({}, block, rewind, output_);
        for (const MidiMessage& m : output_) {
            emit(m, endTick);
            ++summary.releasedAtEnd;
        }
    }
    return out;
}

void TrackMapper::Attribute(std::size_t trackIndex, const TargetTable& targets, MapSummary& summary,
                            std::vector<NoteChange>& changes, std::size_t changeLimit) {
    // Output note-ons in the order the plug-in sent them. For each input note-on (in input
    // order) the plug-in plays a subsequence of its candidates at the input's offset, right
    // after those of the note-ons before it.
    std::vector<OutputNote>& ons = outputNotes_;
    ons.clear();
    for (const MidiMessage& m : output_)
        if ((m.status & 0xF0) == kNoteOn && IsChannelMessage(m))
            ons.push_back(
                {m.deltaFrames, {static_cast<std::uint8_t>(m.status & 0x0F), m.data1, m.data2}});

    std::size_t q = 0;
    for (const BlockInput& input : blockInputs_) {
        const smf::Event& e = *input.event;
        if (!e.IsNoteOn())
            continue;
        while (q < ons.size() && ons[q].frame < input.frame)
            ++q;
        NoteChange change;
        change.tick = input.tick;
        change.track = trackIndex;
        change.in = {e.Channel(), e.data1, e.data2};
        std::size_t soundingCount = 0;
        bool unchanged = true;
        for (const NoteKey& candidate : targets.Candidates(e.Channel(), e.data1)) {
            if (q < ons.size() && ons[q].frame == input.frame &&
                ons[q].value.channel == candidate.channel && ons[q].value.note == candidate.note) {
                const NoteValue& v = ons[q].value;
                change.out.push_back(v);
                if (v.velocity > 0) {
                    ++soundingCount;
                    unchanged = unchanged && v.channel == e.Channel() && v.note == e.data1;
                }
                ++q;
            }
        }
        if (soundingCount == 0)
            ++summary.notesDropped;
        else if (soundingCount > 1 || !unchanged)
            ++summary.notesRemapped;
        if (recorded_ < changeLimit) {
            changes.push_back(std::move(change));
            ++recorded_;
        }
    }
}

} // namespace ostinel::cli
