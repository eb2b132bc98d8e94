// The X11 top-level window of a program that hosts an editor: its title as window managers read
// it, a close from the window manager, child placement, and shortcuts pressed with the real
// keyboard (XTest) while a child window on another connection (as a plug-in's editor) has the
// focus. Needs an X server: run under xvfb-run; skipped without DISPLAY.
#include "platform/Window.h"
#include "platform_gui/RecordingClient.h"
#include "platform_gui/ScopedEnvironment.h"

#include "common/Error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "support/X11TestDisplay.h" // after gtest: Xlib defines None

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <thread>

namespace ostinel::platform {
namespace {

using ::testing::Contains;
using ::testing::Not;

constexpr int kSaveId = 7;

struct TopLevelRecorder : ITopLevelClient {
    virtual ~TopLevelRecorder() = default;
    void OnCloseRequest() override { ++closes; }
    void OnShortcut(int id) override { shortcuts.push_back(id); }
    int closes = 0;
    std::vector<int> shortcuts;
};

::Window Xid(void* handle) {
    return static_cast<::Window>(reinterpret_cast<std::uintptr_t>(handle));
}

TEST(X11TopLevelWithoutDisplay, SaysItCannotOpenTheDisplay) {
    const test::ScopedEnvironment noDisplay("DISPLAY", std::nullopt);
    TopLevelRecorder client;
    try {
        (void)CreateTopLevelWindow("Ostinel", 200, 100, client);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("cannot open display"));
    }
}

class X11TopLevelTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no X display; run under xvfb-run";
        }
        display_ = ostinel::test::OpenTestDisplay();
        ASSERT_NE(display_, nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        ASSERT_TRUE(XTestQueryExtension(display_, &event, &error, &major, &minor));
        window_ = CreateTopLevelWindow("Grüße.quorvatp - Ostinel", 400, 300, client_);
        window_->AddShortcut(kSaveId, Key::LetterA + ('S' - 'A'), {.ctrl = true});
        window_->Show();
        top_ = Xid(window_->NativeHandle());
        ASSERT_TRUE(Until([&] {
            XWindowAttributes a{};
            return XGetWindowAttributes(display_, top_, &a) != 0 && a.map_state == IsViewable;
        }));
    }
    void TearDown() override {
        child_.reset();
        window_.reset();
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }

    // Pumps the windows until the condition holds; false after 3 s.
    bool Until(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < deadline) {
            XSync(display_, False);
            window_->PumpEvents();
            if (child_) {
                child_->PumpEvents();
            }
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    std::string Property(const char* name) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string text;
        if (XGetWindowProperty(display_, top_, XInternAtom(display_, name, False), 0, 1024, False,
                               AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
            data != nullptr) {
            text.assign(reinterpret_cast<const char*>(data), count);
            XFree(data);
        }
        return text;
    }

    void Key(KeySym sym, bool withControl) {
        const KeyCode control = XKeysymToKeycode(display_, XK_Control_L);
        const KeyCode key = XKeysymToKeycode(display_, sym);
        if (withControl) {
            XTestFakeKeyEvent(display_, control, True, CurrentTime);
        }
        XTestFakeKeyEvent(display_, key, True, CurrentTime);
        XTestFakeKeyEvent(display_, key, False, CurrentTime);
        if (withControl) {
            XTestFakeKeyEvent(display_, control, False, CurrentTime);
        }
        XSync(display_, False);
    }

    Display* display_ = nullptr;
    TopLevelRecorder client_;
    std::unique_ptr<ITopLevelWindow> window_;
    ::Window top_ = 0;
    test::RecordingClient childClient_{400, 300};
    std::unique_ptr<IPlatformWindow> child_;
};

TEST_F(X11TopLevelTest, TitleIsUtf8ForWindowManagers) {
    EXPECT_EQ(Property("_NET_WM_NAME"), "Grüße.quorvatp - Ostinel");
    window_->SetTitle("Grüße.quorvatp* - Ostinel");
    EXPECT_EQ(window_->Title(), "Grüße.quorvatp* - Ostinel");
    EXPECT_EQ(Property("_NET_WM_NAME"), "Grüße.quorvatp* - Ostinel");
    EXPECT_EQ(Property("WM_NAME"), "Grüße.quorvatp* - Ostinel");
}

TEST_F(X11TopLevelTest, AWindowManagerCloseIsARequestTheWindowSurvives) {
    ostinel::test::SendCloseRequest(display_, top_);
    ASSERT_TRUE(Until([&] { return client_.closes == 1; }));
    EXPECT_FALSE(window_->Destroyed());
}

TEST_F(X11TopLevelTest, PlaceChildMovesAChildAboveItsSiblings) {
    child_ = CreateChildWindow(window_->NativeHandle(), 100, 50, childClient_);
    window_->PlaceChild(child_->NativeHandle(), Rect::FromSize(150, 125, 100, 50));
    XSync(display_, False);
    XWindowAttributes a{};
    ASSERT_NE(XGetWindowAttributes(display_, Xid(child_->NativeHandle()), &a), 0);
    EXPECT_EQ(a.x, 150);
    EXPECT_EQ(a.y, 125);
}

TEST_F(X11TopLevelTest, CtrlSReachesTheWindowWhileAChildOnAnotherConnectionHasTheFocus) {
    child_ = CreateChildWindow(window_->NativeHandle(), 400, 300, childClient_);
    ASSERT_TRUE(Until([&] { return !childClient_.paints.empty(); }));
    XSetInputFocus(display_, Xid(child_->NativeHandle()), RevertToParent, CurrentTime);
    ASSERT_TRUE(Until([&] { return child_->HasFocus(); }));
    childClient_.Take();

    Key(XK_s, true);
    ASSERT_TRUE(Until([&] { return client_.shortcuts.size() == 1; }));
    EXPECT_EQ(client_.shortcuts.front(), kSaveId);
    // The plain key still belongs to the focused child.
    Key(XK_s, false);
    ASSERT_TRUE(Until([&] {
        const auto& log = childClient_.log;
        return std::find(log.begin(), log.end(), "keydown 0x53") != log.end();
    }));
    EXPECT_EQ(client_.shortcuts.size(), 1u);
    EXPECT_THAT(childClient_.log, Not(Contains("keydown 0x53 ctrl")))
        << "the child never sees the shortcut";
}

} // namespace
} // namespace ostinel::platform
