#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "tools/smf/SmfTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ostinel::smf {
namespace {

constexpr uint32_t kNotes = 100000;

// A tempo track with a change every 1000 notes and a note track with 100,000 overlapping notes
// over all 16 channels, a controller and a marker now and then.
MidiFile LargeFile() {
    MidiFile file;
    file.division = 960;
    file.tracks.resize(2);
    Track& tempo = file.tracks[0];
    Track& notes = file.tracks[1];
    notes.events.reserve(2 * kNotes + kNotes / 50);
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t bound) {
        seed = seed * 134775813u + 1u;
        return static_cast<uint32_t>((uint64_t{seed} * bound) >> 32);
    };
    for (uint32_t i = 0; i < kNotes; ++i) {
        const uint32_t tick = i * 60;
        if (i % 1000 == 0) {
            const uint32_t micros = 400000 + next(200000);
            tempo.AddMeta(tick, kMetaTempo,
                          test::Bytes{static_cast<uint8_t>(micros >> 16),
                                      static_cast<uint8_t>(micros >> 8),
                                      static_cast<uint8_t>(micros)});
        }
        if (i % 100 == 0) {
            notes.AddMeta(tick, 0x06, test::Bytes{'M'});
            notes.AddChannel(tick, static_cast<uint8_t>(0xB0 | next(16)), 7, next(128));
        }
        const auto channel = static_cast<uint8_t>(next(16));
        const auto note = static_cast<uint8_t>(next(128));
        notes.AddChannel(tick, static_cast<uint8_t>(0x90 | channel), note, 1 + next(127));
        notes.AddChannel(tick + 30 + next(200), static_cast<uint8_t>(0x80 | channel), note, 0);
    }
    return file;
}

void ExpectSameEvents(const Track& actual, const Track& expected) {
    // The writer orders by tick, and adds one end-of-track.
    std::vector<Event> sorted = expected.events;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Event& a, const Event& b) { return a.tick < b.tick; });
    ASSERT_EQ(actual.events.size(), sorted.size() + 1);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const Event& a = actual.events[i];
        const Event& e = sorted[i];
        ASSERT_TRUE(a.tick == e.tick && a.status == e.status && a.metaType == e.metaType &&
                    a.data1 == e.data1 && a.data2 == e.data2)
            << "event " << i;
        ASSERT_TRUE(std::ranges::equal(actual.Data(a), expected.Data(e))) << "event " << i;
    }
    EXPECT_TRUE(actual.events.back().IsEndOfTrack());
}

TEST(LargeFile, HundredThousandNotesWriteAndReadBack) {
    const MidiFile file = LargeFile();
    const std::vector<uint8_t> bytes = Write(file);
    const MidiFile read = Read(bytes);
    ASSERT_EQ(read.tracks.size(), 2u);
    ExpectSameEvents(read.tracks[0], file.tracks[0]);
    ExpectSameEvents(read.tracks[1], file.tracks[1]);
    const auto noteOns =
        std::ranges::count_if(read.tracks[1].events, [](const Event& e) { return e.IsNoteOn(); });
    EXPECT_EQ(noteOns, kNotes);
    EXPECT_EQ(Write(read), bytes);
}

} // namespace
} // namespace ostinel::smf
