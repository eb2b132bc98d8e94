// A host on X11: it makes its own top-level window, loads the built plug-in binary through
// VSTPluginMain, opens the editor into that window with effEditOpen (the X11 window id), drives
// it with effEditIdle calls, takes a screenshot of its window (/tmp/ostinel-editor-x11.png)
// and clicks with the real pointer (XTest). Needs an X server: run under xvfb-run; skipped
// without DISPLAY.
#include "graphics/Png.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/widgets/WidgetRoot.h"
#include "ostinel/EditorSnapshot.h"
#include "support/EditorHostChecks.h"
#include "support/EditorScreens.h"
#include "support/FakeHost.h"
#include "support/MapEditorPoints.h"
#include "support/PluginInstance.h"
#include "support/StateBuilder.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include "support/X11TestDisplay.h" // after gtest: Xlib defines None

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <thread>

namespace ostinel::test {
namespace {

using gui::Color;
using gui::Point;
using gui::Rect;

constexpr int kParentWidth = 1000;
constexpr int kParentHeight = 660;
constexpr unsigned long kParentColor = 0x405060;

class EditorHostX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no X display; run under xvfb-run";
        }
        display_ = OpenTestDisplay();
        ASSERT_NE(display_, nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        ASSERT_TRUE(XTestQueryExtension(display_, &event, &error, &major, &minor))
            << "the X server has no XTEST extension";
        const int screen = DefaultScreen(display_);
        parent_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0, kParentWidth,
                                      kParentHeight, 0, 0, kParentColor);
        XSelectInput(display_, parent_, StructureNotifyMask);
        XMapWindow(display_, parent_);
        XEvent e;
        do {
            XNextEvent(display_, &e);
        } while (e.type != MapNotify);
        plugin_ = std::make_unique<Instance>();
    }

    void TearDown() override {
        plugin_.reset(); // effClose releases an editor still open
        if (display_ != nullptr) {
            if (parent_ != 0) {
                XDestroyWindow(display_, parent_);
            }
            XCloseDisplay(display_);
        }
    }

    [[nodiscard]] void* ParentHandle() const {
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent_));
    }

    // The windows the plug-in made inside ours.
    std::vector<::Window> Children() { return ostinel::test::ChildWindows(display_, parent_); }

    // Our window as the screen shows it.
    gui::Image Screenshot() {
        XSync(display_, False);
        XImage* image =
            XGetImage(display_, parent_, 0, 0, kParentWidth, kParentHeight, AllPlanes, ZPixmap);
        gui::Image shot(kParentWidth, kParentHeight);
        if (image == nullptr) {
            ADD_FAILURE() << "XGetImage failed";
            return shot;
        }
        for (int y = 0; y < kParentHeight; ++y) {
            for (int x = 0; x < kParentWidth; ++x) {
                shot.SetPixel(x, y, Color::Rgb(XGetPixel(image, x, y) & 0xFFFFFF));
            }
        }
        XDestroyImage(image);
        return shot;
    }

    // Host idle calls (as a host's timer would make them) until the screenshot satisfies the
    // condition; false after 5 s.
    bool IdleUntil(const std::function<bool(const gui::Image&)>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            (void)plugin_->Dispatch(vst::effEditIdle);
            if (done(Screenshot())) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        }
        return false;
    }

    // A real click: the server's pointer moves there and the button goes down and up.
    void ClickAt(Point inParent) {
        MoveTo(inParent);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XSync(display_, False);
    }
    // The server's pointer moves to a point of our window.
    void MoveTo(Point inParent) {
        int x = 0, y = 0;
        ::Window child = 0;
        XTranslateCoordinates(display_, parent_, DefaultRootWindow(display_), inParent.x,
                              inParent.y, &x, &y, &child);
        XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
        XSync(display_, False);
    }
    void LeftButton(bool down) {
        XTestFakeButtonEvent(display_, 1, down ? True : False, CurrentTime);
        XSync(display_, False);
    }

    // Host idle calls until the state the plug-in returns satisfies the condition; false
    // after 5 s.
    bool IdleUntilState(const std::function<bool(const TOstinel&)>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            (void)plugin_->Dispatch(vst::effEditIdle);
            if (done(*MapOfChunk(plugin_->GetChunk(true)))) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        }
        return false;
    }
    // A few idle calls, so that what the server has sent is handled.
    void IdleBriefly() {
        for (int i = 0; i < 3; ++i) {
            (void)plugin_->Dispatch(vst::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    Display* display_ = nullptr;
    ::Window parent_ = 0;
    FakeHost host_;
    std::unique_ptr<Instance> plugin_;
};

TEST_F(EditorHostX11Test, EditorOpensInsideTheHostsWindowAndAnswersARealClick) {
    // A state load fails before the editor opens: its message waits for the editor.
    (void)plugin_->SetChunk(BadChunk(), true);

    ASSERT_EQ(plugin_->Dispatch(vst::effEditOpen, 0, 0, ParentHandle()), 1);
    vst::ERect* rect = nullptr;
    ASSERT_EQ(plugin_->Dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->bottom, kEditorHeight);
    EXPECT_EQ(rect->right, kEditorWidth);

    const std::vector<::Window> children = Children();
    ASSERT_EQ(children.size(), 1u) << "one child window in the host's window";
    XWindowAttributes attributes{};
    ASSERT_NE(XGetWindowAttributes(display_, children[0], &attributes), 0);
    EXPECT_EQ(attributes.x, 0);
    EXPECT_EQ(attributes.y, 0);
    EXPECT_EQ(attributes.width, kEditorWidth);
    EXPECT_EQ(attributes.height, kEditorHeight);
    EXPECT_EQ(attributes.map_state, IsViewable);

    // The frame appears through the idle calls: the tile, exactly, in the margins.
    const Rect ok = LoadErrorOkButton();
    const Point okCentre{(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2};
    // A bare spot of the map area's panel below the box: what shows at the button's place
    // once the box has gone, whatever the skin. (The box dims the whole window while it is up,
    // so the margins are checked after it has gone.)
    const Point bare{okCentre.x, 500};
    ASSERT_TRUE(IdleUntil([&](const gui::Image& shot) {
        return shot.GetPixel(okCentre.x, okCentre.y) != shot.GetPixel(bare.x, bare.y) &&
               shot.GetPixel(bare.x, bare.y) != Color::Rgb(0) &&
               shot.GetPixel(kEditorWidth + 10, 10) == Color::Rgb(kParentColor);
    }));
    const gui::Image withBox = Screenshot();
    gui::SavePng(withBox, "/tmp/ostinel-editor-x11.png");
    EXPECT_EQ(withBox.GetPixel(kEditorWidth, kEditorHeight), Color::Rgb(kParentColor))
        << "the host's window around the editor is left alone";

    // The window has the keyboard focus (the box took it; the focus timer keeps it).
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    EXPECT_EQ(focus, children[0]);

    // Clicking OK with the real pointer closes the box.
    ClickAt(okCentre);
    ASSERT_TRUE(IdleUntil([&](const gui::Image& shot) {
        return shot.GetPixel(okCentre.x, okCentre.y) == shot.GetPixel(bare.x, bare.y) &&
               MarginsShowTheTile(shot, kEditorWidth, kEditorHeight);
    })) << "the box did not close; see /tmp/ostinel-editor-x11.png";
    gui::SavePng(Screenshot(), "/tmp/ostinel-editor-x11-closed.png");

    EXPECT_EQ(plugin_->Dispatch(vst::effEditClose), 0);
    EXPECT_TRUE(Children().empty()) << "effEditClose removes the window";
}

TEST_F(EditorHostX11Test, ReopeningMakesAFreshWindowEachTime) {
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(plugin_->Dispatch(vst::effEditOpen, 0, 0, ParentHandle()), 1) << round;
        ASSERT_EQ(Children().size(), 1u) << round;
        ASSERT_TRUE(IdleUntil([](const gui::Image& shot) {
            return shot.GetPixel(1, 300).r == gui::kEditorBackgroundGround;
        })) << round;
        EXPECT_EQ(plugin_->Dispatch(vst::effEditClose), 0);
        EXPECT_TRUE(Children().empty()) << round;
    }
}

TEST_F(EditorHostX11Test, RealPointerSelectsAChannelSwitchesItOnAndDragsACell) {
    ASSERT_EQ(plugin_->Dispatch(vst::effEditOpen, 0, 0, ParentHandle()), 1);
    ASSERT_TRUE(IdleUntil([](const gui::Image& shot) {
        return shot.GetPixel(1, 300).r == gui::kEditorBackgroundGround;
    }));
    constexpr int kChannel = 9; // button 10
    constexpr int kTopNote = 127;
    ASSERT_FALSE(MapOfChunk(plugin_->GetChunk(true))->GetItem(kChannel).Active());

    ClickAt(ChannelButtonCentre(kChannel + 1));
    ASSERT_TRUE(IdleUntilState([](const TOstinel& map) {
        return map.SelectedChannel() == kChannel;
    })) << "button 10 did not select channel 10";
    ClickAt(ActiveSwitchCentre());
    ASSERT_TRUE(IdleUntilState([](const TOstinel& map) { return map.GetItem(kChannel).Active(); }))
        << "the switch did not make channel 10 active";

    // A drag up on the 1-Ch cell of the top row: one step per move event that arrives. The
    // window keeps only the latest of motions queued together; idle calls between the moves
    // let each arrive alone, but the check allows for coalescing.
    constexpr int kMoves = 8;
    const float before =
        MapOfChunk(plugin_->GetChunk(true))->GetItem(kChannel).Notes[kTopNote].Targets[0].Channel();
    ASSERT_EQ(before, 10.0f);
    const int automationsBefore = host_.CountRequests(vst::audioMasterAutomate);
    Point p = GridCellCentre(1, 1);
    MoveTo(p);
    IdleBriefly();
    LeftButton(true);
    IdleBriefly();
    for (int i = 0; i < kMoves; ++i) {
        p.y -= 2;
        MoveTo(p);
        IdleBriefly();
    }
    LeftButton(false);
    ASSERT_TRUE(IdleUntilState([&](const TOstinel& map) {
        return map.GetItem(kChannel).Notes[kTopNote].Targets[0].Channel() != before;
    })) << "the drag did not change the cell";
    IdleBriefly();

    ExpectOnlyTheDraggedCellChanged(*plugin_, host_,
                                    {.channel = kChannel,
                                     .note = kTopNote,
                                     .before = before,
                                     .moves = kMoves,
                                     .automationsBefore = automationsBefore});
    EXPECT_EQ(plugin_->Dispatch(vst::effEditClose), 0);
}

} // namespace
} // namespace ostinel::test
