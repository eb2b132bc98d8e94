// The cell menus and the channel menu: what they check and enable when they open, the value
// entries, Set All with its dialogs, Learn, Clear, Clear All, Default All, Load Scale, the
// input templates, Copy and Paste (also between two instances), and the lowest octave.
#include "editor/map/MapEditorFixture.h"
#include "platform/headless/HeadlessPlatform.h"
#include "services/BinClipboard.h"
#include "services/ChannelClipboard.h"

namespace ostinel::test {
namespace {

using K = TCellKind;

constexpr int ColOf(int targetIndex, int offset) {
    return TargetFirstColumn(targetIndex) + offset;
}

const std::string kDash = " \xE2\x80\x93 ";

class MapCommandsTest : public MapEditorTest {
protected:
    void BeforeOpen() override { platform::HeadlessProcessClipboard().Clear(); }

    // Shows the range the way a host load would, so a row is on screen.
    void ShowRange(int from, int to) {
        Channel().SetRangeFrom(static_cast<float>(from));
        Channel().SetRangeTo(static_cast<float>(to));
        Form().RefreshHeader();
    }
    void OpenChannelMenu() {
        Click(Form().btnChannelMenu());
        ASSERT_NE(MenuView(), nullptr);
    }
    // The map of another instance that loads this one's state (what the host stores).
    std::unique_ptr<EditorSession> Reloaded() {
        auto other = std::make_unique<EditorSession>();
        EXPECT_GT(other->instance->SetChunk(session->instance->GetChunk(true), true), 0);
        return other;
    }
};

TEST_F(MapCommandsTest, CellMenusCheckTheCurrentValueAndItsGroup) {
    Target(127, 1).SetNote(64);
    Target(127, 0).SetVelocityScale(-95.4f);
    Target(127, 0).SetRandom(200);
    struct Case {
        int col;
        std::vector<std::string> checked;
    };
    const Case cases[] = {
        {ColOf(1, 1), {"60" + kDash + "69", "064 - E3  "}},
        {ColOf(0, 0), {"1"}},
        {ColOf(0, 2), {"-100%" + kDash + "-91%", "-95%"}},
        {ColOf(0, 3), {"190" + kDash + "200", "200"}},
        {ColOf(0, 4), {"90%" + kDash + "100%", "100%"}},
    };
    for (const Case& c : cases) {
        RightPress(c.col, 1);
        ASSERT_NE(MenuView(), nullptr) << c.col;
        gui::TQelPopupMenu* menu = Form().CellMenus().MenuFor(ColumnKind(c.col));
        ASSERT_TRUE(menu->IsOpen());
        EXPECT_EQ(Checked(*menu), c.checked) << c.col;
        (void)Window().PressKey(platform::Key::Escape);
        EXPECT_EQ(MenuView(), nullptr);
    }
    gui::TQelPopupMenu& note = Form().CellMenus().popMapNote();
    EXPECT_TRUE(Find(note.Items(), "Learn")->Enabled);
    EXPECT_TRUE(Find(note.Items(), "Clear")->Enabled);

    // An empty target checks nothing and cannot be cleared; an inactive channel cannot learn.
    RightPress(ColOf(2, 1), 1);
    EXPECT_TRUE(Checked(note).empty());
    EXPECT_FALSE(Find(note.Items(), "Clear")->Enabled);
    (void)Window().PressKey(platform::Key::Escape);
    Click(Form().switchActive());
    RightPress(ColOf(1, 1), 1);
    EXPECT_FALSE(Find(note.Items(), "Learn")->Enabled);
}

TEST_F(MapCommandsTest, ValueEntriesSetTheValueAndTellTheHost) {
    const int changes = Automations();
    RightPress(ColOf(0, 0), 1);
    Choose({"5"});
    EXPECT_EQ(Target(127, 0).Channel(), 5.0f);
    RightPress(ColOf(0, 2), 1);
    Choose({"-30%" + kDash + "-21%", "-25%"});
    EXPECT_EQ(Target(127, 0).VelocityScale(), -25.0f);
    RightPress(ColOf(1, 1), 1);
    Choose({"40" + kDash + "49", "045 - A1  "});
    EXPECT_EQ(Target(127, 1).Note(), 45.0f);
    EXPECT_EQ(Automations(), changes + 3);
    RightPress(ColOf(1, 1), 1);
    Choose({"Clear"});
    EXPECT_TRUE(IsEmptyTarget(Target(127, 1)));
}

struct SetAllCase {
    int offset;
    const char* caption;
    const char* prompt;
    const char* typed;
    float expected;
};

TEST_F(MapCommandsTest, SetAllWritesTheColumnOfAll128Notes) {
    ShowRange(60, 72);
    const SetAllCase cases[] = {
        {0, "Set Channel All ", "Channel (1-16)", "16", 16},
        {2, "Set Velocity Scale All ", "Velocity Scale (-100% - +100%)", "-40", -40},
        {3, "Set Random All", "Random (0 - 200)", "30", 30},
        {4, "Set Note Probablity All ", "Note Probability (0 - 100)", "0", 0},
    };
    for (const SetAllCase& c : cases) {
        RightPress(ColOf(0, c.offset), 1);
        Choose({"Set All"});
        gui::TfrmInputDlgNumeric* prompt = NumberPrompt();
        ASSERT_NE(prompt, nullptr) << c.caption;
        EXPECT_EQ(prompt->Caption(), c.caption);
        EXPECT_EQ(prompt->lblPrompt.Caption(), c.prompt);
        const int changes = Automations();
        Root().Update();
        EnterNumber(c.typed);
        EXPECT_EQ(NumberPrompt(), nullptr) << c.caption;
        const K kind = ColumnKind(ColOf(0, c.offset));
        for (int n = 0; n < 128; ++n)
            ASSERT_EQ(CellValue(Target(n, 0), kind), c.expected) << c.caption << " note " << n;
        EXPECT_EQ(CellValue(Target(64, 1), kind), CellValue(Target(64, 2), kind))
            << "other targets untouched";
        EXPECT_EQ(Automations(), changes + 1);
    }
    // The values outside the range show when the range is widened, and the host has them.
    EXPECT_EQ(Reloaded()->Target(0, 0).Random(), 30.0f);
    EXPECT_EQ(Reloaded()->Target(127, 0).Channel(), 16.0f);
}

TEST_F(MapCommandsTest, SetAllRefusesValuesOutsideItsLimitsAndCancelChangesNothing) {
    RightPress(ColOf(0, 0), 1);
    Choose({"Set All"});
    EnterNumber("17");
    ASSERT_NE(NumberPrompt(), nullptr) << "refused; shown again after a pause";
    Window().AdvanceTime(300);
    EnterNumber("0");
    ASSERT_NE(NumberPrompt(), nullptr);
    Window().AdvanceTime(300);
    Click(NumberPrompt()->btnCancel);
    EXPECT_EQ(NumberPrompt(), nullptr);
    for (int n = 0; n < 128; ++n)
        ASSERT_EQ(Target(n, 0).Channel(), 1.0f);
}

TEST_F(MapCommandsTest, ClearAllAndDefaultAllAskFirst) {
    for (int n = 0; n < 128; ++n)
        Target(n, 2).SetNote(static_cast<float>(127 - n));
    Grid().InvalidateGrid();
    RightPress(ColOf(2, 1), 1);
    Choose({"Clear All"});
    EXPECT_EQ(BoxText(), "Clear all notes?");
    EXPECT_EQ(BoxCaption(), "Clear All");
    Answer(gui::TModalResult::No);
    EXPECT_EQ(Target(5, 2).Note(), 122.0f);

    const int changes = Automations();
    RightPress(ColOf(2, 1), 1);
    Choose({"Clear All"});
    Answer(gui::TModalResult::Yes);
    for (int n = 0; n < 128; ++n) {
        ASSERT_TRUE(IsEmptyTarget(Target(n, 2))) << n;
        ASSERT_EQ(Target(n, 0).Note(), static_cast<float>(n)) << "target 1 untouched";
    }
    EXPECT_EQ(Automations(), changes + 1);
    EXPECT_TRUE(IsEmptyTarget(Reloaded()->Target(64, 2)));

    // Default All maps every note of the column to itself, on the second target as well.
    RightPress(ColOf(1, 1), 1);
    Choose({"Default All"});
    EXPECT_EQ(BoxText(), "Set to default notes?");
    EXPECT_EQ(BoxCaption(), "Default All");
    Answer(gui::TModalResult::Yes);
    for (int n = 0; n < 128; ++n)
        ASSERT_EQ(Target(n, 1).Note(), static_cast<float>(n)) << n;
}

TEST_F(MapCommandsTest, LoadScaleLaysTheScaleAroundTheClickedNote) {
    ShowRange(50, 70);
    // The default Scales.txt was written and read in order.
    const std::vector<std::string> expected = {"Blues",
                                               "Chromatic",
                                               "Major",
                                               "Minor - Harmonic",
                                               "Minor - Melodic",
                                               "Minor - Natural",
                                               "Pentatonic - Major",
                                               "Pentatonic - Minor"};
    gui::TMenuItem& scales = Form().CellMenus().LoadScaleMenu();
    ASSERT_EQ(scales.Count(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(scales.Items(i).Caption, expected[i]);
    EXPECT_TRUE(fs::exists(UserFolder(Module()) / "Scales.txt"));

    RightPress(ColOf(0, 1), RowOf(60));
    Choose({"Load Scale", "Major"});
    EXPECT_EQ(BoxText(), "Load scale (\"Major\")?");
    EXPECT_EQ(BoxCaption(), "Load Scale");
    const int changes = Automations();
    Answer(gui::TModalResult::Yes);
    const int up[] = {60, 62, 64, 65, 67, 69, 71, 72};
    const int down[] = {59, 57, 55, 53, 52, 50, 48, 47};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Target(60 + i, 0).Note(), static_cast<float>(up[i])) << 60 + i;
        EXPECT_EQ(Target(59 - i, 0).Note(), static_cast<float>(down[i])) << 59 - i;
    }
    EXPECT_EQ(Automations(), changes + 1);
}

class BrokenScaleTest : public MapCommandsTest {
protected:
    void BeforeOpen() override {
        WriteText(UserFolder(Module()) / "Scales.txt", "Broken;x,99,-3\r\nNone\r\n");
    }
};

TEST_F(BrokenScaleTest, AScaleWithoutValidDegreesLeavesTheMap) {
    for (const char* name : {"Broken", "None"}) {
        RightPress(ColOf(0, 1), 1);
        Choose({"Load Scale", name});
        const int changes = Automations();
        Answer(gui::TModalResult::Yes);
        for (int n = 0; n < 128; ++n)
            ASSERT_EQ(Target(n, 0).Note(), static_cast<float>(n)) << name << " " << n;
        EXPECT_EQ(Automations(), changes) << name;
    }
}

class TemplatesTest : public MapCommandsTest {
protected:
    void BeforeOpen() override {
        WriteText(UserFolder(Module()) / "Input.txt",
                  "Audio Damage Tattoo;36,51;44,47,48,50\r\n\r\nHigh;60,72;200\r\n");
    }
};

TEST_F(TemplatesTest, InputTemplatesFitTheChannel) {
    OpenChannelMenu();
    gui::TMenuItem& templates = Form().ChannelMenu().InputTemplates();
    ASSERT_EQ(templates.Count(), 4u) << "Default, separator, two entries (the blank line none)";
    Choose({"Input Templates", "Audio Damage Tattoo"});
    EXPECT_EQ(BoxText(), "Apply input template (\"Audio Damage Tattoo\")?");
    EXPECT_EQ(BoxCaption(), "Input Template");
    Target(40, 1).SetNote(3);
    Target(20, 1).SetNote(3);
    Target(40, 0).SetVelocityScale(50);
    const int changes = Automations();
    Answer(gui::TModalResult::Yes);
    EXPECT_EQ(Channel().RangeFrom(), 36.0f);
    EXPECT_EQ(Channel().RangeTo(), 51.0f);
    EXPECT_EQ(Grid().RowCount(), 17);
    EXPECT_EQ(Form().inputRangeFrom().Value(), 36.0f);
    for (int n = 36; n <= 51; ++n) {
        const bool silenced = n == 44 || n == 47 || n == 48 || n == 50;
        EXPECT_EQ(Target(n, 0).Note(), silenced ? -1.0f : static_cast<float>(n)) << n;
        EXPECT_TRUE(IsEmptyTarget(Target(n, 1))) << n;
    }
    EXPECT_EQ(Target(20, 1).Note(), 3.0f) << "outside the range untouched";
    EXPECT_EQ(Target(40, 0).VelocityScale(), 50.0f) << "only notes change";
    EXPECT_EQ(Automations(), changes + 2) << "the two range ends";

    // From 0..40 a template of 60..72 ends at 60..72.
    ShowRange(0, 40);
    OpenChannelMenu();
    Choose({"Input Templates", "High"});
    Answer(gui::TModalResult::Yes);
    EXPECT_EQ(Channel().RangeFrom(), 60.0f);
    EXPECT_EQ(Channel().RangeTo(), 72.0f);
    EXPECT_EQ(Target(59, 0).Note(), 59.0f);

    OpenChannelMenu();
    Choose({"Input Templates", "Default"});
    EXPECT_EQ(BoxText(), "Apply default input template?");
    Answer(gui::TModalResult::Yes);
    EXPECT_EQ(Channel().RangeFrom(), 0.0f);
    EXPECT_EQ(Channel().RangeTo(), 127.0f);
    EXPECT_EQ(Target(44, 0).Note(), 44.0f);
    EXPECT_TRUE(IsEmptyTarget(Target(20, 1)));
}

TEST_F(MapCommandsTest, CopyAndPasteBetweenTwoInstances) {
    OpenChannelMenu();
    EXPECT_FALSE(Form().ChannelMenu().Paste().Enabled) << "nothing on the clipboard";
    (void)Window().PressKey(platform::Key::Escape);

    Channel().SetRangeFrom(20);
    Channel().SetRangeTo(30);
    Target(25, 2).SetNote(99);
    OpenChannelMenu();
    Choose({"Copy"});

    // A second instance with its own editor pastes into its channel 3.
    auto second = std::make_unique<EditorSession>();
    second->Open();
    std::swap(session, second);
    Click(Form().btnChannel(3));
    OpenChannelMenu();
    EXPECT_TRUE(Form().ChannelMenu().Paste().Enabled);
    Choose({"Paste"});
    EXPECT_EQ(BoxText(), "Paste from clipboard?");
    EXPECT_EQ(BoxCaption(), "Paste");
    Answer(gui::TModalResult::No);
    EXPECT_EQ(Channel(2).RangeFrom(), 0.0f);
    const int changes = Automations();
    OpenChannelMenu();
    Choose({"Paste"});
    Answer(gui::TModalResult::Yes);
    EXPECT_EQ(Channel(2).RangeFrom(), 20.0f);
    EXPECT_EQ(Channel(2).RangeTo(), 30.0f);
    EXPECT_EQ(Target(25, 2, 2).Note(), 99.0f);
    EXPECT_TRUE(Channel(2).Active());
    EXPECT_EQ(Form().inputRangeFrom().Value(), 20.0f) << "header refreshed";
    EXPECT_EQ(Grid().RowCount(), 12);
    EXPECT_TRUE(Form().btnChannel(3).Underline());
    // The paste, and the switch following the pasted channel's Active as a user toggle would.
    EXPECT_EQ(Automations(), changes + 2);
    EXPECT_EQ(Reloaded()->Target(25, 2, 2).Note(), 99.0f);
    session->Close();
    std::swap(session, second);
}

TEST_F(MapCommandsTest, APasteThatFailsShowsWhyAndRefreshesNothing) {
    // A block under the channel format that is no channel.
    platform::HeadlessProcessClipboard().SetData(kChannelClipboardFormat,
                                                 {4, 0, 0, 0, 'X', 'X', 'X', 'X'});
    Channel().SetRangeFrom(50); // not shown yet: a refresh would show it
    const int changes = Automations();
    OpenChannelMenu();
    ASSERT_TRUE(Form().ChannelMenu().Paste().Enabled);
    Choose({"Paste"});
    Answer(gui::TModalResult::Yes);
    ASSERT_NE(MessageBox(), nullptr);
    EXPECT_EQ(BoxCaption(), "Paste");
    EXPECT_FALSE(BoxText().empty());
    EXPECT_EQ(MessageBox()->ButtonCount(), 1u);
    EXPECT_EQ(Form().inputRangeFrom().Value(), 0.0f);
    EXPECT_EQ(Grid().RowCount(), 129);
    EXPECT_EQ(Automations(), changes);
    Answer(gui::TModalResult::OK);
}

TEST_F(MapCommandsTest, APastedRangeOutsideTheNotesShowsTheNotesThatExist) {
    // Paste keeps a range as it was copied; one from outside 0..127 still shows rows that
    // exist, and the editor does not keep rebuilding the grid because the inputs differ.
    TOstinelChannel odd;
    odd.StoreRangeUnclamped(-5, 300);
    TBinClipboard clipboard(platform::HeadlessProcessClipboard(), kChannelClipboardFormat);
    CopyToClipboard(odd, clipboard);
    OpenChannelMenu();
    Choose({"Paste"});
    Answer(gui::TModalResult::Yes);
    ASSERT_EQ(Channel().RangeTo(), 300.0f);
    EXPECT_EQ(Grid().RowCount(), 129);
    EXPECT_EQ(Form().inputRangeTo().Value(), 127.0f);
    Wheel(CellCentre(0, 3), -5);
    Idle();
    Idle();
    EXPECT_EQ(Grid().TopRow(), 6);
    Click(CellCentre(0, 6));
    EXPECT_EQ(Info(), "PREVIEW: Note: 122 - D8   / Velocity: 64");
}

TEST_F(MapCommandsTest, LowestOctaveRenamesTheNotes) {
    Click(Form().btnMenu());
    ASSERT_NE(MenuView(), nullptr);
    EXPECT_GE(IndexIn(0, "Lowest Octave"), 0) << "this editor shows it";
    Choose({"Lowest Octave", "0"});
    EXPECT_EQ(Module().LowestOctave(), 0);
    gui::TMenuItem& note = Form().CellMenus().popMapNote().Items();
    EXPECT_EQ(note.Items(TCellMenus::kNoteFixedCount + 6).Items(4).Caption, "064 - E5  ");
    EXPECT_EQ(Form().NoteLabel(127), "127 - G10 ");
    Click(Form().btnMenu());
    Choose({"Lowest Octave", "-2"});
}

} // namespace
} // namespace ostinel::test
