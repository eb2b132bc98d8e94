// Publication of bulk map rewrites: the audio side sees the old map or the new one.
#include "engine/NoteMapStore.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace ostinel {
namespace {

TEST(NoteMapStore, BulkUpdatesArePublishedWhole) {
    TNoteMapStore store;
    store.Edit()[0].Notes[60].Targets[0].SetNote(10);
    const TOstinel* before = store.AcquireForAudio();
    store.ReleaseFromAudio();
    {
        TBulkMapUpdate update(store);
        // The spare starts as a copy of the live map and is invisible to the audio side.
        EXPECT_EQ(store.Edit()[0].Notes[60].Targets[0].Note(), 10);
        store.Edit()[0].Notes[60].Targets[0].SetNote(20);
        const TOstinel* audio = store.AcquireForAudio();
        EXPECT_EQ(audio, before);
        EXPECT_EQ((*audio)[0].Notes[60].Targets[0].Note(), 10);
        store.ReleaseFromAudio();
    }
    const TOstinel* after = store.AcquireForAudio();
    EXPECT_NE(after, before);
    EXPECT_EQ((*after)[0].Notes[60].Targets[0].Note(), 20);
    store.ReleaseFromAudio();
    EXPECT_EQ(store.Read()[0].Notes[60].Targets[0].Note(), 20);
}

TEST(NoteMapStore, NestedUpdatesPublishOnceAtTheOutermostEnd) {
    TNoteMapStore store;
    const TOstinel* first = &store.Read();
    store.BeginBulkUpdate();
    store.BeginBulkUpdate();
    store.Edit().SetSelectedChannel(3);
    store.EndBulkUpdate();
    EXPECT_TRUE(store.InBulkUpdate());
    EXPECT_EQ(store.AcquireForAudio(), first);
    store.ReleaseFromAudio();
    store.EndBulkUpdate();
    EXPECT_FALSE(store.InBulkUpdate());
    EXPECT_EQ(store.Read().SelectedChannel(), 3);
}

TEST(NoteMapStore, AFailedRewritePublishesWhatWasWritten) {
    TNoteMapStore store;
    try {
        TBulkMapUpdate update(store);
        store.Edit().Reset();
        store.Edit()[4].SetActive(true);
        throw std::runtime_error("read error half-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(store.Read()[4].Active());
    EXPECT_FALSE(store.InBulkUpdate());
}

} // namespace
} // namespace ostinel
