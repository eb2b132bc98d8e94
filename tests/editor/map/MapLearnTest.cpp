// Played and learned notes through the module, as the host delivers them (MIDI in a block,
// then effEditIdle): the held notes' highlight, learning into a grid cell, and what happens to
// a pending learn and to the editor when the host loads another state while it is open.
#include "editor/map/MapEditorFixture.h"

namespace ostinel::test {
namespace {

constexpr int kNoteCol = 2; // target 1's Note

bool Filled(const gui::Image& shot, const gui::Rect& r, gui::Color c) {
    return shot.GetPixel(r.left + 1, r.top + 1) == c &&
           shot.GetPixel(r.right - 2, r.bottom - 2) == c;
}

class MapLearnTest : public MapEditorTest {
protected:
    // Learn on the Note cell of `target` in `row` from the cell's menu.
    void LearnInto(int col, int row) {
        RightPress(col, row);
        Choose({"Learn"});
    }
    // A state from another instance: channel `selected` shown, its range from..to.
    static std::vector<std::uint8_t> StateWith(int selected, int from, int to) {
        EditorSession other;
        other.Map().SetSelectedChannel(selected);
        other.Channel(selected).SetRangeFrom(static_cast<float>(from));
        other.Channel(selected).SetRangeTo(static_cast<float>(to));
        other.Channel(selected).SetActive(true);
        return other.instance->GetChunk(true);
    }
};

TEST_F(MapLearnTest, HeldNotesAreHighlightedUntilTheIdleAfterTheirNoteOff) {
    const gui::Rect label = CellRootRect(0, RowOf(126));
    session->Play({{0x90, 126, 100, 0}, {0x90, 126, 90, 0}});
    EXPECT_EQ(Form().HighlightedNotes().Count(), 0u) << "nothing before the host's idle call";
    Idle();
    ASSERT_EQ(Form().HighlightedNotes().Count(), 1u) << "one entry for a note held twice";
    Idle();
    EXPECT_TRUE(Filled(Window().Screen(), label, Form().HighlightColor()));
    EXPECT_EQ(Form().HighlightColor(), gui::ActiveSkin().NoteHighlight);

    session->Play({{0x80, 126, 0, 0}});
    Idle();
    EXPECT_EQ(Form().HighlightedNotes().Count(), 0u);
    Idle();
    EXPECT_FALSE(Filled(Window().Screen(), label, Form().HighlightColor()));

    // Notes of other channels and note-offs of notes never held leave the list alone.
    session->Play({{0x91, 126, 100, 0}, {0x80, 100, 0, 0}});
    Idle();
    EXPECT_EQ(Form().HighlightedNotes().Count(), 0u);
    // A channel change empties the list.
    session->Play({{0x90, 120, 100, 0}});
    Idle();
    ASSERT_EQ(Form().HighlightedNotes().Count(), 1u);
    Click(Form().btnChannel(2));
    EXPECT_EQ(Form().HighlightedNotes().Count(), 0u);
}

TEST_F(MapLearnTest, ALearnedNoteGoesIntoTheCellAndEndsTheLearn) {
    const int row = RowOf(125);
    LearnInto(kNoteCol + 5, row); // target 2
    EXPECT_EQ(Module().LearnState(), kLearnNote);
    EXPECT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::Grid);
    Idle();
    EXPECT_TRUE(Filled(Window().Screen(), CellRootRect(kNoteCol + 5, row),
                       Form().inputRangeFrom().HighlightColor()));

    const int changes = Automations();
    session->Play({{0x90, 50, 100, 0}});
    Idle();
    EXPECT_EQ(Target(125, 1).Note(), 50.0f);
    EXPECT_EQ(Automations(), changes + 1);
    EXPECT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::None);
    EXPECT_EQ(Module().LearnState(), kLearnNone);
    Idle();
    EXPECT_FALSE(Filled(Window().Screen(), CellRootRect(kNoteCol + 5, row),
                        Form().inputRangeFrom().HighlightColor()));
    EXPECT_TRUE(gui::ActiveSkin().Kind == gui::TSkinKind::Carbon);
}

