// The Win32 top-level window of a program that hosts an editor, under wine in CI: the title,
// WM_CLOSE as a request, child placement, and shortcuts taken out of the message loop while a
// child window (as a plug-in's editor) has the focus.
#include "platform/Window.h"
#include "platform_gui/RecordingClient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/win32/WinApi.h"

#include <array>
#include <memory>

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

// Holds Ctrl in this thread's key state, as a real press would, for as long as it lives.
class HeldControl {
public:
    HeldControl() { Set(0x80); }
    ~HeldControl() { Set(0); }
    HeldControl(const HeldControl&) = delete;
    HeldControl& operator=(const HeldControl&) = delete;

private:
    static void Set(BYTE state) {
        std::array<BYTE, 256> keys{};
        ::GetKeyboardState(keys.data());
        keys[VK_CONTROL] = state;
        keys[VK_LCONTROL] = state;
        ::SetKeyboardState(keys.data());
    }
};

class Win32TopLevelTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateTopLevelWindow("Grüße.quorvatp - Ostinel", 400, 300, client_);
        window_->AddShortcut(kSaveId, Key::LetterA + ('S' - 'A'), {.ctrl = true});
        window_->Show();
        top_ = static_cast<HWND>(window_->NativeHandle());
        ASSERT_NE(top_, nullptr);
        window_->PumpEvents();
    }

    TopLevelRecorder client_;
    std::unique_ptr<ITopLevelWindow> window_;
    HWND top_ = nullptr;
};

TEST_F(Win32TopLevelTest, TitleAndClientSize) {
    std::array<wchar_t, 64> text{};
    ::GetWindowTextW(top_, text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(std::wstring(text.data()), L"Gr\u00FC\u00DFe.quorvatp - Ostinel");
    window_->SetTitle("B* - Ostinel");
    ::GetWindowTextW(top_, text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(std::wstring(text.data()), L"B* - Ostinel");
    RECT client{};
    ::GetClientRect(top_, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
}

TEST_F(Win32TopLevelTest, WmCloseIsARequestTheWindowSurvives) {
    ::PostMessageW(top_, WM_CLOSE, 0, 0);
    window_->PumpEvents();
    EXPECT_EQ(client_.closes, 1);
    EXPECT_NE(::IsWindow(top_), FALSE);
    EXPECT_FALSE(window_->Destroyed());
}

TEST_F(Win32TopLevelTest, PlaceChildMovesAChild) {
    test::RecordingClient childClient(100, 50);
    const auto child = CreateChildWindow(window_->NativeHandle(), 100, 50, childClient);
    window_->PlaceChild(child->NativeHandle(), Rect::FromSize(150, 125, 100, 50));
    RECT r{};
    ::GetWindowRect(static_cast<HWND>(child->NativeHandle()), &r);
    POINT topLeft{r.left, r.top};
    ::ScreenToClient(top_, &topLeft);
    EXPECT_EQ(topLeft.x, 150);
    EXPECT_EQ(topLeft.y, 125);
}

TEST_F(Win32TopLevelTest, CtrlSIsTakenBeforeTheFocusedChildSeesIt) {
    test::RecordingClient childClient(400, 300);
    const auto child = CreateChildWindow(window_->NativeHandle(), 400, 300, childClient);
    const auto childHwnd = static_cast<HWND>(child->NativeHandle());
    window_->PumpEvents();
    childClient.Take();
    {
        const HeldControl control;
        ::PostMessageW(childHwnd, WM_KEYDOWN, 'S', 1);
        window_->PumpEvents();
    }
    EXPECT_EQ(client_.shortcuts, std::vector<int>{kSaveId});
    EXPECT_THAT(childClient.log, Not(Contains("keydown 0x53 ctrl")));

    // Without Ctrl the key is the child's.
    ::PostMessageW(childHwnd, WM_KEYDOWN, 'S', 1);
    window_->PumpEvents();
    EXPECT_EQ(client_.shortcuts.size(), 1u);
    EXPECT_THAT(childClient.log, Contains("keydown 0x53"));
}

} // namespace
} // namespace ostinel::platform
