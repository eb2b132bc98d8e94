#include "midi/SmfWriter.h"

#include "common/Error.h"
#include "midi/SmfError.h"
#include "midi/Vlq.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <numeric>
#include <string>

namespace ostinel::smf {

namespace {

void AppendBe32(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 24));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void AppendBe16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void AppendId(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(id[i]));
    }
}

[[noreturn]] void Fail(const std::string& what) {
    throw Error("Cannot write MIDI file: " + what);
}

[[noreturn]] void FailEvent(std::size_t track, std::size_t event, const std::string& what) {
    Fail("track " + std::to_string(track + 1) + ", event " + std::to_string(event + 1) + ": " +
         what);
}

// Writes one track's body (events only, no chunk header) to out.
class TrackEncoder {
public:
    TrackEncoder(const Track& track, std::size_t index, const WriteOptions& options,
                 std::vector<uint8_t>& out)
        : track_(track), index_(index), options_(options), out_(out) {}

    void Encode() {
        const auto& events = track_.events;
        const auto byTick = [&](uint32_t a, uint32_t b) { return events[a].tick < events[b].tick; };
        if (std::is_sorted(events.begin(), events.end(),
                           [](const Event& a, const Event& b) { return a.tick < b.tick; })) {
            for (std::size_t i = 0; i < events.size(); ++i) {
                Put(i);
            }
        } else {
            std::vector<uint32_t> order(events.size());
            std::iota(order.begin(), order.end(), 0u);
            std::stable_sort(order.begin(), order.end(), byTick);
            for (const uint32_t i : order) {
                Put(i);
            }
        }
        endTick_ = std::max(endTick_, lastTick_);
        if (endTick_ - lastTick_ > kMaxVlq) {
            Fail("track " + std::to_string(index_ + 1) +
                 ": end of track more than 0x0FFFFFFF ticks after the last event");
        }
        AppendVlq(out_, endTick_ - lastTick_);
        const uint8_t endOfTrack[] = {kMetaStatus, kMetaEndOfTrack, 0};
        out_.insert(out_.end(), std::begin(endOfTrack), std::end(endOfTrack));
    }

private:
    void PutDelta(uint32_t tick, std::size_t eventIndex) {
        const uint32_t delta = tick - lastTick_;
        if (delta > kMaxVlq) {
            FailEvent(index_, eventIndex,
                      "gap of " + std::to_string(delta) + " ticks to the previous event");
        }
        AppendVlq(out_, delta);
        lastTick_ = tick;
    }

    void Put(std::size_t i) {
        const Event& event = track_.events[i];
        if (event.IsEndOfTrack()) {
            endTick_ = std::max(endTick_, event.tick);
            return;
        }
        if (event.IsChannel()) {
            const bool twoBytes = ChannelDataBytes(event.status) == 2;
            if (event.data1 > 0x7F || (twoBytes && event.data2 > 0x7F)) {
                FailEvent(index_, i, "data byte above 0x7F");
            }
            PutDelta(event.tick, i);
            if (!options_.runningStatus || event.status != runningStatus_) {
                out_.push_back(event.status);
            }
            runningStatus_ = options_.runningStatus ? event.status : 0;
            out_.push_back(event.data1);
            if (twoBytes) {
                out_.push_back(event.data2);
            }
            return;
        }
        if (!event.IsMeta() && !event.IsSysEx()) {
            FailEvent(index_, i, "invalid status byte " + HexByte(event.status));
        }
        if (event.dataOffset > track_.payload.size() ||
            event.dataSize > track_.payload.size() - event.dataOffset) {
            FailEvent(index_, i, "data lies outside the track's payload");
        }
        if (event.dataSize > kMaxVlq) {
            FailEvent(index_, i, "data too long");
        }
        PutDelta(event.tick, i);
        out_.push_back(event.status);
        if (event.IsMeta()) {
            out_.push_back(event.metaType);
        }
        AppendVlq(out_, event.dataSize);
        const auto data = track_.Data(event);
        out_.insert(out_.end(), data.begin(), data.end());
        runningStatus_ = 0;
    }

    const Track& track_;
    std::size_t index_;
    const WriteOptions& options_;
    std::vector<uint8_t>& out_;
    uint32_t lastTick_ = 0;
    uint32_t endTick_ = 0;
    uint8_t runningStatus_ = 0;
};

} // namespace

std::vector<uint8_t> Write(const MidiFile& file, const WriteOptions& options) {
    if (file.format > 1) {
        Fail("format " + std::to_string(file.format) + " is not supported");
    }
    if (file.tracks.empty()) {
        Fail("no tracks");
    }
    if (file.format == 0 && file.tracks.size() != 1) {
        Fail("format 0 holds exactly one track, not " + std::to_string(file.tracks.size()));
    }
    if (file.tracks.size() > std::numeric_limits<uint16_t>::max()) {
        Fail("more than 65535 tracks");
    }
    if (const char* problem = DivisionProblem(file.division)) {
        Fail(problem);
    }
    if (std::any_of(file.tracks.begin(), file.tracks.end(), [](const Track& track) {
            return track.events.size() > std::numeric_limits<uint32_t>::max() - 1;
        })) {
        Fail("too many events in a track");
    }

    std::size_t estimate = 14;
    for (const Track& track : file.tracks) {
        estimate += 12 + track.events.size() * 4 + track.payload.size();
    }
    std::vector<uint8_t> out;
    out.reserve(estimate);
    AppendId(out, "MThd");
    AppendBe32(out, 6);
    AppendBe16(out, file.format);
    AppendBe16(out, static_cast<uint16_t>(file.tracks.size()));
    AppendBe16(out, file.division);

    for (std::size_t i = 0; i < file.tracks.size(); ++i) {
        AppendId(out, "MTrk");
        const std::size_t sizeAt = out.size();
        AppendBe32(out, 0);
        TrackEncoder(file.tracks[i], i, options, out).Encode();
        const std::size_t size = out.size() - sizeAt - 4;
        if (size > std::numeric_limits<uint32_t>::max()) {
            Fail("track " + std::to_string(i + 1) + " is larger than 4 GiB");
        }
        for (int b = 0; b < 4; ++b) {
            out[sizeAt + static_cast<std::size_t>(b)] = static_cast<uint8_t>(size >> (8 * (3 - b)));
        }
    }
    return out;
}

void WriteFile(const std::filesystem::path& path, const MidiFile& file,
               const WriteOptions& options) {
    const std::vector<uint8_t> bytes = Write(file, options);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw Error("Cannot write MIDI file \"" + path.string() + "\"");
    }
}

} // namespace ostinel::smf
