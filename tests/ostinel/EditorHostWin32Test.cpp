// A host on Windows (under wine in CI): it makes its own top-level window, loads the built
// Ostinel.dll through VSTPluginMain, opens the editor into that window with effEditOpen (the
// HWND), runs its message loop and effEditIdle calls, captures the editor window into a DIB
// (editor-win32.png beside the test program) and clicks with mouse messages, or with real
// input (SendInput) where the plug-in asks the system whether a button is held.
#include "graphics/Png.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/widgets/WidgetRoot.h"
#include "ostinel/EditorSnapshot.h"
#include "support/FakeHost.h"
#include "support/MapEditorPoints.h"
#include "support/PluginInstance.h"
#include "support/StateBuilder.h"

#include <gtest/gtest.h>

#include "common/win32/WinApi.h"
#include "support/EditorHostChecks.h"
#include "support/EditorScreens.h"
#include "support/Win32TestMessages.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

namespace ostinel::test {
namespace {

using gui::Color;
using gui::Point;
using gui::Rect;

class EditorHostWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = ::CreateWindowExW(0, L"STATIC", L"Ostinel editor host",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1040,
                                    720, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        DispatchPending();
        plugin_ = std::make_unique<Instance>();
    }

    void TearDown() override {
        plugin_.reset();
        if (parent_ != nullptr && ::IsWindow(parent_) != FALSE) {
            ::DestroyWindow(parent_);
        }
        DispatchPending();
    }

    [[nodiscard]] HWND Child() const { return ::GetWindow(parent_, GW_CHILD); }

    // The editor window's client area read back through GDI into a 32-bit DIB.
    gui::Image Capture() {
        gui::Image shot(kEditorWidth, kEditorHeight);
        HWND child = Child();
        if (child == nullptr) {
            ADD_FAILURE() << "no editor window";
            return shot;
        }
        HDC windowDc = ::GetDC(child);
        HDC memoryDc = ::CreateCompatibleDC(windowDc);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kEditorWidth;
        info.bmiHeader.biHeight = -kEditorHeight; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memoryDc, bitmap);
        ::BitBlt(memoryDc, 0, 0, kEditorWidth, kEditorHeight, windowDc, 0, 0, SRCCOPY);
        ::GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        for (int y = 0; y < kEditorHeight; ++y) {
            for (int x = 0; x < kEditorWidth; ++x) {
                const std::uint32_t bgr = pixels[y * kEditorWidth + x];
                shot.SetPixel(x, y, Color::Rgb(bgr & 0xFFFFFF));
            }
        }
        ::SelectObject(memoryDc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memoryDc);
        ::ReleaseDC(child, windowDc);
        return shot;
    }

