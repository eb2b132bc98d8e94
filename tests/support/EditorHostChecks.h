#pragma once
// What the host tests with real input expect of the chunk after their session: the channel
// chosen and switched on, one cell dragged up by whole steps, the host told once at the
// release, and nothing else changed. Shared by the X11 and the Win32 host.
#include "support/FakeHost.h"
#include "support/PluginInstance.h"
#include "support/StateBuilder.h"

#include <gtest/gtest.h>

#include <memory>

namespace ostinel::test {

struct DraggedCell {
    int channel = 0;           // 0-based, selected and switched on
    int note = 0;              // the row whose target 1 Channel cell was dragged
    float before = 0;          // its value before the drag
    int moves = 0;             // move events sent while the button was held
    int automationsBefore = 0; // audioMasterAutomate requests before the drag
};

inline void ExpectOnlyTheDraggedCellChanged(Instance& plugin, const FakeHost& host,
                                            const DraggedCell& cell) {
    const std::unique_ptr<TOstinel> got = MapOfChunk(plugin.GetChunk(true));
    const float after = got->GetItem(cell.channel).Notes[cell.note].Targets[0].Channel();
    const float steps = (after - cell.before) / 0.25f;
    EXPECT_EQ(steps, static_cast<float>(static_cast<int>(steps))) << after;
    EXPECT_GE(steps, 1.0f) << after;
    EXPECT_LE(steps, static_cast<float>(cell.moves)) << after;
    // cell.moves unless the window system merged moves.
    ::testing::Test::RecordProperty("DragSteps", static_cast<int>(steps));
    EXPECT_EQ(host.CountRequests(vst::audioMasterAutomate) - cell.automationsBefore, 1)
        << "the host hears of the drag once, at the release";

    auto expected = DefaultMap();
    expected->SetSelectedChannel(cell.channel);
    (*expected)[cell.channel].SetActive(true);
    (*expected)[cell.channel].Notes[cell.note].Targets[0].SetChannel(after);
    EXPECT_TRUE(got->Equals(*expected));
    EXPECT_EQ(plugin.GetChunk(true), MakeChunk(*expected))
        << "the chunk is the expected map's, byte for byte";
}

} // namespace ostinel::test
