#include "common/QelCommon.h"
#include "gui/controls/PopupMenuLayer.h"
#include "gui/controls/QelNumericInput.h"
#include "gui/skins/Skin.h"

#include "gui/WidgetTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace ostinel::gui {
namespace {

using test::Harness;
using test::kShift;

struct NumericInputFixture : ::testing::Test {
    NumericInputFixture() {
        DeactivateSkin();
        input = &h.root.Content()->Add<TQelNumericInput>();
        input->SetBounds(10, 10, 42, 21);
        input->SetDecimalSeparator('.');
        input->SetMinValue(0);
        input->SetMaxValue(127);
        input->SetValue(60);
        input->OnChange = [this] { ++changes; };
    }
    void Load() { h.root.Content()->NotifyLoaded(); }
    // A press at y, then one move event per entry of ys, then the release.
    void Drag(int y, std::initializer_list<int> ys, platform::Modifiers mods = {}) {
        h.Press({20, y}, MouseButton::Left, mods);
        for (const int to : ys) {
            h.MoveTo({20, to}, mods);
        }
        h.Release({20, ys.size() ? *(ys.end() - 1) : y}, MouseButton::Left, mods);
    }

    Harness h;
    TQelNumericInput* input = nullptr;
    int changes = 0;
};

TEST_F(NumericInputFixture, EachMoveEventIsOneQuarterStepWhateverTheDistance) {
    Drag(20, {19, 18, 17, 16});
    EXPECT_FLOAT_EQ(input->Value(), 61.0f);
    EXPECT_EQ(changes, 4);
    Drag(20, {50}); // thirty pixels down: still one step
    EXPECT_FLOAT_EQ(input->Value(), 60.75f);
    Drag(20, {20, 20}); // unchanged y
    EXPECT_FLOAT_EQ(input->Value(), 60.75f);
}

TEST_F(NumericInputFixture, ShiftMakesTheStepAFifth) {
    h.Press({20, 25}, MouseButton::Left, kShift);
    for (int i = 1; i <= 19; ++i) {
        h.MoveTo({20, 25 - i}, kShift);
    }
    EXPECT_NEAR(input->Value(), 60.95f, 1e-4f);
    h.MoveTo({20, 5}, kShift);
    EXPECT_NEAR(input->Value(), 61.0f, 1e-4f) << "twenty moves make one unit";
    h.Release({20, 20});
}

TEST_F(NumericInputFixture, DraggingPastTheMaximumStopsThereWithoutOnChange) {
    input->SetValue(127);
    changes = 0;
    Drag(20, {19, 18});
    EXPECT_FLOAT_EQ(input->Value(), 127.0f);
    EXPECT_EQ(changes, 0);
}

TEST_F(NumericInputFixture, MovesWithoutTheLeftButtonChangeNothing) {
    h.MoveTo({20, 20});
    h.MoveTo({20, 10});
    Drag(20, {});
    h.MoveTo({20, 5});
    EXPECT_FLOAT_EQ(input->Value(), 60.0f);
    h.Press({20, 20}, MouseButton::Right);
    h.MoveTo({20, 10});
    EXPECT_FLOAT_EQ(input->Value(), 60.0f) << "only the left button drags";
    h.Release({20, 10}, MouseButton::Right);
}

TEST_F(NumericInputFixture, DragShowsTheVerticalResizeCursorUntilTheRelease) {
    h.Press({20, 20});
    EXPECT_EQ(h.window.cursor, Cursor::SizeNS);
    h.MoveTo({300, 200}); // anywhere in the window
    EXPECT_EQ(h.window.cursor, Cursor::SizeNS);
    h.Release({300, 200});
    EXPECT_EQ(h.window.cursor, Cursor::Arrow);
}

TEST_F(NumericInputFixture, PressTakesTheFocusAndAVetoStopsTheDragAndOnMouseDown) {
    int downs = 0;
    input->OnMouseDown = [&](const MouseEvent&) { ++downs; };
    h.Press({20, 20});
    EXPECT_TRUE(input->HasFocus());
    h.Release({20, 20});
    EXPECT_EQ(downs, 1);

    input->OnBeforeMouseDown = [](MouseButton, Modifiers, int, int, bool& proceed) {
        proceed = false;
    };
    Drag(20, {10, 5});
    EXPECT_EQ(downs, 1);
    EXPECT_FLOAT_EQ(input->Value(), 60.0f);
}

TEST_F(NumericInputFixture, WheelAddsAnEighthPerEventOnlyWhenTheInputIsUnderTheCursor) {
    h.Wheel({20, 20}, 120);
    h.Wheel({20, 20}, 480); // the size of the delta does not matter
    EXPECT_FLOAT_EQ(input->Value(), 60.25f);
    h.Wheel({20, 20}, -120);
    EXPECT_FLOAT_EQ(input->Value(), 60.125f);

    ASSERT_TRUE(input->HasFocus()) << "the wheel moved the focus to it";
    h.window.cursorPos = Point{300, 200}; // focused, but the cursor is elsewhere
    EXPECT_FALSE(input->MouseWheel({{5, 5}, 120, {}}));
    EXPECT_FLOAT_EQ(input->Value(), 60.125f);
}

TEST_F(NumericInputFixture, RangeSettersMoveTheValueDirectlyWithoutOnChange) {
    input->SetMaxValue(50);
    EXPECT_FLOAT_EQ(input->Value(), 50.0f);
    input->SetMinValue(55);
    EXPECT_FLOAT_EQ(input->Value(), 55.0f);
    EXPECT_EQ(changes, 0);
    input->SetMaxValue(127);
    input->SetValue(std::nanf(""));
    EXPECT_FLOAT_EQ(input->Value(), 55.0f) << "NaN ends at the minimum";
    input->SetMaxValue(40); // below the minimum: raised first, then lowered
    input->SetValue(100);
    EXPECT_FLOAT_EQ(input->Value(), 40.0f);
}

TEST_F(NumericInputFixture, ShownTextIsTheValueUnlessOnGetTextReplacesIt) {
    input->SetValue(60.25f);
    EXPECT_EQ(input->DisplayText(), "60.25");
    EXPECT_EQ(input->ValueAsInteger(), 60);
    input->OnGetText = [](float v, std::string& text) { text = NoteName(static_cast<int>(v)); };
    EXPECT_EQ(input->DisplayText(), "C");
}

TEST_F(NumericInputFixture, PaintsFillBorderAndHighlight) {
    input->SetColor(Color::Rgb(0x112233));
    input->SetBorderColor(Color::Rgb(0xAABBCC));
    input->SetHighlightColor(Color::Rgb(0x445566));
    input->OnGetText = [](float, std::string& text) { text.clear(); };
    h.root.Update();
    const Canvas& c = h.root.GetCanvas();
    EXPECT_EQ(c.GetPixel(10, 10), Color::Rgb(0xAABBCC));
    EXPECT_EQ(c.GetPixel(51, 30), Color::Rgb(0xAABBCC));
    EXPECT_EQ(c.GetPixel(11, 11), Color::Rgb(0x112233));
    input->SetHighlight(true);
    input->SetBorderWidth(0);
    h.root.Update();
    EXPECT_EQ(c.GetPixel(10, 10), Color::Rgb(0x445566)) << "no outline with width 0";
    EXPECT_EQ(c.GetPixel(30, 20), Color::Rgb(0x445566));
}

TEST(NumericInputSkin, LoadedTakesTheSkinColoursAndTheHighlightOfEachSkin) {
    for (int style = 0; style < 5; ++style) {
        ActivateSkin(style);
        const TSkin& skin = ActiveSkin();
        TQelNumericInput input;
        input.SetShowPopup(false);
        input.SetBorderWidth(3);
        input.NotifyLoaded();
        EXPECT_EQ(input.BorderWidth(), 1);
        EXPECT_EQ(input.BorderColor(), skin.ButtonDisabled.Text);
        EXPECT_EQ(input.FillColor(), skin.ButtonDisabled.Face);
        const Color expectedHighlight = style == 0   ? Color{37, 95, 120, 255}
                                        : style == 1 ? Color{61, 177, 160, 255}
                                        : style == 2 ? skin.ButtonPressed.Face
                                                     : skin.ButtonHot.Face;
        EXPECT_EQ(input.HighlightColor(), expectedHighlight) << style;
        const Color expectedText = style >= 3 ? Color::Rgb(0x000000) : skin.ButtonNormal.Text;
        EXPECT_EQ(input.InputFont().TextColor, expectedText) << style;
    }
    DeactivateSkin();
    TQelNumericInput plain;
    plain.NotifyLoaded();
    EXPECT_EQ(plain.FillColor(), Color::Rgb(0xFFFFFF)) << "defaults without a skin";
}

// ---- Popup -----------------------------------------------------------------------------

TEST_F(NumericInputFixture, DecadeGroupsMakeThirteenSubmenusTheLastHoldingEight) {
    input->OnGetPopupGroup = [](int v, std::string& caption) { caption = DecadeRangeText(v); };
    Load();
    const TMenuItem& top = input->Popup().Items();
    ASSERT_EQ(top.Count(), 13u);
    EXPECT_EQ(top.Items(0).Caption, "0 \xE2\x80\x93 9");
    EXPECT_EQ(top.Items(12).Caption, "120 \xE2\x80\x93 127");
    EXPECT_EQ(top.Items(12).Tag, TQelNumericInput::kPopupGroupTag);
    ASSERT_EQ(top.Items(12).Count(), 8u);
    EXPECT_EQ(top.Items(12).Items(7).Tag, 127);
    EXPECT_EQ(top.Items(6).Items(4).Caption, "64");
}

TEST_F(NumericInputFixture, PopupWithoutGroupsListsEveryValueAndIsBuiltOnce) {
    input->SetMinValue(-2);
    input->SetMaxValue(3);
    input->OnGetText = [](float v, std::string& text) {
        text = "v" + FormatInt(static_cast<int>(v));
    };
    int populated = 0;
    input->OnPopulatePopupMenu = [&](TQelPopupMenu& menu) {
        ++populated;
        menu.Items().AddSeparator();
        menu.Items().Add("Learn");
    };
    Load();
    const TMenuItem& top = input->Popup().Items();
    ASSERT_EQ(top.Count(), 8u);
    EXPECT_EQ(top.Items(0).Caption, "v-2");
    EXPECT_EQ(top.Items(0).Tag, -2);
    EXPECT_EQ(top.Items(7).Caption, "Learn");
    input->SetMaxValue(10);
    input->NotifyLoaded();
    EXPECT_EQ(top.Count(), 8u) << "later range changes do not rebuild the popup";
    EXPECT_EQ(populated, 1);
}

TEST_F(NumericInputFixture, OpeningThePopupChecksTheRoundedValueAndItsGroup) {
    input->OnGetPopupGroup = [](int v, std::string& caption) { caption = DecadeRangeText(v); };
    int opened = 0;
    input->OnPopupPopupMenu = [&](TQelPopupMenu&) { ++opened; };
    Load();
    input->SetValue(64.4f);
    h.Click({20, 20}, MouseButton::Right);
    ASSERT_TRUE(input->Popup().IsOpen());
    EXPECT_EQ(opened, 1);
    const TMenuItem& top = input->Popup().Items();
    int checked = 0;
    for (std::size_t g = 0; g < top.Count(); ++g) {
        checked += top.Items(g).Checked;
        for (std::size_t i = 0; i < top.Items(g).Count(); ++i) {
            checked += top.Items(g).Items(i).Checked;
        }
    }
    EXPECT_EQ(checked, 2);
    EXPECT_TRUE(top.Items(6).Checked);
    EXPECT_TRUE(top.Items(6).Items(4).Checked);
}

TEST_F(NumericInputFixture, ChoosingAPopupEntrySetsTheValueThroughTheSetter) {
    Load();
    h.Click({20, 20}, MouseButton::Right);
    TPopupMenuLayer* view = input->Popup().View();
    ASSERT_NE(view, nullptr);
    view->OpenSubmenu(0, 0, false); // no groups: entries are at the top level
    // Keyboard: Home then Down twice selects 2; Enter chooses it.
    h.Key(platform::Key::Home);
    h.Key(platform::Key::Down);
    h.Key(platform::Key::Down);
    h.Key(platform::Key::Return);
    EXPECT_FALSE(input->Popup().IsOpen());
    EXPECT_FLOAT_EQ(input->Value(), 2.0f);
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace ostinel::gui
