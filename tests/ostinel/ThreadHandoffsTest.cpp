#include "plugin/ThreadHandoffs.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace ostinel {
namespace {

TEST(GuiToAudioEvents, TakesAllOrNothingAndHandsThemOverInOrder) {
    TGuiToAudioEvents fifo;
    std::vector<TGuiEvent> batch(500, TGuiEvent{0x90, 60, 100, 0});
    batch.back() = {0x80, 60, 0, 11025};
    ASSERT_TRUE(fifo.Push(batch.data(), static_cast<int>(batch.size())));
    EXPECT_FALSE(fifo.Push(batch.data(), 13)) << "12 free places";
    EXPECT_FALSE(fifo.Push(batch.data(), 0));

    std::vector<TGuiEvent> drained;
    fifo.Drain([&](const TGuiEvent& e) { drained.push_back(e); });
    ASSERT_EQ(drained.size(), 500u);
    EXPECT_EQ(drained.back().status, 0x80);
    EXPECT_EQ(drained.back().delaySamples, 11025);
    EXPECT_TRUE(fifo.Push(batch.data(), 12 + 500)) << "room again after the drain";
}

TEST(AudioToGuiPlayedNotes, KeepsNoteAndDirectionAndDropsWhenFull) {
    TAudioToGuiPlayedNotes fifo;
    EXPECT_TRUE(fifo.Push(127, true));
    EXPECT_TRUE(fifo.Push(0, false));
    for (int i = 2; i < 1024; ++i)
        ASSERT_TRUE(fifo.Push(i % 128, true));
    EXPECT_FALSE(fifo.Push(5, true));

    std::vector<std::pair<int, bool>> drained;
    fifo.Drain([&](int note, bool on) { drained.emplace_back(note, on); });
    ASSERT_EQ(drained.size(), 1024u);
    EXPECT_EQ(drained[0], std::make_pair(127, true));
    EXPECT_EQ(drained[1], std::make_pair(0, false));
}

TEST(AudioToGuiLearnedNote, TakeEmptiesTheSlotAndTheLatestWins) {
    TAudioToGuiLearnedNote learned;
    EXPECT_EQ(learned.Take(), TAudioToGuiLearnedNote::kNone);
    learned.Publish(40);
    learned.Publish(41);
    EXPECT_EQ(learned.Peek(), 41);
    EXPECT_EQ(learned.Take(), 41);
    EXPECT_EQ(learned.Take(), TAudioToGuiLearnedNote::kNone);
    learned.Publish(0);
    learned.Clear();
    EXPECT_EQ(learned.Peek(), TAudioToGuiLearnedNote::kNone);
}

TEST(AnyToGuiIdleRequest, IsTakenOncePerRequest) {
    TAnyToGuiIdleRequest request;
    EXPECT_FALSE(request.Take());
    request.Raise();
    request.Raise();
    EXPECT_TRUE(request.Pending());
    EXPECT_TRUE(request.Take());
    EXPECT_FALSE(request.Pending());
    EXPECT_FALSE(request.Take());
}

} // namespace
} // namespace ostinel
