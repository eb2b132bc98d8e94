// The channel header: the channel buttons, the Active switch and the two range inputs (drag,
// wheel, popup with Learn, Ctrl press) with what they do to the model, the host and the grid.
#include "editor/map/MapEditorFixture.h"

namespace ostinel::test {
namespace {

class MapHeaderTest : public MapEditorTest {
protected:
    // Opens a range input's popup (right click) and chooses a value in its decade group.
    void ChooseRange(gui::TQelNumericInput& input, int value) {
        Click(Centre(input.RootRect()), gui::MouseButton::Right);
        ASSERT_NE(MenuView(), nullptr);
        Choose({DecadeRangeText(value), std::to_string(value)});
    }
};

TEST_F(MapHeaderTest, ChannelButtonsChooseTheShownChannel) {
    EXPECT_EQ(Form().lblChannel().Caption(), "Channel 1");
    EXPECT_TRUE(Form().btnChannel(1).Down());
    EXPECT_TRUE(Form().btnChannel(1).Underline()) << "channel 1 is active";
    EXPECT_FALSE(Form().btnChannel(2).Underline());

    // Channel 5 is inactive and narrower: the switch follows and tells the host; the range
    // inputs stay quiet while the header is filled.
    Channel(4).SetRangeFrom(36);
    Channel(4).SetRangeTo(51);
    const int changes = Automations();
    Click(Form().btnChannel(5));
    EXPECT_EQ(Map().SelectedChannel(), 4);
    EXPECT_EQ(Form().lblChannel().Caption(), "Channel 5");
    EXPECT_TRUE(Form().btnChannel(5).Down());
    EXPECT_FALSE(Form().btnChannel(1).Down());
    EXPECT_FALSE(Form().switchActive().Value());
    EXPECT_EQ(Automations(), changes + 1);
    EXPECT_EQ(Form().inputRangeFrom().Value(), 36.0f);
    EXPECT_EQ(Form().inputRangeTo().Value(), 51.0f);
    EXPECT_EQ(Grid().RowCount(), 17);
    EXPECT_EQ(Channel(4).RangeFrom(), 36.0f) << "the refresh changed nothing";

    Click(Form().btnChannel(16));
    EXPECT_EQ(Form().lblChannel().Caption(), "Channel 16");
    // The choice is part of the state the host stores.
    const std::vector<std::uint8_t> chunk = session->instance->GetChunk(true);
    EditorSession other;
    ASSERT_GT(other.instance->SetChunk(chunk, true), 0);
    EXPECT_EQ(other.Map().SelectedChannel(), 15);
}

TEST_F(MapHeaderTest, SwitchingTheChannelInactiveDropsItsHighlights) {
    session->Play({{0x90, 120, 100, 0}, {0x90, 125, 100, 0}});
    Idle();
    ASSERT_EQ(Form().HighlightedNotes().Count(), 2u);
    Flush();
    const int changes = Automations();
    Click(Form().switchActive());
    EXPECT_FALSE(Channel(0).Active());
    EXPECT_EQ(Form().HighlightedNotes().Count(), 0u);
    EXPECT_FALSE(Form().btnChannel(1).Underline());
    EXPECT_EQ(Automations(), changes + 1);
    // Both label cells were asked to repaint.
    for (int note : {120, 125}) {
        const gui::Rect cell = CellRootRect(0, RowOf(note));
        bool found = false;
        for (const gui::Rect& d : Dirty())
            found = found || d.Intersect(cell) == cell;
        EXPECT_TRUE(found) << note;
    }
    Click(Form().switchActive());
    EXPECT_TRUE(Channel(0).Active());
    EXPECT_TRUE(Form().btnChannel(1).Underline());
}

TEST_F(MapHeaderTest, FromAboveToMeetsAtTo) {
    ChooseRange(Form().inputRangeTo(), 80);
    EXPECT_EQ(Channel().RangeTo(), 80.0f);
    ChooseRange(Form().inputRangeFrom(), 90);
    EXPECT_EQ(Form().inputRangeFrom().Value(), 80.0f);
    EXPECT_EQ(Channel().RangeFrom(), 80.0f);
    EXPECT_EQ(Channel().RangeTo(), 80.0f);
    EXPECT_EQ(Grid().RowCount(), 2);
}

TEST_F(MapHeaderTest, CtrlPressSetsZeroAndToFollowsFrom) {
    ChooseRange(Form().inputRangeFrom(), 30);
    Click(Centre(Form().inputRangeTo().RootRect()), gui::MouseButton::Left, {false, true, false});
    EXPECT_EQ(Channel().RangeTo(), 30.0f);
    EXPECT_EQ(Form().inputRangeTo().Value(), 30.0f);
    Click(Centre(Form().inputRangeFrom().RootRect()), gui::MouseButton::Left, {false, true, false});
    EXPECT_EQ(Channel().RangeFrom(), 0.0f);
    EXPECT_EQ(Grid().RowCount(), 32);
}

TEST_F(MapHeaderTest, ADraggedFromValueIsAppliedOnceOnRelease) {
    const gui::Point p = Centre(Form().inputRangeFrom().RootRect());
    const int changes = Automations();
    Window().MouseDown(p);
    EXPECT_EQ(Info(), "Range From: 000 - C-2 ");
    for (int i = 1; i <= 160; ++i) {
        Window().MouseMove({p.x, p.y - i});
        if (i == 80) {
            EXPECT_EQ(Info(), "Range From: 020 - G#-1");
            EXPECT_EQ(Channel().RangeFrom(), 0.0f) << "nothing applied while dragging";
            EXPECT_EQ(Grid().RowCount(), 129);
        }
    }
    EXPECT_EQ(Automations(), changes);
    Window().MouseUp({p.x, p.y - 160});
    EXPECT_EQ(Channel().RangeFrom(), 40.0f);
    EXPECT_EQ(Grid().RowCount(), 89);
    EXPECT_EQ(Automations(), changes + 1);
}

TEST_F(MapHeaderTest, WheelOnARangeInputAppliesAtOnce) {
    const gui::Point p = Centre(Form().inputRangeFrom().RootRect());
    Wheel(p, 4);
    EXPECT_EQ(Form().inputRangeFrom().Value(), 0.5f);
    EXPECT_EQ(Form().inputRangeFrom().DisplayText(), "0") << "shown rounded half to even";
    EXPECT_EQ(Channel().RangeFrom(), 0.0f);
    Wheel(p, 4);
    EXPECT_EQ(Channel().RangeFrom(), 1.0f);
    EXPECT_EQ(Info(), "Range From: 001 - C#-2");
}

TEST_F(MapHeaderTest, LearnEntriesNeedAnActiveChannelAndLearnSetsTheRange) {
    for (gui::TQelNumericInput* input : {&Form().inputRangeFrom(), &Form().inputRangeTo()}) {
        Click(Centre(input->RootRect()), gui::MouseButton::Right);
        ASSERT_NE(MenuView(), nullptr);
        EXPECT_EQ(MenuView()->Level(0).Items[0]->Caption, "Learn");
        EXPECT_TRUE(MenuView()->Level(0).Items[0]->Enabled);
        EXPECT_TRUE(MenuView()->Level(0).Items[1]->IsSeparator());
        (void)Window().PressKey(platform::Key::Escape);
    }
    Click(Form().switchActive());
    for (gui::TQelNumericInput* input : {&Form().inputRangeFrom(), &Form().inputRangeTo()}) {
        Click(Centre(input->RootRect()), gui::MouseButton::Right);
        ASSERT_NE(MenuView(), nullptr);
        EXPECT_FALSE(MenuView()->Level(0).Items[0]->Enabled);
        (void)Window().PressKey(platform::Key::Escape);
    }
    Click(Form().switchActive());

    Click(Centre(Form().inputRangeTo().RootRect()), gui::MouseButton::Right);
    Choose({"Learn"});
    EXPECT_EQ(Module().LearnState(), kLearnNote);
    EXPECT_TRUE(Form().inputRangeTo().Highlight());
    session->Play({{0x90, 100, 90, 0}});
    Idle();
    EXPECT_EQ(Channel().RangeTo(), 100.0f);
    EXPECT_FALSE(Form().inputRangeTo().Highlight());
    EXPECT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::None);
    EXPECT_EQ(Grid().RowCount(), 102);
}

TEST_F(MapHeaderTest, InitShowsTheStartStateAgain) {
    Click(Form().btnChannel(5));
    ChooseRange(Form().inputRangeFrom(), 40);
    ASSERT_EQ(Grid().RowCount(), 89);
    Click(Form().btnMenu());
    Choose({"Init"});
    Answer(gui::TModalResult::Yes);
    EXPECT_EQ(Map().SelectedChannel(), 0);
    EXPECT_EQ(Form().lblChannel().Caption(), "Channel 1");
    EXPECT_TRUE(Form().btnChannel(1).Down());
    EXPECT_TRUE(Form().switchActive().Value());
    EXPECT_EQ(Form().inputRangeFrom().Value(), 0.0f);
    EXPECT_EQ(Grid().RowCount(), 129);
}

} // namespace
} // namespace ostinel::test
