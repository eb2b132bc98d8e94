// The Win32 window inside a parent HWND made here, under wine in CI: messages sent or posted
// to it reach the client as toolkit events, WM_PAINT blits the client's pixels, timers,
// focus, capture and cursor go through the real USER32 calls. Also the Win32 clipboard.
#include "platform/Window.h"
#include "platform_gui/RecordingClient.h"

#include "common/Error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/win32/WinApi.h"
#include "support/Win32TestMessages.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace ostinel::platform {
namespace {

using ostinel::test::DispatchPending;
using ostinel::test::PackPoint;

using test::RecordingClient;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr int kChildWidth = 320;
constexpr int kChildHeight = 200;

class Win32WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = ::CreateWindowExW(0, L"STATIC", L"Ostinel test host",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 420,
                                    340, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        window_ = CreateChildWindow(parent_, kChildWidth, kChildHeight, client_);
        child_ = static_cast<HWND>(window_->NativeHandle());
        ASSERT_NE(child_, nullptr);
        DispatchPending();
        window_->PumpEvents();
        client_.Take();
    }

    void TearDown() override {
        window_.reset();
        if (parent_ != nullptr && ::IsWindow(parent_) != FALSE) {
            ::DestroyWindow(parent_);
        }
        DispatchPending();
    }

    // Dispatches messages until the condition holds; false after 3 s.
    static bool DispatchUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < deadline) {
            DispatchPending();
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    HWND parent_ = nullptr;
    HWND child_ = nullptr;
    RecordingClient client_{kChildWidth, kChildHeight};
    std::unique_ptr<IPlatformWindow> window_;
};

TEST_F(Win32WindowTest, IsAVisibleChildOfTheHostsWindow) {
    EXPECT_EQ(::GetParent(child_), parent_);
    EXPECT_NE(::GetWindowLongW(child_, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_NE(::IsWindowVisible(child_), FALSE);
    RECT rect{};
    ::GetClientRect(child_, &rect);
    EXPECT_EQ(rect.right, kChildWidth);
    EXPECT_EQ(rect.bottom, kChildHeight);
    EXPECT_EQ(window_->ClientWidth(), kChildWidth);
    EXPECT_EQ(::GetClassLongW(child_, GCL_STYLE) & CS_DBLCLKS, static_cast<DWORD>(CS_DBLCLKS));
}

TEST_F(Win32WindowTest, InvalidatedAreasArePaintedAndBlitted) {
    client_.paints.clear();
    client_.paintColor = gui::Color::Rgb(0x3366CC);
    window_->Invalidate({10, 20, 30, 40});
    window_->Invalidate({500, 500, 600, 600}); // outside: ignored
    window_->PumpEvents();
    EXPECT_THAT(client_.paints, ElementsAre(Rect{10, 20, 30, 40}));
    window_->PumpEvents();
    EXPECT_EQ(client_.paints.size(), 1u);

    // Read the pixels back from the window.
    HDC windowDc = ::GetDC(child_);
    HDC memoryDc = ::CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kChildWidth;
    info.bmiHeader.biHeight = -kChildHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memoryDc, bitmap);
    ::BitBlt(memoryDc, 0, 0, kChildWidth, kChildHeight, windowDc, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    const std::uint32_t inside = pixels[25 * kChildWidth + 15] & 0xFFFFFF;
    const std::uint32_t corner = pixels[39 * kChildWidth + 29] & 0xFFFFFF;
    const std::uint32_t outside = pixels[45 * kChildWidth + 15] & 0xFFFFFF;
    ::SelectObject(memoryDc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memoryDc);
    ::ReleaseDC(child_, windowDc);
    EXPECT_EQ(inside, 0x3366CCu);
    EXPECT_EQ(corner, 0x3366CCu);
    EXPECT_EQ(outside, 0xFFFFFFu); // the first paint's white
}

TEST_F(Win32WindowTest, MouseMessagesBecomeToolkitEvents) {
    ::SendMessageW(child_, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, PackPoint(10, 20));
    ::SendMessageW(child_, WM_LBUTTONUP, 0, PackPoint(10, 20));
    ::SendMessageW(child_, WM_LBUTTONDBLCLK, MK_LBUTTON, PackPoint(10, 20));
    ::SendMessageW(child_, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, PackPoint(-5, 300));
    ::SendMessageW(child_, WM_MBUTTONUP, 0, PackPoint(1, 2));
    ::SendMessageW(child_, WM_MOUSEMOVE, 0, PackPoint(7, 8));
    ::SendMessageW(child_, WM_MOUSEMOVE, 0, PackPoint(7, 8)); // no move: not reported
    ::SendMessageW(child_, WM_MOUSEMOVE, MK_SHIFT, PackPoint(8, 8));
    ::SendMessageW(child_, WM_MOUSELEAVE, 0, 0);
    EXPECT_THAT(client_.Take(), ElementsAre("down L 10,20 shift", "up L 10,20",
                                            "down L 10,20 double", "down R -5,300 ctrl", "up M 1,2",
                                            "move 7,8", "move 8,8 shift", "leave"));
}

TEST_F(Win32WindowTest, WheelPositionsComeFromScreenCoordinates) {
    POINT p{30, 40};
    ::ClientToScreen(child_, &p);
    ::SendMessageW(child_, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-120)),
                   PackPoint(p.x, p.y));
    ::SendMessageW(child_, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), PackPoint(p.x, p.y));
    EXPECT_THAT(client_.Take(), ElementsAre("wheel 30,40 -120 ctrl", "wheel 30,40 240"));
}

