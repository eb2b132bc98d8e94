// The X11 window inside a parent window made here, driven through the X server: events sent to
// it (XSendEvent) and real pointer moves (XWarpPointer) reach the client, the client's pixels
// reach the screen, timers run on the real clock. Needs an X server: run under xvfb-run; the
// tests are skipped without DISPLAY. A screenshot of the parent goes to
// /tmp/ostinel-x11-child.png.
#include "platform/Window.h"
#include "platform_gui/RecordingClient.h"

#include "common/Error.h"
#include "graphics/Canvas.h"
#include "graphics/Png.h"
#include "graphics/Text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "support/X11TestDisplay.h" // after gtest: Xlib defines None

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

namespace ostinel::platform {
namespace {

using ostinel::test::OpenTestDisplay;

using test::RecordingClient;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

constexpr int kParentWidth = 400;
constexpr int kParentHeight = 300;
constexpr int kChildWidth = 320;
constexpr int kChildHeight = 200;
constexpr unsigned long kParentColor = 0x203040;

class X11WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no X display; run under xvfb-run";
        }
        display_ = OpenTestDisplay();
        ASSERT_NE(display_, nullptr);
        const int screen = DefaultScreen(display_);
        parent_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0, kParentWidth,
                                      kParentHeight, 0, 0, kParentColor);
        XSelectInput(display_, parent_, StructureNotifyMask);
        XMapWindow(display_, parent_);
        XEvent event;
        do {
            XNextEvent(display_, &event);
        } while (event.type != MapNotify);
        window_ = CreateChildWindow(reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent_)),
                                    kChildWidth, kChildHeight, client_);
        child_ = static_cast<::Window>(reinterpret_cast<std::uintptr_t>(window_->NativeHandle()));
        ASSERT_TRUE(PumpUntil([&] { return !client_.paints.empty(); }));
        client_.Take();
    }

    void TearDown() override {
        window_.reset();
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }

    // Pumps the child until the condition holds; false after 3 s.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < deadline) {
            window_->PumpEvents();
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    // Pumps until n lines are logged, then returns them.
    std::vector<std::string> Expect(std::size_t n) {
        PumpUntil([&] { return client_.log.size() >= n; });
        // Whatever else was coming has arrived by now too.
        XSync(display_, False);
        window_->PumpEvents();
        return client_.Take();
    }

    void SendButton(int type, unsigned button, int x, int y, unsigned state, Time time) {
        XEvent event{};
        XButtonEvent& e = event.xbutton;
        e.type = type;
        e.display = display_;
        e.window = child_;
        e.root = DefaultRootWindow(display_);
        e.time = time;
        e.x = x;
        e.y = y;
        e.state = state;
        e.button = button;
        e.same_screen = True;
        XSendEvent(display_, child_, False,
                   type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
        XSync(display_, False);
    }

    void SendKey(int type, KeySym keysym, unsigned state, Time time) {
        XEvent event{};
        XKeyEvent& e = event.xkey;
        e.type = type;
        e.display = display_;
        e.window = child_;
        e.root = DefaultRootWindow(display_);
        e.time = time;
        e.state = state;
        e.keycode = XKeysymToKeycode(display_, keysym);
        e.same_screen = True;
        XSendEvent(display_, child_, False, type == KeyPress ? KeyPressMask : KeyReleaseMask,
                   &event);
        XSync(display_, False);
    }

    void WarpPointer(::Window to, int x, int y) {
        XWarpPointer(display_, None, to, 0, 0, 0, 0, x, y);
        XSync(display_, False);
    }

    // The parent window as the screen shows it, opaque.
    gui::Image Screenshot() {
        XSync(display_, False);
        XImage* image =
            XGetImage(display_, parent_, 0, 0, kParentWidth, kParentHeight, AllPlanes, ZPixmap);
        EXPECT_NE(image, nullptr);
        gui::Image shot(kParentWidth, kParentHeight);
        if (image == nullptr) {
            return shot;
        }
        for (int y = 0; y < kParentHeight; ++y) {
            for (int x = 0; x < kParentWidth; ++x) {
                shot.SetPixel(x, y, gui::Color::Rgb(XGetPixel(image, x, y) & 0xFFFFFF));
            }
        }
        XDestroyImage(image);
        return shot;
    }

    Display* display_ = nullptr;
    ::Window parent_ = 0;
    ::Window child_ = 0;
    RecordingClient client_{kChildWidth, kChildHeight};
    std::unique_ptr<IPlatformWindow> window_;
};

