#include "gui/widgets/WidgetRoot.h"
#include "gui/widgets/Timer.h"

#include "gui/WidgetTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ostinel::gui {
namespace {

namespace Key = platform::Key;
using platform::MouseButton;
using test::Harness;

// Records what reaches it, in local coordinates; consumes mouse events when told to.
class Probe : public Widget {
public:
    explicit Probe(std::string name, bool consume = true)
        : name_(std::move(name)), consume_(consume) {}

    bool MouseDown(const MouseEvent& e) override {
        log.push_back("down " + At(e.pos));
        return consume_;
    }
    bool MouseUp(const MouseEvent& e) override {
        log.push_back("up " + At(e.pos));
        return consume_;
    }
    bool MouseMove(Point p, Modifiers) override {
        log.push_back("move " + At(p));
        return false;
    }
    bool MouseWheel(const WheelEvent& e) override {
        log.push_back("wheel " + At(e.pos));
        return consumeWheel;
    }
    void MouseEnter() override {
        if (logHover) {
            log.push_back("enter");
        }
    }
    void MouseLeave() override {
        if (logHover) {
            log.push_back("leave");
        }
    }
    bool KeyDown(const KeyEvent& e) override {
        log.push_back("key " + std::to_string(e.key));
        return consumeKeys;
    }
    void FocusEnter(FocusReason) override { log.push_back("focus"); }
    void FocusExit() override { log.push_back("blur"); }
    [[nodiscard]] bool IsButtonControl() const override { return button; }

    std::string At(Point p) const {
        return name_ + "@" + std::to_string(p.x) + "," + std::to_string(p.y);
    }

