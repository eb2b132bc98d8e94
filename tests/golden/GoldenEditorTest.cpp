// The plug-in's editor as a user sees it, compared with the committed pictures in tests/golden:
// the default map, a narrow channel with held notes and a learning cell, an open cell menu
// with its checked value, the preset browser and a Set All dialog.
//
// Every picture is taken at a fixed point of the window's fake clock (it only moves when a test
// moves it), so the info line and the carets are always in the same state; the user folders are
// temporary (TestEnvironment.cpp), so no date, name or file of the machine shows.
#include "editor/map/MapEditorFixture.h"
#include "gui/dialogs/PresetsForm.h"
#include "support/GoldenImage.h"

#include <string>
#include <vector>

namespace ostinel::test {
namespace {

// The skins by the module's Style numbers.
constexpr int kCarbon = 0;
constexpr int kLuna = 3;

// Builds may round a coverage value differently in the last bit: the 32-bit x87 build under
// wine differs from the Linux and 64-bit builds by 1 in a channel on at most 48 pixels. A real
// change shows on more pixels than this allows (one changed letter of a caption gets through
// the default 200).
constexpr GoldenTolerance kTolerance{.channel = 8, .maxPixels = 20};

// Offsets of a target's cells from its first column.
constexpr int kNoteOffset = 1;
constexpr int kRandomOffset = 3;

constexpr int ColOf(int targetIndex, int offset) {
    return TargetFirstColumn(targetIndex) + offset;
}

class GoldenEditorTest : public MapEditorTest {
protected:
    void BeforeOpen() override {
        Module().SetStyle(skin);
        // The default octave numbering, whatever an earlier test program left in a settings
        // store that outlives it (the registry under wine).
        Module().SetLowestOctave(-2);
    }

    // What the window shows once everything pending is painted; the clock stays where it is.
    gui::Image Shot() {
        Flush();
        return Window().Screen();
    }

    // Hovers the entry of the open menu's `level` that is checked and has a submenu.
    void OpenCheckedGroup(std::size_t level) {
        ASSERT_NE(MenuView(), nullptr);
        const auto& items = MenuView()->Level(level).Items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i]->Checked && items[i]->Count() > 0) {
                Window().MouseMove(Centre(MenuView()->ItemRect(level, i)));
                ASSERT_EQ(MenuView()->LevelCount(), level + 2);
                return;
            }
        }
        FAIL() << "no checked group";
    }

    int skin = kCarbon;
};

TEST_F(GoldenEditorTest, CarbonDefaultMap) {
    EXPECT_TRUE(MatchesGolden(Shot(), "editor-carbon-default.png", kTolerance));
}

class GoldenLunaTest : public GoldenEditorTest {
protected:
    GoldenLunaTest() { skin = kLuna; }
    void BeforeOpen() override {
        GoldenEditorTest::BeforeOpen();
        // A narrow range with a few mapped notes, as a loaded state would bring it.
        Channel().SetRangeFrom(36);
        Channel().SetRangeTo(51);
        Target(48, 0).SetNote(60);
        Target(48, 1).SetNote(64);
        Target(48, 1).SetVelocityScale(-25);
        Target(48, 2).SetNote(67);
        Target(48, 2).SetRandom(40);
        Target(48, 2).SetProbability(50);
    }
};

TEST_F(GoldenLunaTest, NarrowRangeHeldNotesAndALearningCell) {
    // Opening the editor shows the range it finds and leaves it as it was.
    EXPECT_EQ(Channel().RangeFrom(), 36.0f);
    EXPECT_EQ(Channel().RangeTo(), 51.0f);
    ASSERT_EQ(Grid().RowCount(), 17);
    // Held notes arrive as the host sends them: MIDI in a block, then its idle call.
    session->Play({{0x90, 40, 100, 0}, {0x90, 47, 90, 0}});
    Idle();
    ASSERT_EQ(Form().HighlightedNotes().Count(), 2u);
    RightPress(ColOf(1, kNoteOffset), RowOf(44));
    Choose({"Learn"});
    ASSERT_EQ(Form().LearnTarget(), TfrmEditor::TLearnTarget::Grid);
    EXPECT_TRUE(MatchesGolden(Shot(), "editor-luna-narrow.png", kTolerance));
}

