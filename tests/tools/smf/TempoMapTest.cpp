#include "midi/TempoMap.h"
#include "common/Error.h"
#include "tools/smf/SmfTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace ostinel::smf {
namespace {

using test::Bytes;

Bytes TempoBytes(uint32_t micros) {
    return {static_cast<uint8_t>(micros >> 16), static_cast<uint8_t>(micros >> 8),
            static_cast<uint8_t>(micros)};
}

// 480 ticks per quarter: 120 bpm from the start, 240 bpm from tick 960, 60 bpm from 1920.
MidiFile ChangingTempoFile() {
    MidiFile file;
    file.division = 480;
    Track& tempo = file.tracks.emplace_back();
    tempo.AddMeta(0, kMetaTempo, TempoBytes(500000));
    tempo.AddMeta(960, kMetaTempo, TempoBytes(250000));
    tempo.AddMeta(1920, kMetaTempo, TempoBytes(1000000));
    file.tracks.emplace_back().AddChannel(0, 0x90, 60, 100);
    return file;
}

struct TimePoint {
    uint32_t tick;
    double seconds;
};

TEST(TempoMap, ConvertsBothWaysAcrossTempoChanges) {
    const TempoMap map(ChangingTempoFile());
    const std::vector<TimePoint> points{{0, 0.0},     {480, 0.5},  {960, 1.0},  {1200, 1.125},
                                        {1440, 1.25}, {1920, 1.5}, {2400, 2.5}, {4800, 7.5}};
    for (const TimePoint& p : points) {
        SCOPED_TRACE(p.tick);
        EXPECT_DOUBLE_EQ(map.TickToSeconds(p.tick), p.seconds);
        EXPECT_DOUBLE_EQ(map.SecondsToTick(p.seconds), p.tick);
        EXPECT_DOUBLE_EQ(map.TickToSample(p.tick, 44100.0), p.seconds * 44100.0);
        EXPECT_DOUBLE_EQ(map.SampleToTick(p.seconds * 48000.0, 48000.0), p.tick);
    }
    EXPECT_DOUBLE_EQ(map.SecondsToTick(1.1), 960 + 0.1 * 1920);
    EXPECT_EQ(map.MicrosecondsPerQuarterAt(959), 500000u);
    EXPECT_EQ(map.MicrosecondsPerQuarterAt(960), 250000u);
    EXPECT_EQ(map.MicrosecondsPerQuarterAt(100000), 1000000u);
}

TEST(TempoMap, Uses120BpmWithoutTempoEventsAndBeforeTheFirst) {
    MidiFile none;
    none.division = 96;
    none.tracks.emplace_back();
    EXPECT_DOUBLE_EQ(TempoMap(none).TickToSeconds(96 * 3), 1.5);

    MidiFile late = none;
    late.tracks[0].AddMeta(192, kMetaTempo, TempoBytes(1000000));
    const TempoMap map(late);
    EXPECT_DOUBLE_EQ(map.TickToSeconds(192), 1.0);
    EXPECT_DOUBLE_EQ(map.TickToSeconds(288), 2.0);
    ASSERT_EQ(map.Changes().size(), 2u);
    EXPECT_EQ(map.Changes()[0].microsecondsPerQuarter, kDefaultMicrosecondsPerQuarter);
}

TEST(TempoMap, TakesTempoEventsFromEveryTrackLaterOnesWinning) {
    MidiFile file;
    file.division = 100;
    file.tracks.emplace_back().AddMeta(100, kMetaTempo, TempoBytes(2000000));
    Track& second = file.tracks.emplace_back();
    second.AddMeta(100, kMetaTempo, TempoBytes(1000000)); // same tick, later track: wins
    second.AddMeta(200, kMetaTempo, TempoBytes(0));       // ignored
    second.AddMeta(200, kMetaTempo, Bytes{0x07, 0xA1});   // ignored: not 3 bytes
    const TempoMap map(file);
    EXPECT_DOUBLE_EQ(map.TickToSeconds(100), 0.5);
    EXPECT_DOUBLE_EQ(map.TickToSeconds(300), 2.5);
    EXPECT_EQ(map.Changes().size(), 2u);
}

TEST(TempoMap, SmpteDivisionIgnoresTempoEvents) {
    MidiFile file = ChangingTempoFile();
    file.division = 0xE728; // 25 frames per second, 40 ticks per frame: 1000 ticks a second
    const TempoMap map(file);
    EXPECT_DOUBLE_EQ(map.TickToSeconds(2500), 2.5);
    EXPECT_DOUBLE_EQ(map.SecondsToTick(2.5), 2500.0);
    EXPECT_DOUBLE_EQ(map.TickToSample(1000, 44100.0), 44100.0);

    file.division = 0xE350; // 29.97 drop frame, 80 ticks per frame
    EXPECT_DOUBLE_EQ(TempoMap(file).TickToSeconds(80 * 30000), 1001.0);
}

// Many short segments must not accumulate rounding errors.
TEST(TempoMap, StaysExactOverManyTempoChanges) {
    std::vector<TempoChange> changes;
    long double exact = 0.0L;
    uint32_t tick = 0;
    for (uint32_t i = 0; i < 20000; ++i) {
        const uint32_t micros = 300000 + (i * 7919) % 400000;
        changes.push_back({tick, micros});
        exact += 7.0L * micros / (1e6L * 960.0L);
        tick += 7;
    }
    const TempoMap map(960, changes);
    EXPECT_NEAR(map.TickToSeconds(tick), static_cast<double>(exact), 1e-9);
    EXPECT_NEAR(map.SecondsToTick(static_cast<double>(exact)), tick, 1e-6);
}

TEST(TempoMap, RejectsBadRatesTemposAndDivisionsAndClampsNegativeTime) {
    const TempoMap map(ChangingTempoFile());
    for (const double rate : {0.0, -44100.0, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()}) {
        EXPECT_THROW((void)map.TickToSample(0, rate), Error) << rate;
        EXPECT_THROW((void)map.SampleToTick(0, rate), Error) << rate;
    }
    EXPECT_EQ(map.SecondsToTick(-1.0), 0.0);
    EXPECT_EQ(map.SecondsToTick(std::numeric_limits<double>::quiet_NaN()), 0.0);

    const std::vector<TempoChange> tooSlow{{0, kMaxMicrosecondsPerQuarter + 1}};
    EXPECT_THROW(TempoMap(480, tooSlow), Error);
    EXPECT_THROW(TempoMap(0, {}), Error);
}

} // namespace
} // namespace ostinel::smf