    std::vector<std::string> log;
    bool consumeWheel = false;
    bool consumeKeys = false;
    bool button = false;
    bool logHover = false;

private:
    std::string name_;
    bool consume_;
};

TEST(WidgetRootRouting, PressGoesToTopMostChildInLocalCoordinatesAndBubblesToParent) {
    Harness h;
    auto& parent = h.root.Content()->Add<Probe>("parent");
    parent.SetBounds(10, 10, 200, 100);
    auto& below = parent.Add<Probe>("below");
    below.SetBounds(0, 0, 50, 50);
    auto& above = parent.Add<Probe>("above", /*consume=*/false);
    above.SetBounds(20, 20, 50, 50);

    h.Press({40, 40}); // inside both children: the later one is on top
    EXPECT_EQ(above.log, std::vector<std::string>{"down above@10,10"});
    EXPECT_TRUE(below.log.empty()) << "a sibling underneath never sees the press";
    EXPECT_EQ(parent.log.back(), "down parent@30,30");
    EXPECT_EQ(h.root.MouseGrab(), &parent);
}

TEST(WidgetRootRouting, GrabKeepsMovesAndReleaseWithTheWidgetThatTookThePress) {
    Harness h;
    auto& a = h.root.Content()->Add<Probe>("a");
    a.SetBounds(0, 0, 50, 50);
    auto& b = h.root.Content()->Add<Probe>("b");
    b.SetBounds(100, 0, 50, 50);
    b.logHover = true;

    h.Press({10, 10});
    EXPECT_TRUE(h.window.captured);
    h.MoveTo({120, 10}); // over b, but a holds the pointer
    h.Release({120, 10});
    EXPECT_EQ(a.log, (std::vector<std::string>{"down a@10,10", "move a@120,10", "up a@120,10"}));
    EXPECT_EQ(std::count(b.log.begin(), b.log.end(), "enter"), 1) << "hover moves after release";
    EXPECT_FALSE(h.window.captured);
    EXPECT_EQ(h.root.MouseGrab(), nullptr);
}

TEST(WidgetRootRouting, DisabledWidgetSwallowsPressesAndHiddenOnesAreSkipped) {
    Harness h;
    auto& back = h.root.Content()->Add<Probe>("back");
    back.SetBounds(0, 0, 100, 100);
    auto& front = h.root.Content()->Add<Probe>("front");
    front.SetBounds(0, 0, 100, 100);

    front.SetEnabled(false);
    h.Press({5, 5});
    h.Release({5, 5});
    EXPECT_TRUE(back.log.empty());

    front.SetVisible(false);
    h.Press({5, 5});
    EXPECT_EQ(back.log.back(), "down back@5,5");
}

TEST(WidgetRootRouting, WheelGoesUnderThePointerAndBubblesUntilConsumed) {
    Harness h;
    auto& outer = h.root.Content()->Add<Probe>("outer");
    outer.SetBounds(0, 0, 100, 100);
    outer.consumeWheel = true;
    auto& inner = outer.Add<Probe>("inner");
    inner.SetBounds(10, 10, 20, 20);

    h.Wheel({15, 15}, -120);
    EXPECT_EQ(inner.log.back(), "wheel inner@5,5");
    EXPECT_EQ(outer.log.back(), "wheel outer@15,15");
}

TEST(WidgetRootRouting, KeysGoToTheFocusedWidgetAndBubbleToItsParents) {
    Harness h;
    auto& panel = h.root.Content()->Add<Probe>("panel");
    panel.SetBounds(0, 0, 100, 100);
    panel.consumeKeys = true;
    auto& field = panel.Add<Probe>("field");
    field.SetBounds(0, 0, 10, 10);
    field.SetFocusable(true);
    ASSERT_TRUE(field.SetFocus());

    h.Key(Key::Return);
    EXPECT_EQ(field.log.back(), "key 13");
    EXPECT_EQ(panel.log.back(), "key 13");
}

TEST(WidgetRootFocus, TabCyclesThroughTabStopsInTreeOrderBothWays) {
    Harness h;
    std::vector<Probe*> stops;
    for (int i = 0; i < 3; ++i) {
        auto& p = h.root.Content()->Add<Probe>("p" + std::to_string(i));
        p.SetBounds(i * 20, 0, 10, 10);
        p.SetFocusable(true);
        p.SetTabStop(i != 1); // the middle one is focusable but not a tab stop
        stops.push_back(&p);
    }
    ASSERT_TRUE(stops[0]->SetFocus());
    h.Key(Key::Tab);
    EXPECT_TRUE(stops[2]->HasFocus());
    h.Key(Key::Tab);
    EXPECT_TRUE(stops[0]->HasFocus()) << "wraps around";
    h.Key(Key::Tab, test::kShift);
    EXPECT_TRUE(stops[2]->HasFocus());
}

TEST(WidgetRootFocus, HidingTheFocusedWidgetDropsTheFocus) {
    Harness h;
    auto& p = h.root.Content()->Add<Probe>("p");
    p.SetBounds(0, 0, 10, 10);
    p.SetFocusable(true);
    ASSERT_TRUE(p.SetFocus());
    p.SetVisible(false);
    EXPECT_EQ(h.root.FocusedWidget(), nullptr);
    EXPECT_EQ(p.log.back(), "blur");
    EXPECT_FALSE(p.SetFocus()) << "a hidden widget cannot take the focus";
}

TEST(WidgetRootFocus, TheNativeWindowIsAskedForTheFocusWhenAWidgetTakesIt) {
    Harness h;
    auto& p = h.root.Content()->Add<Probe>("p");
    p.SetBounds(0, 0, 10, 10);
    p.SetFocusable(true);
    ASSERT_TRUE(p.SetFocus());
    EXPECT_TRUE(h.window.focused);
    // The host took the keyboard; the widget still holds the focus inside the tree.
    h.window.focused = false;
    h.root.OnFocusChanged(false);
    ASSERT_TRUE(p.SetFocus());
    EXPECT_TRUE(h.window.focused);
}

// The focus-under-cursor rule: after a wheel event the widget under the pointer (or its
// nearest focusable ancestor) takes the focus, unless it is a button.
TEST(WidgetRootFocus, FocusMovesToTheControlUnderTheCursorAfterAWheelEvent) {
    Harness h;
    auto& panel = h.root.Content()->Add<Probe>("panel");
    panel.SetBounds(0, 0, 200, 100);
    panel.SetFocusable(true);
    auto& input = panel.Add<Probe>("input");
    input.SetBounds(10, 10, 40, 20);
    input.SetFocusable(true);
    auto& label = panel.Add<Probe>("label"); // not focusable: its panel takes the focus
    label.SetBounds(60, 10, 40, 20);
    auto& button = panel.Add<Probe>("button");
    button.SetBounds(110, 10, 40, 20);
    button.SetFocusable(true);
    button.button = true;

    h.Wheel({20, 20}, 120);
    EXPECT_EQ(h.root.FocusedWidget(), &input);
    h.Wheel({70, 20}, 120);
    EXPECT_EQ(h.root.FocusedWidget(), &panel);
    h.Wheel({120, 20}, 120);
    EXPECT_EQ(h.root.FocusedWidget(), &panel) << "buttons never take the focus this way";

    h.window.cursorPos.reset(); // position cannot be read: nothing happens
    h.root.FocusControlUnderCursor();
    EXPECT_EQ(h.root.FocusedWidget(), &panel);
}

TEST(WidgetRootFocus, IsControlUnderCursorLooksAtTheDeepestWidgetAtThePointer) {
    Harness h;
    auto& panel = h.root.Content()->Add<Probe>("panel");
    panel.SetBounds(0, 0, 100, 100);
    auto& input = panel.Add<Probe>("input");
    input.SetBounds(10, 10, 20, 20);
    h.window.cursorPos = Point{15, 15};
    EXPECT_TRUE(IsControlUnderCursor(input));
    EXPECT_FALSE(IsControlUnderCursor(panel));
    h.window.cursorPos = Point{50, 50};
    EXPECT_FALSE(IsControlUnderCursor(input));
    h.window.cursorPos.reset();
    EXPECT_FALSE(IsControlUnderCursor(panel));
}

// ---- Overlays ------------------------------------------------------------------------------

class PassThroughLayer : public TOverlayLayer {
public:
    bool MouseDown(const MouseEvent&) override {
        Close();
        return false; // closes and lets the press reach what lies below
    }
};

TEST(WidgetRootOverlay, ModalLayerSwallowsInputAndRestoresTheFocusWhenClosed) {
    Harness h;
    auto& field = h.root.Content()->Add<Probe>("field");
    field.SetBounds(0, 0, 50, 50);
    field.SetFocusable(true);
    ASSERT_TRUE(field.SetFocus());

    auto& layer = h.root.PushOverlay(std::make_unique<TOverlayLayer>());
    EXPECT_EQ(h.root.FocusedWidget(), &layer);
    EXPECT_EQ(field.log.back(), "blur");
    h.Press({10, 10});
    h.Release({10, 10});
    h.Wheel({10, 10}, 120);
    h.Key(Key::Space);
    EXPECT_EQ(std::count_if(field.log.begin(), field.log.end(),
                            [](const std::string& s) {
                                return s.rfind("focus", 0) != 0 && s.rfind("blur", 0) != 0;
                            }),
              0);

    // Something below asks for the focus meanwhile: it gets it once the layer is gone.
    layer.Close();
    EXPECT_EQ(h.root.OverlayCount(), 0u);
    EXPECT_EQ(h.root.FocusedWidget(), &field);
}

TEST(WidgetRootOverlay, FocusRequestedUnderAModalLayerWaitsForTheLayerToClose) {
    Harness h;
    auto& a = h.root.Content()->Add<Probe>("a");
    a.SetFocusable(true);
    a.SetBounds(0, 0, 10, 10);
    auto& b = h.root.Content()->Add<Probe>("b");
    b.SetFocusable(true);
    b.SetBounds(20, 0, 10, 10);
    ASSERT_TRUE(a.SetFocus());
    auto& layer = h.root.PushOverlay(std::make_unique<TOverlayLayer>());
    EXPECT_TRUE(b.SetFocus());
    EXPECT_EQ(h.root.FocusedWidget(), &layer);
    layer.Close();
    EXPECT_EQ(h.root.FocusedWidget(), &b);
}

TEST(WidgetRootOverlay, LayerThatClosesOnAPressPassesItToTheContent) {
    Harness h;
    auto& target = h.root.Content()->Add<Probe>("target");
    target.SetBounds(0, 0, 50, 50);
    h.root.PushOverlay(std::make_unique<PassThroughLayer>());
    h.Press({10, 10});
    EXPECT_EQ(h.root.OverlayCount(), 0u);
    EXPECT_EQ(target.log.back(), "down target@10,10");
    EXPECT_EQ(h.root.MouseGrab(), &target);
}

TEST(WidgetRootOverlay, LayerOpenedDuringAPressTakesOverThePointer) {
    Harness h;
    auto& opener = h.root.Content()->Add<Probe>("opener");
    opener.SetBounds(0, 0, 50, 50);
    h.Press({10, 10});
    ASSERT_EQ(h.root.MouseGrab(), &opener);
    auto& layer = h.root.PushOverlay(std::make_unique<TOverlayLayer>());
    EXPECT_EQ(h.root.MouseGrab(), &layer);
    h.Release({10, 10});
    EXPECT_EQ(opener.log.back(), "down opener@10,10") << "the release went to the layer";
}

TEST(WidgetRootPaint, InvalidationCollectsMergedRootRectanglesAndTellsTheWindow) {
    Harness h;
    auto& panel = h.root.Content()->Add<Widget>();
    panel.SetBounds(100, 50, 100, 100);
    auto& child = panel.Add<Widget>();
    child.SetBounds(10, 10, 30, 30);
    h.root.Update();
    h.window.invalidated.clear();

    child.Invalidate({0, 0, 5, 5});
    ASSERT_EQ(h.root.DirtyRects().size(), 1u);
    EXPECT_EQ(h.root.DirtyRects()[0], (Rect{110, 60, 115, 65}));
    EXPECT_EQ(h.window.invalidated.back(), (Rect{110, 60, 115, 65}));
    child.Invalidate({3, 3, 8, 8}); // overlaps: merged
    ASSERT_EQ(h.root.DirtyRects().size(), 1u);
    EXPECT_EQ(h.root.DirtyRects()[0], (Rect{110, 60, 118, 68}));

    h.root.Update();
    EXPECT_TRUE(h.root.DirtyRects().empty());
    panel.SetVisible(false);
    h.root.Update();
    child.Invalidate();
    EXPECT_TRUE(h.root.DirtyRects().empty()) << "hidden widgets ask for nothing";
}

TEST(WidgetRootTimer, TimersRunOnTheWindowClockAndStartWhenTheWindowArrives) {
    test::FakeWindow window(100, 100);
    WidgetRoot root(100, 100);
    TTimer timer(root, 100);
    int fired = 0;
    timer.OnTimer = [&] { ++fired; };
    timer.Start(); // no window yet
    root.AttachWindow(&window);
    window.Advance(99, root);
    EXPECT_EQ(fired, 0);
    window.Advance(1, root);
    EXPECT_EQ(fired, 1);
    window.Advance(250, root);
    EXPECT_EQ(fired, 3) << "repeats";
    timer.Stop();
    window.Advance(1000, root);
    EXPECT_EQ(fired, 3);
    root.AttachWindow(nullptr);
}

class MenuStub final : public IContextMenu {
public:
    void PopupAt(WidgetRoot&, Point p) override { at.push_back(p); }
    std::vector<Point> at;
};

TEST(WidgetRootContextMenu, RightReleaseOpensTheNearestPopupMenuAtThePointer) {
    Harness h;
    MenuStub menu;
    auto& panel = h.root.Content()->Add<Widget>();
    panel.SetBounds(0, 0, 100, 100);
    panel.SetPopupMenu(&menu);
    auto& child = panel.Add<Probe>("child", /*consume=*/false);
    child.SetBounds(10, 10, 20, 20);

    h.Press({15, 15}, MouseButton::Right);
    EXPECT_TRUE(menu.at.empty()) << "opens on the release";
    h.Release({15, 15}, MouseButton::Right);
    ASSERT_EQ(menu.at.size(), 1u);
    EXPECT_EQ(menu.at[0], (Point{15, 15}));
}

} // namespace
} // namespace ostinel::gui