TEST_F(Win32WindowTest, KeysAndCharacters) {
    ::SendMessageW(child_, WM_KEYDOWN, 'A', 1);
    ::SendMessageW(child_, WM_KEYDOWN, 'A', 1 | (1 << 30)); // auto-repeat
    ::SendMessageW(child_, WM_KEYUP, 'A', static_cast<LPARAM>(0xC0000001u));
    ::SendMessageW(child_, WM_CHAR, L'a', 1);
    ::SendMessageW(child_, WM_CHAR, 0xD83D, 1); // U+1F600 as a surrogate pair
    ::SendMessageW(child_, WM_CHAR, 0xDE00, 1);
    ::SendMessageW(child_, WM_CHAR, 0xDE00, 1); // a lone low surrogate is dropped
    ::SendMessageW(child_, WM_CHAR, 0x20AC, 1);
    EXPECT_THAT(client_.Take(), ElementsAre("keydown 0x41", "keydown 0x41 repeat", "keyup 0x41",
                                            "char 0x61", "char 0x1F600", "char 0x20AC"));
    EXPECT_EQ(::SendMessageW(child_, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
}

TEST_F(Win32WindowTest, FocusComesAndGoes) {
    window_->Focus();
    EXPECT_TRUE(window_->HasFocus());
    ::SetFocus(parent_);
    EXPECT_FALSE(window_->HasFocus());
    EXPECT_THAT(client_.Take(), ElementsAre("focus in", "focus out"));
}

TEST_F(Win32WindowTest, TimersFireThroughTheMessageLoop) {
    window_->SetTimer(3, 10);
    window_->SetTimer(-7, 15);
    ASSERT_TRUE(DispatchUntil([&] {
        return std::count(client_.log.begin(), client_.log.end(), "timer 3") >= 2 &&
               std::count(client_.log.begin(), client_.log.end(), "timer -7") >= 1;
    }));
    window_->KillTimer(3);
    window_->KillTimer(-7);
    DispatchPending();
    client_.Take();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    DispatchPending();
    EXPECT_THAT(client_.Take(), IsEmpty());
}

TEST_F(Win32WindowTest, DiscardDropsQueuedMouseMessagesOnly) {
    ::PostMessageW(child_, WM_LBUTTONDOWN, MK_LBUTTON, PackPoint(1, 1));
    ::PostMessageW(child_, WM_KEYDOWN, 'B', 1);
    ::PostMessageW(child_, WM_MOUSEMOVE, 0, PackPoint(2, 2));
    ::PostMessageW(child_, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), PackPoint(0, 0));
    window_->DiscardPendingMouseInput();
    DispatchPending();
    EXPECT_THAT(client_.Take(), ElementsAre("keydown 0x42", "char 0x62")); // TranslateMessage
}

TEST_F(Win32WindowTest, CursorShapeAndCapture) {
    window_->SetCursor(Cursor::Hand);
    EXPECT_EQ(::SendMessageW(child_, WM_SETCURSOR, reinterpret_cast<WPARAM>(child_),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    window_->CaptureMouse();
    EXPECT_EQ(::GetCapture(), child_);
    window_->ReleaseMouse();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(window_->IsButtonDown(MouseButton::Left));
}

TEST_F(Win32WindowTest, CursorPositionInClientCoordinates) {
    POINT p{15, 25};
    ::ClientToScreen(child_, &p);
    ::SetCursorPos(p.x, p.y);
    POINT now{};
    ::GetCursorPos(&now);
    if (now.x != p.x || now.y != p.y) {
        GTEST_SKIP() << "the display driver does not move the pointer";
    }
    EXPECT_EQ(window_->CursorPos(), (Point{15, 25}));
}

TEST_F(Win32WindowTest, BadParentsAreErrors) {
    RecordingClient client{10, 10};
    EXPECT_THROW((void)CreateChildWindow(nullptr, 10, 10, client), Error);
    EXPECT_THROW(
        (void)CreateChildWindow(reinterpret_cast<void*>(std::uintptr_t{0x123456}), 10, 10, client),
        Error);
    EXPECT_THROW((void)CreateChildWindow(parent_, 10, 0, client), Error);
}

// Hosts often destroy their window before they close the editor.
TEST_F(Win32WindowTest, SurvivesTheParentGoingFirst) {
    window_->SetTimer(1, 10);
    ::DestroyWindow(parent_);
    parent_ = nullptr;
    EXPECT_EQ(::IsWindow(child_), FALSE);
    window_->Invalidate({0, 0, 10, 10});
    window_->PumpEvents();
    window_->SetTimer(2, 10);
    window_->Focus();
    EXPECT_FALSE(window_->HasFocus());
    EXPECT_EQ(window_->CursorPos(), std::nullopt);
    window_.reset();
}

// The window class lives while any window does, and comes back for the next one.
TEST_F(Win32WindowTest, SeveralWindowsShareTheClass) {
    RecordingClient second{50, 50};
    auto other = CreateChildWindow(parent_, 50, 50, second);
    window_.reset();
    other->Invalidate({0, 0, 5, 5});
    other->PumpEvents();
    EXPECT_FALSE(second.paints.empty());
    other.reset();
    window_ = CreateChildWindow(parent_, kChildWidth, kChildHeight, client_);
    EXPECT_NE(window_->NativeHandle(), nullptr);
}

TEST(Win32Clipboard, TextAndPrivateBlocks) {
    IClipboard& clipboard = Clipboard();
    clipboard.SetText("J\xC3\xBCrgen \xF0\x9F\x98\x80");
    EXPECT_EQ(clipboard.GetText(), "J\xC3\xBCrgen \xF0\x9F\x98\x80");
    EXPECT_FALSE(clipboard.HasFormat("OstinelTestChannel"));

    const std::vector<std::uint8_t> block{'m', 'm', 's', 't', 0, 1, 2};
    clipboard.SetData("OstinelTestChannel", block);
    EXPECT_TRUE(clipboard.HasFormat("OstinelTestChannel"));
    const auto read = clipboard.GetData("OstinelTestChannel");
    ASSERT_TRUE(read);
    ASSERT_GE(read->size(), block.size()); // Windows may round the block up
    EXPECT_TRUE(std::equal(block.begin(), block.end(), read->begin()));
    EXPECT_FALSE(clipboard.GetText()) << "placing data empties the clipboard";
    EXPECT_FALSE(clipboard.GetData("OstinelTestOther"));

    EXPECT_THROW(clipboard.SetData("", {1}), Error);
    EXPECT_FALSE(clipboard.HasFormat(""));
    clipboard.SetText("");
    EXPECT_EQ(clipboard.GetText(), "");
    EXPECT_FALSE(clipboard.HasFormat("OstinelTestChannel"));
}

} // namespace
} // namespace ostinel::platform
