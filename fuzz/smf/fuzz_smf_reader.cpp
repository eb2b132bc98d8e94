// Feeds arbitrary bytes to the MIDI file reader. Beyond "no crash", a file that reads must
// survive write -> read with the same events, writing must reach a fixed point, the pull reader
// must agree with Read(), and its tempo map must give finite, ordered times.
#include "common/Error.h"
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "midi/TempoMap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

using namespace ostinel::smf;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool SameEvent(const Track& a, const Event& x, const Track& b, const Event& y) {
    return x.tick == y.tick && x.status == y.status && x.metaType == y.metaType &&
           x.data1 == y.data1 && x.data2 == y.data2 && std::ranges::equal(a.Data(x), b.Data(y));
}

void CheckPullReaderAgrees(std::span<const uint8_t> bytes, const MidiFile& file) {
    const Reader reader(bytes);
    Check(reader.TrackCount() == file.tracks.size());
    for (std::size_t i = 0; i < reader.TrackCount(); ++i) {
        TrackReader trackReader = reader.Track(i);
        const Track& track = file.tracks[i];
        std::size_t n = 0;
        EventView view;
        while (trackReader.Next(view)) {
            Check(n < track.events.size());
            const Event& e = track.events[n++];
            Check(view.event.tick == e.tick && view.event.status == e.status &&
                  std::ranges::equal(view.data, track.Data(e)));
        }
        Check(n == track.events.size());
    }
}

void CheckRoundTrip(const MidiFile& file) {
    const std::vector<uint8_t> written = Write(file);
    const MidiFile again = Read(written);
    Check(again.format == file.format && again.division == file.division);
    Check(again.tracks.size() == file.tracks.size());
    for (std::size_t t = 0; t < file.tracks.size(); ++t) {
        const Track& before = file.tracks[t];
        const Track& after = again.tracks[t];
        // Read tracks are in tick order already; the writer keeps all but end-of-track events
        // and ends with exactly one.
        std::size_t j = 0;
        for (const Event& e : before.events) {
            if (e.IsEndOfTrack()) {
                continue;
            }
            Check(j < after.events.size() && SameEvent(before, e, after, after.events[j]));
            ++j;
        }
        Check(j + 1 == after.events.size() && after.events[j].IsEndOfTrack());
    }
    Check(Write(again) == written);
}

void CheckTempoMap(const MidiFile& file) {
    const TempoMap map(file);
    for (const Track& track : file.tracks) {
        double previous = 0.0;
        for (const Event& e : track.events) {
            const double seconds = map.TickToSeconds(e.tick);
            Check(std::isfinite(seconds) && seconds >= previous);
            previous = seconds;
            const double tick = map.SecondsToTick(seconds);
            Check(std::fabs(tick - e.tick) <= 1e-6 * std::max(1.0, static_cast<double>(e.tick)));
            Check(std::isfinite(map.TickToSample(e.tick, 44100.0)));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    MidiFile file;
    try {
        file = Read(bytes);
    } catch (const ostinel::Error&) {
        return 0;
    }
    CheckPullReaderAgrees(bytes, file);
    CheckRoundTrip(file);
    CheckTempoMap(file);
    return 0;
}