TEST_F(X11WindowTest, ShowsTheClientsPixelsInsideTheParent) {
    gui::Canvas canvas(kChildWidth, kChildHeight, gui::Color::Rgb(0x2B2B2B));
    canvas.FillRoundRect({10, 10, 310, 110}, 8.0F, gui::Color{255, 255, 255, 200});
    gui::DrawTextInRect(canvas, gui::MakeFont("Segoe UI", 20), "Ostinel on X11", {10, 10, 310, 110},
                        gui::Color::Rgb(0x1A1A1A), gui::TextAlign::Center);
    canvas.FillRect({20, 130, 60, 170}, gui::Color::Rgb(0xFF0000));
    canvas.FillRect({80, 130, 120, 170}, gui::Color::Rgb(0x00FF00));
    canvas.FillRect({140, 130, 180, 170}, gui::Color::Rgb(0x0000FF));
    client_.surface = canvas.Surface();
    // A translucent corner: premultiplied, so it shows as its colour over black.
    client_.surface.SetPixel(kChildWidth - 1, kChildHeight - 1, gui::Color{255, 255, 255, 128});
    client_.onPaint = [](const Rect&) {};
    window_->Invalidate({0, 0, kChildWidth, kChildHeight});
    window_->PumpEvents();

    const gui::Image shot = Screenshot();
    gui::SavePng(shot, "/tmp/ostinel-x11-child.png");
    EXPECT_EQ(shot.GetPixel(40, 150), gui::Color::Rgb(0xFF0000));
    EXPECT_EQ(shot.GetPixel(100, 150), gui::Color::Rgb(0x00FF00));
    EXPECT_EQ(shot.GetPixel(160, 150), gui::Color::Rgb(0x0000FF));
    EXPECT_EQ(shot.GetPixel(5, 5), gui::Color::Rgb(0x2B2B2B));
    EXPECT_EQ(shot.GetPixel(kChildWidth - 1, kChildHeight - 1), gui::Color::Rgb(0x808080));
    EXPECT_EQ(shot.GetPixel(kChildWidth, 10), gui::Color::Rgb(kParentColor));
    EXPECT_EQ(shot.GetPixel(10, kChildHeight), gui::Color::Rgb(kParentColor));
}

TEST_F(X11WindowTest, ExposedAreasAreRepainted) {
    client_.paints.clear();
    XClearArea(display_, child_, 5, 6, 50, 40, True);
    XSync(display_, False);
    ASSERT_TRUE(PumpUntil([&] { return !client_.paints.empty(); }));
    EXPECT_THAT(client_.paints, ElementsAre(Rect{5, 6, 55, 46}));
}

TEST_F(X11WindowTest, MouseButtonsAndWheel) {
    SendButton(ButtonPress, Button1, 10, 20, ShiftMask, 1000);
    SendButton(ButtonRelease, Button1, 10, 20, ShiftMask | Button1Mask, 1010);
    SendButton(ButtonPress, Button1, 11, 21, 0, 1200); // within 500 ms and 2 px: double
    SendButton(ButtonRelease, Button1, 11, 21, Button1Mask, 1210);
    SendButton(ButtonPress, Button1, 11, 21, 0, 1300); // after a double click: a single again
    SendButton(ButtonPress, Button3, 30, 40, ControlMask | Mod1Mask, 5000);
    SendButton(ButtonRelease, Button3, 30, 40, Button3Mask, 5010);
    SendButton(ButtonPress, Button4, 30, 40, 0, 6000);
    SendButton(ButtonRelease, Button4, 30, 40, 0, 6001);
    SendButton(ButtonPress, Button5, 30, 40, 0, 6100);
    SendButton(ButtonPress, Button2, 1, 2, 0, 9000);
    SendButton(ButtonPress, Button2, 1, 2, 0, 9600); // too late for a double
    EXPECT_THAT(Expect(11),
                ElementsAre("down L 10,20 shift", "up L 10,20 shift", "down L 11,21 double",
                            "up L 11,21", "down L 11,21", "down R 30,40 ctrl alt", "up R 30,40",
                            "wheel 30,40 120", "wheel 30,40 -120", "down M 1,2", "down M 1,2"));
}