TEST_F(MapLearnTest, ANoteOnAnotherChannelEndsTheLearnItDoesNotFill) {
    const int row = RowOf(125);
    LearnInto(kNoteCol, row);
    Idle();
    ASSERT_TRUE(Filled(Window().Screen(), CellRootRect(kNoteCol, row),
                       Form().inputRangeFrom().HighlightColor()));
    session->Play({{0x93, 50, 100, 0}}); // channel 4: consumed, nothing captured
    Idle();
    EXPECT_EQ(Target(125, 0).Note(), 125.0f);
    EXPECT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::None);
    Idle();
    EXPECT_FALSE(Filled(Window().Screen(), CellRootRect(kNoteCol, row),
                        Form().inputRangeFrom().HighlightColor()))
        << "the cell still shows a learn that is over";
}

TEST_F(MapLearnTest, ANoteStruckAgainBeforeTheIdleStaysHighlighted) {
    session->Play({{0x90, 126, 100, 0}, {0x80, 126, 0, 0}, {0x90, 126, 100, 0}});
    Idle();
    EXPECT_TRUE(Form().HighlightedNotes().IsHeld(126));
    Idle();
    EXPECT_TRUE(Filled(Window().Screen(), CellRootRect(0, RowOf(126)), Form().HighlightColor()));
}

TEST_F(MapLearnTest, EveryUserActionEndsAPendingLearn) {
    struct Reason {
        const char* name;
        std::function<void()> act;
    };
    const Reason reasons[] = {
        {"press on the grid", [&] { Click(CellCentre(4, 4)); }},
        {"press on a range input", [&] { Click(Centre(Form().inputRangeTo().RootRect())); }},
        {"scroll", [&] { Wheel(CellCentre(0, 4), -1); }},
        {"channel change", [&] { Click(Form().btnChannel(1)); }},
        {"switch", [&] { Click(Form().switchActive()); }},
        {"wheel on another cell", [&] { Wheel(CellCentre(3, 3), 1); }},
    };
    for (const Reason& r : reasons) {
        Channel().SetActive(true);
        Form().RefreshChannelButtons();
        Form().RefreshHeader();
        LearnInto(kNoteCol, 2);
        ASSERT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::Grid) << r.name;
        r.act();
        EXPECT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::None) << r.name;
        EXPECT_EQ(Module().LearnState(), kLearnNone) << r.name;
    }
}

TEST_F(MapLearnTest, AStateLoadedByTheHostIsShownAndTakesNoStaleLearn) {
    LearnInto(kNoteCol, RowOf(126));
    ASSERT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::Grid);
    // The host loads a state that shows channel 1 with a narrower range; the store publishes
    // its other map object.
    const TOstinel* before = &Map();
    const std::vector<std::uint8_t> state = StateWith(0, 100, 126);
    ASSERT_GT(session->instance->SetChunk(state, true), 0);
    EXPECT_NE(&Map(), before);
    // The note arrives before the idle call that shows the new state.
    session->Play({{0x90, 33, 100, 0}});
    Idle();
    EXPECT_EQ(Target(126, 0).Note(), 126.0f) << "the loaded map keeps its note";
    EXPECT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::None);
    EXPECT_EQ(Form().inputRangeFrom().Value(), 100.0f);
    EXPECT_EQ(Grid().RowCount(), 28);
    EXPECT_EQ(session->instance->GetChunk(true), state) << "nothing written after the load";

    // Another channel shown by a loaded state: header and grid follow at the next idle.
    ASSERT_GT(session->instance->SetChunk(StateWith(2, 10, 20), true), 0);
    Idle();
    EXPECT_EQ(Form().lblChannel().Caption(), "Channel 3");
    EXPECT_TRUE(Form().btnChannel(3).Down());
    EXPECT_EQ(Form().inputRangeTo().Value(), 20.0f);
    EXPECT_EQ(Grid().RowCount(), 12);
    // Loading twice before an idle call (the store's map objects swap back) is seen too.
    ASSERT_GT(session->instance->SetChunk(StateWith(4, 30, 40), true), 0);
    ASSERT_GT(session->instance->SetChunk(StateWith(2, 50, 60), true), 0);
    Idle();
    EXPECT_EQ(Form().inputRangeFrom().Value(), 50.0f);
    EXPECT_EQ(Grid().RowCount(), 12);
}

TEST_F(MapLearnTest, ARangeLearnOnAnInactiveChannelCapturesNothing) {
    Form().StartInputLearn(Form().inputRangeFrom());
    Click(Form().switchActive()); // ends the learn as well
    EXPECT_EQ(Module().LearnState(), kLearnNone);
    session->Play({{0x90, 70, 100, 0}});
    Idle();
    EXPECT_EQ(Channel().RangeFrom(), 0.0f);
}

} // namespace
} // namespace ostinel::test