    // The host's loop and idle calls until the captured window satisfies the condition;
    // false after 5 s.
    bool IdleUntil(const std::function<bool(const gui::Image&)>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            DispatchPending();
            (void)plugin_->Dispatch(vst::effEditIdle);
            if (done(Capture())) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        }
        return false;
    }

    // Host idle rounds until the state the plug-in returns satisfies the condition; false
    // after 5 s.
    bool IdleUntilState(const std::function<bool(const TOstinel&)>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            DispatchPending();
            (void)plugin_->Dispatch(vst::effEditIdle);
            if (done(*MapOfChunk(plugin_->GetChunk(true)))) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        }
        return false;
    }
    // A few rounds of the loop and idle calls, so that input sent is handled.
    void IdleBriefly() {
        for (int i = 0; i < 3; ++i) {
            DispatchPending();
            (void)plugin_->Dispatch(vst::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // Real input: the system's pointer moves to a point of the editor window. False when the
    // pointer did not arrive there.
    [[nodiscard]] bool MoveTo(Point inEditor) {
        POINT screen{inEditor.x, inEditor.y};
        ::ClientToScreen(Child(), &screen);
        const int width = ::GetSystemMetrics(SM_CXSCREEN);
        const int height = ::GetSystemMetrics(SM_CYSCREEN);
        INPUT input{};
        input.type = INPUT_MOUSE;
        // Normalised to 0..65535 over the primary screen, rounded up so the system's
        // truncation lands on the pixel.
        input.mi.dx = static_cast<LONG>((screen.x * 65536L + width - 1) / width);
        input.mi.dy = static_cast<LONG>((screen.y * 65536L + height - 1) / height);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        if (::SendInput(1, &input, sizeof(INPUT)) != 1) {
            return false;
        }
        POINT now{};
        return ::GetCursorPos(&now) != FALSE && now.x == screen.x && now.y == screen.y;
    }
    void LeftButton(bool down) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        ASSERT_EQ(::SendInput(1, &input, sizeof(INPUT)), 1u);
    }
    void ClickAt(Point inEditor) {
        ASSERT_TRUE(MoveTo(inEditor)) << inEditor.x << "," << inEditor.y;
        IdleBriefly();
        LeftButton(true);
        LeftButton(false);
    }

    HWND parent_ = nullptr;
    FakeHost host_;
    std::unique_ptr<Instance> plugin_;
};

TEST_F(EditorHostWin32Test, EditorOpensInsideTheHostsWindowAndAnswersAClick) {
    (void)plugin_->SetChunk(BadChunk(), true); // the load error waits for the editor

    ASSERT_EQ(plugin_->Dispatch(vst::effEditOpen, 0, 0, parent_), 1);
    vst::ERect* rect = nullptr;
    ASSERT_EQ(plugin_->Dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->bottom, kEditorHeight);
    EXPECT_EQ(rect->right, kEditorWidth);

    HWND child = Child();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(::GetParent(child), parent_);
    EXPECT_NE(::GetWindowLongW(child, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_NE(::IsWindowVisible(child), FALSE);
    RECT client{};
    ::GetClientRect(child, &client);
    EXPECT_EQ(client.right, kEditorWidth);
    EXPECT_EQ(client.bottom, kEditorHeight);
    POINT origin{0, 0};
    ::MapWindowPoints(child, parent_, &origin, 1);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);

    const Rect ok = LoadErrorOkButton();
    const Point okCentre{(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2};
    // A bare spot of the map area's panel below the box: what shows at the button's place
    // once the box has gone, whatever the skin.
    const Point bare{okCentre.x, 500};
    ASSERT_TRUE(IdleUntil([&](const gui::Image& shot) {
        // The box is up, over a frame drawn around it (dimmed while the box is up).
        return shot.GetPixel(okCentre.x, okCentre.y) != shot.GetPixel(bare.x, bare.y) &&
               shot.GetPixel(bare.x, bare.y) != Color::Rgb(0) &&
               shot.GetPixel(0, 0) != Color::Rgb(0);
    }));
    gui::SavePng(Capture(), "editor-win32.png");

    // The OK button, clicked with mouse messages, closes the box.
    ::PostMessageW(child, WM_MOUSEMOVE, 0, PackPoint(okCentre.x, okCentre.y));
    ::PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, PackPoint(okCentre.x, okCentre.y));
    ::PostMessageW(child, WM_LBUTTONUP, 0, PackPoint(okCentre.x, okCentre.y));
    ASSERT_TRUE(IdleUntil([&](const gui::Image& shot) {
        return shot.GetPixel(okCentre.x, okCentre.y) == shot.GetPixel(bare.x, bare.y) &&
               MarginsShowTheTile(shot, kEditorWidth, kEditorHeight);
    })) << "the box did not close; see editor-win32.png";
    gui::SavePng(Capture(), "editor-win32-closed.png");

    EXPECT_EQ(plugin_->Dispatch(vst::effEditClose), 0);
    DispatchPending();
    EXPECT_EQ(Child(), nullptr) << "effEditClose destroys the window";
}

TEST_F(EditorHostWin32Test, FocusTimerRunsOnTheHostsMessageLoop) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(plugin_->Dispatch(vst::effEditOpen, 0, 0, parent_), 1);
    HWND child = Child();
    ASSERT_NE(child, nullptr);
    ::SetFocus(parent_);
    DispatchPending();
    ASSERT_NE(::GetFocus(), child);
    // 100 ms after the opening, WM_TIMER gives the editor the keyboard focus.
    while (::GetFocus() != child &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
        DispatchPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(::GetFocus(), child);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(plugin_->Dispatch(vst::effEditClose), 0);
}

TEST_F(EditorHostWin32Test, RealInputSelectsAChannelSwitchesItOnAndDragsACell) {
    ASSERT_EQ(plugin_->Dispatch(vst::effEditOpen, 0, 0, parent_), 1);
    ASSERT_NE(Child(), nullptr);
    ASSERT_TRUE(
        IdleUntil([](const gui::Image& shot) { return shot.GetPixel(0, 0) != Color::Rgb(0); }));
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
    // system merges queued moves; the loop runs between the moves so that each arrives
    // alone, but the check allows for merging.
    constexpr int kMoves = 8;
    const float before =
        MapOfChunk(plugin_->GetChunk(true))->GetItem(kChannel).Notes[kTopNote].Targets[0].Channel();
    ASSERT_EQ(before, 10.0f);
    const int automationsBefore = host_.CountRequests(vst::audioMasterAutomate);
    Point p = GridCellCentre(1, 1);
    ASSERT_TRUE(MoveTo(p));
    IdleBriefly();
    LeftButton(true);
    IdleBriefly();
    for (int i = 0; i < kMoves; ++i) {
        p.y -= 2;
        ASSERT_TRUE(MoveTo(p)) << i;
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
