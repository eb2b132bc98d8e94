#include "common/Error.h"
#include "common/QelCommon.h"
#include "gui/controls/PopupMenuLayer.h"
#include "gui/controls/QelPopupMenu.h"
#include "gui/controls/QelSpTBXSpeedButton.h"

#include "gui/WidgetTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ostinel::gui {
namespace {

namespace Key = platform::Key;
using test::Harness;

// Values 0..127 in groups of ten, as the numeric inputs and value popups build them.
void FillDecades(TQelPopupMenu& menu) {
    TMenuItem* group = nullptr;
    for (int v = 0; v <= 127; ++v) {
        if (v % 10 == 0) {
            group = &menu.Items().Add(DecadeRangeText(v), -999);
        }
        group->Add(FormatInt(v), v);
    }
}

std::vector<std::string> CheckedCaptions(const TMenuItem& item) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < item.Count(); ++i) {
        if (item.Items(i).Checked) {
            out.push_back(item.Items(i).Caption);
        }
        for (const std::string& s : CheckedCaptions(item.Items(i))) {
            out.push_back(s);
        }
    }
    return out;
}

TEST(CheckItemsByTag, MarksTheMatchAndWithParentsTheGroupsAboveIt) {
    TQelPopupMenu menu;
    FillDecades(menu);
    menu.Items().Items(3).Items(5).Checked = true; // stale marks are cleared
    menu.CheckItemsByTag(64, nullptr, true);
    EXPECT_EQ(CheckedCaptions(menu.Items()),
              (std::vector<std::string>{"60 \xE2\x80\x93 69", "64"}));
    menu.CheckItemsByTag(64, nullptr, false);
    EXPECT_EQ(CheckedCaptions(menu.Items()), (std::vector<std::string>{"64"}));
    menu.CheckItemsByTag(1000, nullptr, true);
    EXPECT_TRUE(CheckedCaptions(menu.Items()).empty());
}

TEST(CheckItemsByTag, StartItemLimitsTheWalkToItsChildren) {
    TQelPopupMenu menu;
    auto& octave = menu.Items().Add("Lowest Octave");
    octave.Add("0", 0);
    octave.Add("-1", -1).Checked = true;
    auto& skin = menu.Items().Add("Skin");
    for (int i = 0; i < 5; ++i) {
        skin.Add("skin", i);
    }
    menu.CheckItemsByTag(0, &skin, false);
    EXPECT_TRUE(skin.Items(0).Checked);
    EXPECT_FALSE(octave.Items(0).Checked) << "outside the start item";
    EXPECT_TRUE(octave.Items(1).Checked) << "untouched";
    EXPECT_FALSE(skin.Checked);
    menu.CheckItemsByTag(9, &skin, false); // a Style outside 0..4 checks none
    EXPECT_FALSE(skin.Items(0).Checked);
}