TEST_F(X11WindowTest, KeysAsVirtualKeysAndCharacters) {
    // Distinct times: a release and a press with one time stamp are an auto-repeat.
    SendKey(KeyPress, XK_a, 0, 100);
    SendKey(KeyRelease, XK_a, 0, 110);
    SendKey(KeyPress, XK_a, ShiftMask, 120);
    SendKey(KeyPress, XK_a, ShiftMask, 150); // held: the second press is a repeat
    SendKey(KeyRelease, XK_a, ShiftMask, 160);
    SendKey(KeyPress, XK_Return, 0, 170);
    SendKey(KeyPress, XK_c, ControlMask, 180);
    SendKey(KeyPress, XK_Delete, 0, 190);
    SendKey(KeyPress, XK_1, ShiftMask, 200);
    EXPECT_THAT(Expect(15),
                ElementsAre("keydown 0x41", "char 0x61", "keyup 0x41", "keydown 0x41 shift",
                            "char 0x41", "keydown 0x41 shift repeat", "char 0x41",
                            "keyup 0x41 shift", "keydown 0xD", "char 0xD", "keydown 0x43 ctrl",
                            "char 0x3", "keydown 0x2E", "keydown 0x31 shift", "char 0x21"));
}

TEST_F(X11WindowTest, RealPointerMovesLeaveAndPosition) {
    WarpPointer(child_, 15, 25);
    ASSERT_TRUE(PumpUntil([&] { return !client_.log.empty(); }));
    EXPECT_THAT(client_.Take(), Contains("move 15,25"));
    EXPECT_EQ(window_->CursorPos(), (Point{15, 25}));
    EXPECT_FALSE(window_->IsButtonDown(MouseButton::Left));

    WarpPointer(parent_, 350, 250);
    EXPECT_THAT(Expect(1), ElementsAre("leave"));
    EXPECT_EQ(window_->CursorPos(), (Point{350, 250})) << "outside the window, still known";
}

TEST_F(X11WindowTest, CaptureKeepsThePointerOutside) {
    WarpPointer(child_, 5, 5);
    Expect(1);
    window_->SetCursor(Cursor::SizeNS);
    window_->CaptureMouse();
    WarpPointer(parent_, 350, 250);
    ASSERT_TRUE(PumpUntil([&] {
        return std::find(client_.log.begin(), client_.log.end(), "move 350,250") !=
               client_.log.end();
    }));
    window_->ReleaseMouse();
    client_.Take();
    WarpPointer(parent_, 360, 260);
    window_->PumpEvents();
    XSync(display_, False);
    window_->PumpEvents();
    EXPECT_THAT(client_.Take(), Not(Contains("move 360,260")));
}

TEST_F(X11WindowTest, FocusComesAndGoes) {
    EXPECT_FALSE(window_->HasFocus());
    window_->Focus();
    EXPECT_TRUE(window_->HasFocus());
    EXPECT_THAT(client_.Take(), ElementsAre("focus in"));
    XSetInputFocus(display_, parent_, RevertToNone, CurrentTime);
    XSync(display_, False);
    ASSERT_TRUE(PumpUntil([&] { return !window_->HasFocus(); }));
    EXPECT_THAT(client_.Take(), ElementsAre("focus out"));
}

