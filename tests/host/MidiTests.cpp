// MIDI in and out through the ABI: mapping of the default map, pass-through, the output queue,
// the processing entries and the transport flush.
#include "support/FakeHost.h"
#include "support/PluginInstance.h"
#include "support/StateBuilder.h"

#include <gtest/gtest.h>

namespace ostinel::test {
namespace {

using namespace vst;

class Midi : public ::testing::Test {
protected:
    FakeHost host;
    Instance plugin;

    std::vector<MidiOut> Play(EventList& events, std::int32_t frames = 64) {
        host.Clear();
        plugin.Block(events, frames);
        return host.events;
    }
    std::vector<MidiOut> Play(std::initializer_list<MidiOut> in) {
        EventList events;
        for (const MidiOut& e : in)
            events.Add(e.status, e.data1, e.data2, e.deltaFrames);
        return Play(events);
    }
    void Load(const TOstinel& map) { ASSERT_GT(plugin.SetChunk(MakeChunk(map), true), 0); }
};

TEST_F(Midi, DefaultMapPlaysChannelOneUnchangedAndReleasesWithTheStoredVelocity) {
    EXPECT_EQ(Play({{0x90, 60, 100, 5}}), (std::vector<MidiOut>{{0x90, 60, 100, 5}}));
    EXPECT_EQ(Play({{0x80, 60, 33, 7}}), (std::vector<MidiOut>{{0x80, 60, 100, 7}}));
    // Nothing left sounding: the same note-off now passes through.
    EXPECT_EQ(Play({{0x80, 60, 33, 0}}), (std::vector<MidiOut>{{0x80, 60, 33, 0}}));
}

TEST_F(Midi, EveryNoteOfChannelOneComesBackWithItsNoteOff) {
    EventList ons, offs;
    for (int n = 0; n < 128; ++n) {
        ons.Add(0x90, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(1 + n % 127), n);
        offs.Add(0x80, static_cast<std::uint8_t>(n), 0, n);
    }
    const auto out = Play(ons, 256);
    ASSERT_EQ(out.size(), 128u);
    for (int n = 0; n < 128; ++n)
        EXPECT_EQ(out[static_cast<std::size_t>(n)],
                  (MidiOut{0x90, static_cast<std::uint8_t>(n),
                           static_cast<std::uint8_t>(1 + n % 127), n}));
    const auto released = Play(offs, 256);
    ASSERT_EQ(released.size(), 128u);
    for (int n = 0; n < 128; ++n)
        EXPECT_EQ(released[static_cast<std::size_t>(n)],
                  (MidiOut{0x80, static_cast<std::uint8_t>(n),
                           static_cast<std::uint8_t>(1 + n % 127), n}));
}

TEST_F(Midi, OtherChannelsPassThrough) {
    for (std::uint8_t ch = 1; ch < 16; ++ch) {
        const auto on = static_cast<std::uint8_t>(0x90 | ch);
        const auto off = static_cast<std::uint8_t>(0x80 | ch);
        EXPECT_EQ(Play({{on, 61, 90, 3}}), (std::vector<MidiOut>{{on, 61, 90, 3}}));
        EXPECT_EQ(Play({{off, 61, 12, 4}}), (std::vector<MidiOut>{{off, 61, 12, 4}}));
    }
}

TEST_F(Midi, ChannelMessagesPassAndProgramAndSystemMessagesAreDropped) {
    struct Case {
        MidiOut in;
        std::vector<MidiOut> out;
    };
    const Case cases[] = {
        {{0xB3, 74, 99, 1}, {{0xB3, 74, 99, 1}}},
        {{0xD5, 66, 77, 2}, {{0xD5, 66, 0, 2}}}, // the second byte is always 0
        {{0xE0, 0x12, 0x40, 3}, {{0xE0, 0x12, 0x40, 3}}},
        {{0xAF, 60, 20, 4}, {{0xAF, 60, 20, 4}}},
        {{0xC0, 5, 0, 0}, {}},
        {{0xF8, 0, 0, 0}, {}},
        {{0xF0, 1, 2, 0}, {}},
        {{0x90, 0xBC, 0xE4, 9}, {{0x90, 0x3C, 0x64, 9}}}, // data bytes masked to 7 bits
        {{0x90, 61, 0, 6}, {{0x80, 61, 0, 6}}},           // velocity 0 is a note-off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.in.status));
        EXPECT_EQ(Play({c.in}), c.out);
    }
}

TEST_F(Midi, SysExIsSkippedAndLaterEventsStillMap) {
    EventList events;
    events.Add(0x90, 60, 100, 1).AddSysEx(2).Add(0x90, 62, 101, 3);
    EXPECT_EQ(Play(events), (std::vector<MidiOut>{{0x90, 60, 100, 1}, {0x90, 62, 101, 3}}));
}

TEST_F(Midi, NullEventListAnswersOneAndDoesNothing) {
    host.Clear();
    EXPECT_EQ(plugin.Dispatch(effProcessEvents, 0, 0, nullptr), 1);
    plugin.Process();
    EXPECT_TRUE(host.events.empty());
    EXPECT_TRUE(host.eventsPerFlush.empty());
}

TEST_F(Midi, QueueDeliversTheFirst1023EventsOfABlockInOrder) {
    EventList events;
    for (int i = 0; i < 1500; ++i)
        events.Add(0xB0, static_cast<std::uint8_t>(i % 128), static_cast<std::uint8_t>(i / 128), i);
    const auto out = Play(events);
    ASSERT_EQ(out.size(), 1023u);
    ASSERT_EQ(host.eventsPerFlush, std::vector<int>{1023});
    for (int i = 0; i < 1023; ++i)
        EXPECT_EQ(out[static_cast<std::size_t>(i)].deltaFrames, i);
    // The next block starts empty.
    EXPECT_EQ(Play({{0xB0, 1, 2, 0}}), (std::vector<MidiOut>{{0xB0, 1, 2, 0}}));
}

TEST_F(Midi, EmptyBlockSendsNoRequest) {
    host.Clear();
    plugin.Process();
    EXPECT_TRUE(host.eventsPerFlush.empty());
}

TEST_F(Midi, OutputIsSilentAndTimeInfoIsAskedWithFilterTwo) {
    host.Clear();
    plugin.Process(100);
    for (std::size_t channel = 0; channel < 2; ++channel)
        for (float sample : plugin.Output(channel))
            EXPECT_EQ(sample, 0.0f);
    EXPECT_EQ(host.timeInfoFilters, std::vector<VstInt32>{2});
}

TEST_F(Midi, ZeroFramesKeepTheQueueForTheNextCall) {
    EventList events;
    events.Add(0x90, 60, 100);
    plugin.SendEvents(events);
    host.Clear();
    plugin.Process(0);
    EXPECT_TRUE(host.events.empty());
    plugin.Process(32);
    EXPECT_EQ(host.events.size(), 1u);
}

TEST_F(Midi, AccumulatingProcessLeavesOutputsAndFlushes) {
    EventList events;
    events.Add(0x90, 60, 100);
    plugin.SendEvents(events);
    host.Clear();
    std::vector<float> left(64, 0.25f), right(64, -0.5f);
    float* out[2] = {left.data(), right.data()};
    plugin.Effect()->process(plugin.Effect(), nullptr, out, 64);
    EXPECT_EQ(host.events.size(), 1u);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(left[static_cast<std::size_t>(i)], 0.25f);
        EXPECT_EQ(right[static_cast<std::size_t>(i)], -0.5f);
    }
}

TEST(Processing, CallsBeforeOpenDoNothingUntilOpenInstallsTheEntries) {
    FakeHost host;
    Instance plugin(false);
    AEffectProcessProc saved = plugin.Effect()->processReplacing;
    EventList events;
    events.Add(0x90, 60, 100);
    plugin.SendEvents(events);
    std::vector<float> left(16, 1.0f), right(16, 1.0f);
    float* out[2] = {left.data(), right.data()};
    saved(plugin.Effect(), nullptr, out, 16);
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(left[0], 1.0f);
    plugin.Dispatch(effOpen);
    saved(plugin.Effect(), nullptr, out, 16); // the pointer saved before effOpen now works
    EXPECT_EQ(host.events.size(), 1u);
    EXPECT_EQ(left[0], 0.0f);
}

TEST_F(Midi, NullTimeInfoSkipsTheTransportCheck) {
    host.provideTimeInfo = false;
    EXPECT_EQ(Play({{0x90, 60, 100, 0}}).size(), 1u);
    host.provideTimeInfo = true;
}

// Transport: each step is a block at a position; the last block tells whether notes sounding
// before it were released.
struct TransportCase {
    const char* name;
    std::vector<std::pair<double, bool>> blocks;
    bool releasesAtLast;
};

class Transport : public Midi, public ::testing::WithParamInterface<TransportCase> {};

TEST_P(Transport, ReleasesOnlyWhenThePositionMovesBack) {
    // Notes start in the first block; the blocks after it decide whether they are released.
    const TransportCase& c = GetParam();
    host.SetTransport(c.blocks[0].first, c.blocks[0].second);
    EXPECT_EQ(Play({{0x90, 60, 100, 0}, {0x91, 61, 90, 0}}).size(), 2u);
    for (std::size_t i = 1; i < c.blocks.size(); ++i) {
        host.SetTransport(c.blocks[i].first, c.blocks[i].second);
        host.Clear();
        plugin.Process();
        if (i + 1 < c.blocks.size()) {
            EXPECT_TRUE(host.events.empty()) << "block " << i;
        }
    }
    if (c.releasesAtLast) {
        // Channel 1's mapped note is released at offset 0; channel 2 was never recorded.
        EXPECT_EQ(host.events, (std::vector<MidiOut>{{0x80, 60, 100, 0}}));
        EXPECT_EQ(Play({{0x80, 60, 0, 0}}), (std::vector<MidiOut>{{0x80, 60, 0, 0}}));
    } else {
        EXPECT_TRUE(host.events.empty());
        EXPECT_EQ(Play({{0x80, 60, 0, 0}}), (std::vector<MidiOut>{{0x80, 60, 100, 0}}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Transport,
    ::testing::Values(
        TransportCase{"loop", {{0, true}, {512, true}, {1024, true}, {0, true}}, true},
        TransportCase{"stop", {{10000, true}, {10000, false}, {0, false}}, false},
        TransportCase{"stopped_back", {{0, false}, {5000, false}, {2000, false}}, true},
        TransportCase{"start", {{8000, false}, {8000, true}}, false},
        TransportCase{"forward", {{0, true}, {512, true}, {1024, true}}, false}),
    [](const auto& suite) { return std::string(suite.param.name); });

TEST_F(Midi, NotesOfTheJumpBlockAreReleasedByTheSameFlush) {
    host.SetTransport(4096, true);
    plugin.Process();
    host.SetTransport(0, true);
    EventList events;
    events.Add(0x90, 60, 100, 3);
    EXPECT_EQ(Play(events), (std::vector<MidiOut>{{0x90, 60, 100, 3}, {0x80, 60, 100, 0}}));
}

TEST_F(Midi, RangeAndActiveFlagComeFromTheLoadedMap) {
    auto map = DefaultMap();
    (*map)[0].SetRangeFrom(36);
    (*map)[0].SetRangeTo(48);
    (*map)[3].SetActive(true);
    (*map)[3].Notes[50].Targets[0].SetNote(52);
    (*map)[3].Notes[50].Targets[0].SetChannel(10);
    Load(*map);
    EXPECT_TRUE(Play({{0x90, 35, 100, 0}}).empty());
    EXPECT_TRUE(Play({{0x90, 49, 100, 0}}).empty());
    EXPECT_EQ(Play({{0x80, 35, 64, 0}}), (std::vector<MidiOut>{{0x80, 35, 64, 0}}));
    EXPECT_EQ(Play({{0x90, 36, 100, 0}}).size(), 1u);
    EXPECT_EQ(Play({{0x90, 48, 100, 0}}).size(), 1u);
    EXPECT_EQ(Play({{0x93, 50, 80, 2}}), (std::vector<MidiOut>{{0x99, 52, 80, 2}}));
    EXPECT_EQ(Play({{0x83, 50, 0, 1}}), (std::vector<MidiOut>{{0x89, 52, 80, 1}}));
}

TEST_F(Midi, TargetsPlayInOrderWithTheirVelocityAndAllAreReleased) {
    auto map = DefaultMap();
    TChannelOstinItem& row = (*map)[0].Notes[60];
    row.Targets[0].SetVelocityScale(-50);
    row.Targets[1].SetNote(64);
    row.Targets[1].SetVelocityScale(50);
    row.Targets[2].SetNote(64); // the same output note twice
    row.Targets[2].SetChannel(2);
    row.Targets[2].SetVelocityScale(-100);
    Load(*map);
    EXPECT_EQ(Play({{0x90, 60, 100, 0}}),
              (std::vector<MidiOut>{{0x90, 60, 50, 0}, {0x90, 64, 114, 0}, {0x91, 64, 0, 0}}));
    // Two note-ons of the same input note: the first note-off releases both sets.
    EXPECT_EQ(Play({{0x90, 60, 100, 0}}).size(), 3u);
    EXPECT_EQ(Play({{0x80, 60, 0, 0}}), (std::vector<MidiOut>{{0x81, 64, 0, 0},
                                                              {0x80, 64, 114, 0},
                                                              {0x80, 60, 50, 0},
                                                              {0x81, 64, 0, 0},
                                                              {0x80, 64, 114, 0},
                                                              {0x80, 60, 50, 0}}));
    EXPECT_EQ(Play({{0x80, 60, 9, 0}}), (std::vector<MidiOut>{{0x80, 60, 9, 0}}));
}

TEST_F(Midi, ProbabilityZeroNeverPlays) {
    auto map = DefaultMap();
    (*map)[0].Notes[60].Targets[0].SetProbability(0);
    Load(*map);
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(Play({{0x90, 60, 100, 0}}).empty());
    EXPECT_EQ(Play({{0x80, 60, 5, 0}}), (std::vector<MidiOut>{{0x80, 60, 5, 0}}));
}

TEST_F(Midi, ProbabilityFiftyPlaysAboutHalf) {
    auto map = DefaultMap();
    (*map)[0].Notes[60].Targets[0].SetProbability(50);
    Load(*map);
    int played = 0;
    for (int i = 0; i < 400; ++i) {
        played += static_cast<int>(Play({{0x90, 60, 100, 0}}).size());
        Play({{0x80, 60, 0, 0}});
    }
    EXPECT_GT(played, 140);
    EXPECT_LT(played, 260);
}

} // namespace
} // namespace ostinel::test
