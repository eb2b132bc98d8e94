#pragma once
// Converts between ticks, seconds and sample positions for one MIDI file.
//
// Ticks-per-quarter files: the tempo events (FF 51 03 tt tt tt) of all tracks apply (format 1
// keeps them in track 0 by convention, but a tempo in any track counts). Before the first one
// the tempo is 120 bpm (500000 µs per quarter). Of several tempo events at one tick the last
// one (by track, then file order) wins. Tempo events whose data is not 3 bytes, or whose value
// is 0, are ignored.
// SMPTE files: a tick is a fixed fraction of a frame; tempo events do not change the timing.
#include "midi/SmfModel.h"

#include <cstdint>
#include <span>
#include <vector>

namespace ostinel::smf {

// The largest tempo a tempo event can carry (3 bytes).
inline constexpr uint32_t kMaxMicrosecondsPerQuarter = 0xFFFFFF;

struct TempoChange {
    uint32_t tick = 0;
    uint32_t microsecondsPerQuarter = kDefaultMicrosecondsPerQuarter;
};

class TempoMap {
public:
    // Throws ostinel::Error for an unusable division.
    explicit TempoMap(const MidiFile& file);
    // changes in any order; equal ticks: the later one in changes wins. Zero tempos are
    // ignored; tempos above kMaxMicrosecondsPerQuarter and an unusable division throw
    // ostinel::Error.
    TempoMap(uint16_t division, std::span<const TempoChange> changes);

    [[nodiscard]] double TickToSeconds(uint32_t tick) const;
    // Fractional tick at a time; 0 for negative or NaN seconds.
    [[nodiscard]] double SecondsToTick(double seconds) const;

    // Sample positions at sampleRate (Hz, finite and > 0; else ostinel::Error).
    [[nodiscard]] double TickToSample(uint32_t tick, double sampleRate) const;
    [[nodiscard]] double SampleToTick(double sample, double sampleRate) const;

    // Tempo in force at tick (the default for SMPTE files).
    [[nodiscard]] uint32_t MicrosecondsPerQuarterAt(uint32_t tick) const;

    // The tempo segments in tick order, the first at tick 0; empty for SMPTE files.
    [[nodiscard]] const std::vector<TempoChange>& Changes() const { return changes_; }

private:
    void Build(std::vector<TempoChange> changes);
    [[nodiscard]] std::size_t SegmentAtTick(uint32_t tick) const;

    uint16_t division_;
    double ticksPerSecondSmpte_ = 0.0; // SMPTE files only
    std::vector<TempoChange> changes_;
    // Per segment: the exact sum of ticks x µs-per-quarter before it, in whole units, so that
    // long files with many tempo changes do not drift.
    std::vector<uint64_t> tickMicrosBefore_;
    std::vector<double> secondsBefore_;
};

} // namespace ostinel::smf