TEST_F(X11WindowTest, TimersRunOnTheRealClock) {
    window_->SetTimer(5, 20);
    ASSERT_TRUE(PumpUntil([&] { return client_.log.size() >= 2; }));
    window_->KillTimer(5);
    client_.Take();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    window_->PumpEvents();
    EXPECT_TRUE(client_.Take().empty());
}

TEST_F(X11WindowTest, DiscardDropsQueuedMouseInputOnly) {
    SendButton(ButtonPress, Button1, 10, 10, 0, 100);
    SendKey(KeyPress, XK_b, 0, 105);
    SendButton(ButtonRelease, Button1, 10, 10, Button1Mask, 110);
    // Let the events reach the window's connection before they are thrown away.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    window_->DiscardPendingMouseInput();
    EXPECT_THAT(Expect(2), ElementsAre("keydown 0x42", "char 0x62"));
}

TEST_F(X11WindowTest, BadParentsAreErrorsNotCrashes) {
    RecordingClient client{10, 10};
    EXPECT_THROW((void)CreateChildWindow(nullptr, 10, 10, client), Error);
    EXPECT_THROW(
        (void)CreateChildWindow(reinterpret_cast<void*>(std::uintptr_t{0x7FFFFF0}), 10, 10, client),
        Error);
    EXPECT_THROW((void)CreateChildWindow(
                     reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent_)), 0, 10, client),
                 Error);
}

// Hosts often destroy their window before they close the editor.
TEST_F(X11WindowTest, SurvivesTheParentGoingFirst) {
    XDestroyWindow(display_, parent_);
    XSync(display_, False);
    window_->Invalidate({0, 0, 10, 10});
    window_->SetTimer(1, 1);
    window_->PumpEvents();
    window_->SetCursor(Cursor::Hand);
    window_->CaptureMouse();
    window_->Focus();
    EXPECT_EQ(window_->CursorPos(), std::nullopt);
    window_.reset();
}

TEST_F(X11WindowTest, SurvivesTheParentGoingWithoutAPump) {
    XDestroyWindow(display_, parent_);
    XSync(display_, False);
    window_.reset();
}

// Compositing hosts may use a 32-bit ARGB parent: the child then needs its own visual's
// colormap, and its pixels must still come out right.
TEST(X11WindowInArgbParent, ShowsOpaquePixels) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display; run under xvfb-run";
    }
    Display* display = OpenTestDisplay();
    ASSERT_NE(display, nullptr);
    const int screen = DefaultScreen(display);
    XVisualInfo argb{};
    if (XMatchVisualInfo(display, screen, 32, TrueColor, &argb) == 0) {
        XCloseDisplay(display);
        GTEST_SKIP() << "the server has no 32-bit visual";
    }
    XSetWindowAttributes attributes{};
    attributes.colormap =
        XCreateColormap(display, RootWindow(display, screen), argb.visual, AllocNone);
    attributes.border_pixel = 0;
    attributes.background_pixel = 0xFF102030;
    attributes.event_mask = StructureNotifyMask;
    const ::Window parent = XCreateWindow(
        display, RootWindow(display, screen), 0, 0, 100, 80, 0, 32, InputOutput, argb.visual,
        CWColormap | CWBorderPixel | CWBackPixel | CWEventMask, &attributes);
    XMapWindow(display, parent);
    XEvent event;
    do {
        XNextEvent(display, &event);
    } while (event.type != MapNotify);
    {
        RecordingClient client{60, 40};
        client.paintColor = gui::Color::Rgb(0xC08040);
        auto window = CreateChildWindow(
            reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)), 60, 40, client);
        window->PumpEvents();
        XSync(display, False);
        XImage* image = XGetImage(display, parent, 0, 0, 100, 80, AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(XGetPixel(image, 30, 20) & 0xFFFFFF, 0xC08040u);
        EXPECT_EQ(XGetPixel(image, 80, 60) & 0xFFFFFF, 0x102030u);
        XDestroyImage(image);
    }
    XDestroyWindow(display, parent);
    XFreeColormap(display, attributes.colormap);
    XCloseDisplay(display);
}

} // namespace
} // namespace ostinel::platform
