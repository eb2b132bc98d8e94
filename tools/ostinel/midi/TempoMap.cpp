#include "midi/TempoMap.h"

#include "common/Error.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace ostinel::smf {

namespace {

void CheckRate(double sampleRate) {
    if (!std::isfinite(sampleRate) || sampleRate <= 0.0) {
        throw Error("Sample rate must be a positive number");
    }
}

} // namespace

TempoMap::TempoMap(const MidiFile& file) : TempoMap(file.division, {}) {
    if (IsSmpteDivision(division_)) {
        return;
    }
    std::vector<TempoChange> changes;
    for (const Track& track : file.tracks) {
        for (const Event& event : track.events) {
            if (!event.IsMetaOfType(kMetaTempo)) {
                continue;
            }
            const auto data = track.Data(event);
            if (data.size() != 3) {
                continue;
            }
            changes.push_back(
                {event.tick, (uint32_t{data[0]} << 16) | (uint32_t{data[1]} << 8) | data[2]});
        }
    }
    Build(std::move(changes));
}

TempoMap::TempoMap(uint16_t division, std::span<const TempoChange> changes) : division_(division) {
    if (const char* problem = DivisionProblem(division)) {
        throw Error(std::string("Cannot time MIDI file: ") + problem);
    }
    if (IsSmpteDivision(division)) {
        ticksPerSecondSmpte_ =
            SmpteFramesPerSecond(division) * static_cast<double>(SmpteTicksPerFrame(division));
        return;
    }
    for (const TempoChange& change : changes) {
        if (change.microsecondsPerQuarter > kMaxMicrosecondsPerQuarter) {
            throw Error("Tempo of " + std::to_string(change.microsecondsPerQuarter) +
                        " microseconds per quarter note is out of range");
        }
    }
    Build(std::vector<TempoChange>(changes.begin(), changes.end()));
}

void TempoMap::Build(std::vector<TempoChange> changes) {
    std::erase_if(changes, [](const TempoChange& c) { return c.microsecondsPerQuarter == 0; });
    std::stable_sort(changes.begin(), changes.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    changes_.clear();
    changes_.push_back({0, kDefaultMicrosecondsPerQuarter});
    for (const TempoChange& change : changes) {
        if (changes_.back().tick == change.tick) {
            changes_.back().microsecondsPerQuarter = change.microsecondsPerQuarter;
        } else {
            changes_.push_back(change);
        }
    }
    const double microsPerSecondTimesTpq = 1e6 * static_cast<double>(division_);
    tickMicrosBefore_.assign(changes_.size(), 0);
    secondsBefore_.assign(changes_.size(), 0.0);
    for (std::size_t i = 1; i < changes_.size(); ++i) {
        // At most 2^32 ticks in all, each at most 2^24 µs: the sum stays below 2^56.
        tickMicrosBefore_[i] =
            tickMicrosBefore_[i - 1] + uint64_t{changes_[i].tick - changes_[i - 1].tick} *
                                           changes_[i - 1].microsecondsPerQuarter;
        secondsBefore_[i] = static_cast<double>(tickMicrosBefore_[i]) / microsPerSecondTimesTpq;
    }
}

std::size_t TempoMap::SegmentAtTick(uint32_t tick) const {
    const auto next =
        std::upper_bound(changes_.begin(), changes_.end(), tick,
                         [](uint32_t t, const TempoChange& change) { return t < change.tick; });
    return static_cast<std::size_t>(next - changes_.begin()) - 1;
}

double TempoMap::TickToSeconds(uint32_t tick) const {
    if (ticksPerSecondSmpte_ > 0.0) {
        return static_cast<double>(tick) / ticksPerSecondSmpte_;
    }
    const std::size_t i = SegmentAtTick(tick);
    const uint64_t tickMicros = tickMicrosBefore_[i] + uint64_t{tick - changes_[i].tick} *
                                                           changes_[i].microsecondsPerQuarter;
    return static_cast<double>(tickMicros) / (1e6 * static_cast<double>(division_));
}

double TempoMap::SecondsToTick(double seconds) const {
    if (!(seconds > 0.0)) {
        return 0.0;
    }
    if (ticksPerSecondSmpte_ > 0.0) {
        return seconds * ticksPerSecondSmpte_;
    }
    const auto next = std::upper_bound(secondsBefore_.begin(), secondsBefore_.end(), seconds);
    const auto i = static_cast<std::size_t>(next - secondsBefore_.begin()) - 1;
    const double ticksPerSecond = 1e6 * static_cast<double>(division_) /
                                  static_cast<double>(changes_[i].microsecondsPerQuarter);
    return static_cast<double>(changes_[i].tick) + (seconds - secondsBefore_[i]) * ticksPerSecond;
}

double TempoMap::TickToSample(uint32_t tick, double sampleRate) const {
    CheckRate(sampleRate);
    return TickToSeconds(tick) * sampleRate;
}

double TempoMap::SampleToTick(double sample, double sampleRate) const {
    CheckRate(sampleRate);
    return SecondsToTick(sample / sampleRate);
}

uint32_t TempoMap::MicrosecondsPerQuarterAt(uint32_t tick) const {
    if (changes_.empty()) {
        return kDefaultMicrosecondsPerQuarter;
    }
    return changes_[SegmentAtTick(tick)].microsecondsPerQuarter;
}

} // namespace ostinel::smf