TEST_F(GoldenEditorTest, CellMenuWithItsCheckedNote) {
    Target(127, 0).SetNote(64);
    Grid().InvalidateGrid();
    RightPress(ColOf(0, kNoteOffset), 1);
    OpenCheckedGroup(0);
    const std::vector<std::string> checked = Checked(Form().CellMenus().popMapNote());
    ASSERT_EQ(checked.size(), 2u);
    EXPECT_EQ(checked[1], "064 - E3  ");
    EXPECT_TRUE(MatchesGolden(Shot(), "editor-popup-checked.png", kTolerance));
}

class GoldenBrowserTest : public GoldenEditorTest {
protected:
    void SetUp() override {
#if defined(_WIN32)
        // Nothing is written into the user's own Documents folder.
        GTEST_SKIP() << "the presets folder is the user's Documents folder here";
#endif
        GoldenEditorTest::SetUp();
    }
    void BeforeOpen() override {
        GoldenEditorTest::BeforeOpen();
        const fs::path folder(Module().PresetsFolder());
        for (const char* name : {"Arp Fifths", "Bass Octaves", "Chords Minor", "Drum Kit Map",
                                 "Lead Thirds", "Pad Wide", "Zero"})
            WriteText(folder / (std::string(name) + gui::kPresetFileExtension), "x");
    }
};

TEST_F(GoldenBrowserTest, PresetBrowserWithAFewPresets) {
    Click(Form().btnPresets());
    auto* browser = dynamic_cast<gui::TfrmPresets*>(Root().TopOverlay());
    ASSERT_NE(browser, nullptr);
    ASSERT_EQ(browser->Files().size(), 7u);
    EXPECT_TRUE(MatchesGolden(Shot(), "editor-preset-browser.png", kTolerance));
}

TEST_F(GoldenEditorTest, SetRandomAllDialog) {
    RightPress(ColOf(0, kRandomOffset), 1);
    Choose({"Set All"});
    ASSERT_NE(NumberPrompt(), nullptr);
    ASSERT_EQ(NumberPrompt()->Caption(), "Set Random All");
    EXPECT_TRUE(MatchesGolden(Shot(), "editor-setall-dialog.png", kTolerance));
}

// MapGridTest checks which cells a drag step paints; this checks what it asks the window to
// repaint: its cell and the info line that shows the new value, nothing else (the window
// repaints the box around what was asked, so one more rectangle anywhere would widen it).
TEST_F(GoldenEditorTest, ADragStepInvalidatesItsCellAndTheInfoLineOnly) {
    const int col = ColOf(0, kRandomOffset);
    const int row = 5;
    TOstinToItem& target = Target(NoteOfRow(row, Grid().RowCount(), Form().GridFrom()), 0);
    Grid().SetFocus(); // taking the focus repaints the grid
    const gui::Point p = CellCentre(col, row);
    Window().MouseDown(p);
    Flush();
    ASSERT_TRUE(Window().PendingInvalidation().IsEmpty());
    const float before = target.Random();
    Window().MouseMove({p.x, p.y - 1});
    EXPECT_GT(target.Random(), before);
    // The cell with the grid lines on its right and below.
    const gui::Rect cell = CellRootRect(col, row);
    const int line = Grid().GridLineWidth();
    const gui::Rect withLines{cell.left, cell.top, cell.right + line, cell.bottom + line};
    EXPECT_EQ(Window().PendingInvalidation(), withLines.Union(Form().lblInfo().RootRect()));
    Window().MouseUp({p.x, p.y - 1});
}

} // namespace
} // namespace ostinel::test