TEST(MenuItem, IndexingOutsideTheItemsFailsWithArgumentOutOfRange) {
    TMenuItem item;
    item.Add("a");
    EXPECT_EQ(item.Items(0).MenuIndex(), 0);
    EXPECT_THROW((void)item.Items(1), Error);
    try {
        item.Insert(5, std::make_unique<TMenuItem>("x"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Argument out of range");
    }
    EXPECT_THROW(item.Delete(3), Error);
}

struct MenuFixture : ::testing::Test {
    MenuFixture() {
        auto& items = menu.Items();
        items.AddSeparator(); // leading: not shown
        items.Add("Init", 0, Record());
        items.AddSeparator();
        items.AddSeparator(); // double: one shown
        items.Add("Hidden", 0, Record()).Visible = false;
        items.Add("Load", 0, Record());
        items.Add("Off", 0, Record()).Enabled = false;
        auto& sub = items.Add("Skin");
        sub.Add("Carbon", 0, Record());
        sub.Add("Dark", 1, Record());
        items.AddSeparator(); // trailing: not shown
        menu.OnPopup = [this](TQelPopupMenu&) { log.push_back("popup"); };
        menu.OnClose = [this](TQelPopupMenu& m) {
            log.push_back(m.IsOpen() ? "close while open" : "close");
        };
    }
    std::function<void(TMenuItem&)> Record() {
        return [this](TMenuItem& item) {
            log.push_back((menu.IsOpen() ? "open click " : "click ") + item.Caption);
        };
    }
    TPopupMenuLayer& Open(Point at = {20, 20}) {
        menu.Popup(h.root, at);
        EXPECT_TRUE(menu.IsOpen());
        return *menu.View();
    }
    std::vector<std::string> Captions(const TPopupMenuLayer& view, std::size_t level) {
        std::vector<std::string> out;
        for (const TMenuItem* item : view.Level(level).Items) {
            out.push_back(item->Caption);
        }
        return out;
    }
    Point Centre(const TPopupMenuLayer& view, std::size_t level, std::size_t index) {
        const Rect r = view.ItemRect(level, index);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    Harness h{400, 300};
    TQelPopupMenu menu;
    std::vector<std::string> log;
};

TEST_F(MenuFixture, HiddenItemsAndSpareSeparatorsAreNotShown) {
    const TPopupMenuLayer& view = Open();
    EXPECT_EQ(Captions(view, 0), (std::vector<std::string>{"Init", "-", "Load", "Off", "Skin"}));
    EXPECT_EQ(log, std::vector<std::string>{"popup"});
}

TEST_F(MenuFixture, KeyboardWalksSkipsSeparatorsOpensSubmenusAndChoosesAfterClosing) {
    Open();
    h.Key(Key::Down);
    EXPECT_EQ(menu.View()->HotItem()->Caption, "Init");
    h.Key(Key::Down);
    EXPECT_EQ(menu.View()->HotItem()->Caption, "Load") << "separator skipped";
    h.Key(Key::Up);
    h.Key(Key::Up);
    EXPECT_EQ(menu.View()->HotItem()->Caption, "Skin") << "wraps around";
    h.Key(Key::Right);
    ASSERT_EQ(menu.View()->LevelCount(), 2u);
    EXPECT_EQ(menu.View()->HotItem()->Caption, "Carbon");
    h.Key(Key::Left);
    EXPECT_EQ(menu.View()->LevelCount(), 1u);
    h.Key(Key::Return); // on Skin: opens it again
    h.Key(Key::Down);
    h.Key(Key::Return);
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "close", "click Dark"}));
}

TEST_F(MenuFixture, EscapeClosesTheSubmenuThenTheMenuAndLettersJump) {
    Open();
    h.Type(U"l");
    EXPECT_EQ(menu.View()->HotItem()->Caption, "Load");
    h.Type(U"s");
    h.Key(Key::Right);
    EXPECT_EQ(menu.View()->LevelCount(), 2u);
    h.Key(Key::Escape);
    EXPECT_EQ(menu.View()->LevelCount(), 1u);
    h.Key(Key::Escape);
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "close"}));
}

TEST_F(MenuFixture, DisabledItemsAreNotChosen) {
    Open();
    h.Key(Key::End);
    h.Key(Key::Up);
    EXPECT_EQ(menu.View()->HotItem()->Caption, "Off");
    h.Key(Key::Return);
    EXPECT_TRUE(menu.IsOpen());
    const Point off = Centre(*menu.View(), 0, 3);
    h.Click(off);
    EXPECT_TRUE(menu.IsOpen());
}

TEST_F(MenuFixture, TheReleaseOfTheOpeningPressChoosesNothingButAClickDoes) {
    Harness& hh = h;
    hh.Press({20, 20}, MouseButton::Right);
    menu.Popup(hh.root, {20, 20}); // opened during the press, like the grid's cell menus
    hh.Release({20, 20}, MouseButton::Right);
    EXPECT_TRUE(menu.IsOpen());
    const Point load = Centre(*menu.View(), 0, 2);
    hh.MoveTo(load);
    EXPECT_EQ(menu.View()->HotItem()->Caption, "Load");
    hh.Click(load);
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_EQ(log.back(), "click Load");
}

TEST_F(MenuFixture, PressAndDragToAnItemChoosesItOnRelease) {
    h.Press({20, 20});
    menu.Popup(h.root, {20, 20});
    const Point init = Centre(*menu.View(), 0, 0);
    h.MoveTo(init);
    h.Release(init);
    EXPECT_EQ(log.back(), "click Init");
}

