// Velocity shaping, the mapping of one note-on/note-off, and the sounding-note table.
#include "engine/NoteMapper.h"
#include "engine/Random.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace ostinel {
namespace {

struct Sent {
    bool on;
    int channel, note, velocity, delta;
    bool operator==(const Sent&) const = default;
};

class RecordingSink final : public IMidiSink {
public:
    void SendNoteOn(std::uint8_t c, std::uint8_t n, std::uint8_t v,
                    std::int32_t d) noexcept override {
        sent.push_back({true, c, n, v, d});
    }
    void SendNoteOff(std::uint8_t c, std::uint8_t n, std::uint8_t v,
                     std::int32_t d) noexcept override {
        sent.push_back({false, c, n, v, d});
    }
    std::vector<Sent> sent;
};

TEST(ComputeVelocity, WorkedValues) {
    struct Case {
        int v;
        float scale;
        int out;
    };
    const Case cases[] = {
        {100, -50, 50}, {101, -50, 51}, // 101 - round(50.5)
        {100, 50, 114},                 // 100 + round(13.5)
        {64, 100, 127}, {100, -100, 0},   {100, 0, 100}, {0, 100, 127},
        {127, -100, 0}, {100, 2.5f, 101}, // scale 2.5 rounds to 2: 100 + round(0.54)
    };
    for (const Case& c : cases) {
        TOstinToItem target;
        target.SetVelocityScale(c.scale);
        EXPECT_EQ(ComputeVelocity(c.v, target), c.out) << c.v << " " << c.scale;
    }
}

TEST(ComputeVelocity, RandomAddsZeroToTheAmountAndNeverPassesTheClamp) {
    RandomSeed(12345);
    TOstinToItem target;
    target.SetVelocityScale(0);
    target.SetRandom(50);
    std::vector<int> seen(128, 0);
    for (int i = 0; i < 5000; ++i) {
        const int v = ComputeVelocity(64, target);
        ASSERT_GE(v, 64);
        ASSERT_LE(v, 64 + 32); // 64 + round(63 * 0.5)
        ++seen[static_cast<std::size_t>(v)];
    }
    EXPECT_GT(seen[64], 0);
    EXPECT_GT(seen[96], 0);
    // The scale plus the random amount is capped at 200: 100 + 200 stays at 127.
    target.SetVelocityScale(100);
    target.SetRandom(200);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(ComputeVelocity(10, target), 127);
}

TEST(ComputeVelocity, DrawsOnlyWhenRandomIsAboveZero) {
    RandomSeed(777);
    TOstinToItem target;
    target.SetVelocityScale(-20);
    (void)ComputeVelocity(90, target);
    EXPECT_EQ(RandomState(), 777u);
    target.SetRandom(1);
    (void)ComputeVelocity(90, target);
    EXPECT_NE(RandomState(), 777u);
}

TEST(Random, IsTheDocumentedGenerator) {
    RandomSeed(0);
    EXPECT_EQ(Random(100), 0); // s = 1 -> 1 * 100 / 2^32 = 0
    EXPECT_EQ(RandomState(), 1u);
    RandomSeed(0xFFFFFFFFu);
    const std::uint32_t next = 0xFFFFFFFFu * 134775813u + 1u;
    EXPECT_EQ(Random(1000), static_cast<int>((std::uint64_t{next} * 1000) >> 32));
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
}

class Mapper : public ::testing::Test {
protected:
    std::unique_ptr<TOstinel> map = std::make_unique<TOstinel>();
    std::unique_ptr<TNoteMapper> mapper = std::make_unique<TNoteMapper>();
    RecordingSink out;
};

TEST_F(Mapper, TargetRoundingDecidesNoteAndChannel) {
    TChannelOstinItem& row = (*map)[0].Notes[60];
    row.Targets[0].SetNote(-0.5f);   // rounds to 0: plays note 0
    row.Targets[0].SetChannel(2.5f); // rounds to 2
    row.Targets[1].SetNote(-0.6f);   // rounds to -1: silent
    row.Targets[2].SetNote(70.5f);   // rounds to 70
    row.Targets[2].SetChannel(3.5f); // rounds to 4
    EXPECT_TRUE(mapper->NoteOn((*map)[0], 0, 60, 100, 9, out));
    EXPECT_EQ(out.sent, (std::vector<Sent>{{true, 1, 0, 100, 9}, {true, 3, 70, 100, 9}}));
}

TEST_F(Mapper, ProbabilityIsDrawnForEveryTargetWithANote) {
    TChannelOstinItem& row = (*map)[0].Notes[10];
    row.Targets[0].SetProbability(0);
    row.Targets[1].SetNote(11);
    RandomSeed(42);
    mapper->NoteOn((*map)[0], 0, 10, 90, 0, out);
    // Two targets with a note: two draws; the silent third target draws nothing.
    RandomSeed(42);
    (void)Random(100);
    (void)Random(100);
    const std::uint32_t expected = RandomState();
    RandomSeed(42);
    out.sent.clear();
    mapper->NoteOn((*map)[0], 0, 10, 90, 0, out);
    EXPECT_EQ(RandomState(), expected);
    EXPECT_EQ(out.sent, (std::vector<Sent>{{true, 0, 11, 90, 0}}));
}

TEST_F(Mapper, OutOfRangeNotesAreDropped) {
    (*map)[0].SetRangeFrom(36);
    (*map)[0].SetRangeTo(48);
    EXPECT_FALSE(mapper->NoteOn((*map)[0], 0, 35, 100, 0, out));
    EXPECT_TRUE(out.sent.empty());
    EXPECT_EQ(mapper->SoundingNotes().Count(), 0);
}

TEST_F(Mapper, NoteOffReleasesEveryEntryOfItsSourceNewestFirst) {
    TChannelOstinItem& row = (*map)[0].Notes[60];
    row.Targets[1].SetNote(64);
    mapper->NoteOn((*map)[0], 0, 60, 100, 0, out); // 60, 64
    mapper->NoteOn((*map)[0], 0, 61, 80, 0, out);  // 61
    mapper->NoteOn((*map)[0], 0, 60, 50, 0, out);  // 60, 64 again
    EXPECT_EQ(mapper->SoundingNotes().Count(), 5);
    out.sent.clear();
    mapper->NoteOff(0, 60, 7, 3, out);
    EXPECT_EQ(out.sent, (std::vector<Sent>{{false, 0, 64, 50, 3},
                                           {false, 0, 60, 50, 3},
                                           {false, 0, 64, 100, 3},
                                           {false, 0, 60, 100, 3}}));
    EXPECT_EQ(mapper->SoundingNotes().Count(), 1);
    out.sent.clear();
    mapper->NoteOff(0, 60, 7, 3, out); // nothing sounding: passes through
    EXPECT_EQ(out.sent, (std::vector<Sent>{{false, 0, 60, 7, 3}}));
}

TEST_F(Mapper, ReleaseAllGoesOldestFirstAndEmptiesTheTable) {
    for (int n = 0; n < 5; ++n)
        mapper->NoteOn((*map)[0], 0, n, 100, 0, out);
    out.sent.clear();
    mapper->ReleaseAll(out);
    ASSERT_EQ(out.sent.size(), 5u);
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ(out.sent[static_cast<std::size_t>(n)], (Sent{false, 0, n, 100, 0}));
    EXPECT_EQ(mapper->SoundingNotes().Count(), 0);
}

TEST_F(Mapper, AFullTableReleasesTheOldestBeforeRecording) {
    // Three targets per note-on; fill the table exactly, then one more note-on.
    for (int t = 1; t < 3; ++t)
        for (int n = 0; n < 128; ++n)
            (*map)[0].Notes[n].Targets[t].SetNote(static_cast<float>(n));
    const int capacity = TMidiNoteList::kCapacity;
    int started = 0;
    for (int i = 0; started + 3 <= capacity; ++i, started += 3)
        mapper->NoteOn((*map)[0], 0, i % 128, 1 + i % 100, 0, out);
    const int remaining = capacity - started;
    for (int k = 0; k < remaining; ++k) // top up with a one-target row
        mapper->NoteOn((*map)[1], 1, 0, 100, 0, out);
    ASSERT_EQ(mapper->SoundingNotes().Count(), capacity);
    out.sent.clear();
    mapper->NoteOn((*map)[0], 0, 127, 99, 4, out);
    // Each of the three new entries first evicts the oldest (note 0, velocity 1).
    ASSERT_EQ(out.sent.size(), 6u);
    EXPECT_EQ(out.sent[0], (Sent{false, 0, 0, 1, 4}));
    EXPECT_EQ(out.sent[1], (Sent{true, 0, 127, 99, 4}));
    EXPECT_EQ(mapper->SoundingNotes().Count(), capacity);
    // The evicted note's note-off later finds fewer entries but never a stale one.
    out.sent.clear();
    mapper->NoteOff(0, 0, 0, 0, out);
    for (const Sent& s : out.sent)
        EXPECT_FALSE(s.on);
}

TEST(MidiNoteList, RemovalKeepsBothOrders) {
    auto list = std::make_unique<TMidiNoteList>();
    for (int i = 0; i < 6; ++i)
        list->AddNote({i % 2, 60, 0, 60 + i, i});
    const int released = list->ReleaseSource(1, 60, [](const TMidiNoteItem&) {});
    EXPECT_EQ(released, 3);
    std::vector<int> left;
    list->ForEach([&](const TMidiNoteItem& item) { left.push_back(item.Velocity); });
    EXPECT_EQ(left, (std::vector<int>{0, 2, 4}));
    list->RemoveOldest();
    ASSERT_NE(list->Oldest(), nullptr);
    EXPECT_EQ(list->Oldest()->Velocity, 2);
    list->AddNote({1, 60, 0, 1, 9});
    left.clear();
    list->ForEach([&](const TMidiNoteItem& item) { left.push_back(item.Velocity); });
    EXPECT_EQ(left, (std::vector<int>{2, 4, 9}));
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->Oldest(), nullptr);
}

} // namespace
} // namespace ostinel