TEST_F(MenuFixture, APressOutsideClosesTheMenuAndIsSwallowed) {
    int contentPresses = 0;
    auto& below = h.root.Content()->Add<Widget>();
    below.SetBounds(0, 0, 400, 300);
    below.OnMouseDown = [&](const MouseEvent&) { ++contentPresses; };
    Open();
    h.Click({390, 290});
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_EQ(contentPresses, 0);
    EXPECT_EQ(log.back(), "close");
}

TEST_F(MenuFixture, HoverOpensSubmenusAndMenusStayInsideTheWindow) {
    // Opened at the bottom-right corner: flipped up and to the left of the point.
    const TPopupMenuLayer& view = Open({395, 295});
    const Rect top = view.Level(0).Bounds;
    EXPECT_EQ(top.right, 395);
    EXPECT_EQ(top.bottom, 295);
    // The submenu has no room on the right: it opens to the left of the panel.
    h.MoveTo(Centre(view, 0, 4));
    ASSERT_EQ(view.LevelCount(), 2u);
    const Rect sub = view.Level(1).Bounds;
    EXPECT_LE(sub.right, top.left + 3);
    EXPECT_GE(sub.left, 0);
    EXPECT_LE(sub.bottom, 300);
    // Leaving the submenu's parent for another item closes it.
    h.MoveTo(Centre(view, 0, 0));
    EXPECT_EQ(view.LevelCount(), 1u);
}

TEST_F(MenuFixture, MenusTallerThanTheWindowScroll) {
    TQelPopupMenu tall;
    for (int i = 0; i < 40; ++i) {
        tall.Items().Add("Entry " + std::to_string(i), i);
    }
    tall.Popup(h.root, {10, 10});
    TPopupMenuLayer& view = *tall.View();
    EXPECT_TRUE(view.Level(0).Scrollable);
    EXPECT_EQ(view.Level(0).Bounds.top, 0);
    EXPECT_EQ(view.Level(0).Bounds.Height(), 300);
    h.Key(Key::End);
    EXPECT_EQ(view.HotItem()->Caption, "Entry 39");
    const Rect last = view.ItemRect(0, 39);
    EXPECT_LE(last.bottom, 300) << "the chosen entry is scrolled into view";
    EXPECT_GT(view.Level(0).Scroll, 0);
}

TEST_F(MenuFixture, DestroyingAnOpenMenuClosesItsLayer) {
    {
        TQelPopupMenu temporary;
        temporary.Items().Add("x");
        temporary.Popup(h.root, {10, 10});
        EXPECT_EQ(h.root.OverlayCount(), 1u);
    }
    EXPECT_EQ(h.root.OverlayCount(), 0u);
    h.Click({15, 15}); // nothing left that refers to the menu
}

TEST(MenuLifetime, AMenuOutlivingItsOpenWindowIsSimplyClosed) {
    TQelPopupMenu menu;
    menu.Items().Add("x");
    {
        Harness h;
        menu.Popup(h.root, {5, 5});
        EXPECT_TRUE(menu.IsOpen());
    }
    EXPECT_FALSE(menu.IsOpen());
}

TEST_F(MenuFixture, DropDownButtonOpensItsMenuBelowItselfAndStaysDownMeanwhile) {
    auto& button = h.root.Content()->Add<TQelSpTBXSpeedButton>("Menu");
    button.SetBounds(50, 40, 60, 24);
    button.SetDropDownMenu(&menu);
    h.MoveTo({60, 50});
    h.Press({60, 50});
    ASSERT_TRUE(menu.IsOpen());
    EXPECT_EQ(menu.View()->Level(0).Bounds.TopLeft(), (Point{50, 64}));
    EXPECT_TRUE(button.IsDroppedDown());
    EXPECT_EQ(button.State(), TQelSpTBXSpeedButton::TState::Pressed);
    h.Release({60, 50});
    EXPECT_TRUE(menu.IsOpen()) << "the release at the opening point chooses nothing";
    h.Key(Key::Escape);
    EXPECT_FALSE(button.IsDroppedDown());
}

} // namespace
} // namespace ostinel::gui
