// Synthetic input of the headless window: what reaches the client, in which order, and what
// the window then reports about the pointer, the buttons, the focus and the cursor.
#include "platform/headless/HeadlessWindow.h"
#include "platform_gui/RecordingClient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace ostinel::platform {
namespace {

using test::RecordingClient;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr Modifiers kShift{true, false, false};
constexpr Modifiers kCtrlAlt{false, true, true};

struct InputFixture : ::testing::Test {
    RecordingClient client{200, 100};
    HeadlessWindow window{200, 100, client};
};

struct RoutingCase {
    const char* name;
    std::function<void(HeadlessWindow&)> act;
    std::vector<std::string> expected;
};

class Routing : public InputFixture, public ::testing::WithParamInterface<RoutingCase> {};

TEST_P(Routing, DeliversLikeAChildWindow) {
    GetParam().act(window);
    EXPECT_THAT(client.Take(), ElementsAreArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Routing,
    ::testing::Values(RoutingCase{"PressAndReleaseInside",
                                  [](HeadlessWindow& w) {
                                      w.MouseDown({10, 20}, MouseButton::Right, kShift);
                                      w.MouseUp({11, 21}, MouseButton::Right);
                                  },
                                  {"down R 10,20 shift", "up R 11,21"}},
                      RoutingCase{"PressOutsideGoesElsewhere",
                                  [](HeadlessWindow& w) {
                                      w.MouseDown({-1, 20});
                                      w.MouseDown({200, 20});
                                      w.MouseWheel({5, 100}, 120);
                                  },
                                  {}},
                      RoutingCase{
                          "CaptureKeepsThePointerOutside",
                          [](HeadlessWindow& w) {
                              w.MouseDown({10, 10});
                              w.CaptureMouse();
                              w.MouseMove({-30, 150});
                              w.MouseUp({-30, 150});
                              w.ReleaseMouse();
                              w.MouseMove({-31, 150});
                          },
                          // The pointer was last inside: once it moves without capture, it left.
                          {"down L 10,10", "move -30,150", "up L -30,150", "leave"}},
                      RoutingCase{"LeavingWithoutCaptureReportsOnce",
                                  [](HeadlessWindow& w) {
                                      w.MouseMove({199, 99});
                                      w.MouseMove({200, 99});
                                      w.MouseMove({300, 99});
                                      w.MouseMove({5, 5});
                                  },
                                  {"move 199,99", "leave", "move 5,5"}},
                      RoutingCase{"PointerGoesToAnotherWindow",
                                  [](HeadlessWindow& w) {
                                      w.MouseMove({5, 5});
                                      w.MouseLeaveWindow();
                                      w.MouseLeaveWindow();
                                  },
                                  {"move 5,5", "leave"}},
                      RoutingCase{"Wheel",
                                  [](HeadlessWindow& w) {
                                      w.MouseWheel({3, 4}, -120, kCtrlAlt);
                                      w.MouseWheel({3, 4}, 240);
                                  },
                                  {"wheel 3,4 -120 ctrl alt", "wheel 3,4 240"}},
                      RoutingCase{"Click",
                                  [](HeadlessWindow& w) {
                                      w.Click({7, 8});
                                  },
                                  {"move 7,8", "down L 7,8", "up L 7,8"}},
                      RoutingCase{"DoubleClickIsTheWin32Sequence",
                                  [](HeadlessWindow& w) {
                                      w.DoubleClick({7, 8}, MouseButton::Left, kShift);
                                  },
                                  {"move 7,8 shift", "down L 7,8 shift", "up L 7,8 shift",
                                   "down L 7,8 shift double", "up L 7,8 shift"}},
                      RoutingCase{"KeysNeedTheFocus",
                                  [](HeadlessWindow& w) {
                                      w.KeyDown(Key::LetterA);
                                      w.Char(U'a');
                                      w.Focus();
                                      w.KeyDown(Key::LetterA, kShift);
                                      w.KeyDown(Key::LetterA, kShift, true);
                                      w.Char(U'A');
                                      w.KeyUp(Key::LetterA);
                                      w.LoseFocus();
                                      w.PressKey(Key::Return);
                                  },
                                  {"focus in", "keydown 0x41 shift", "keydown 0x41 shift repeat",
                                   "char 0x41", "keyup 0x41", "focus out"}},
                      RoutingCase{"FocusChangesAreReportedOnce",
                                  [](HeadlessWindow& w) {
                                      w.Focus();
                                      w.Focus();
                                      w.LoseFocus();
                                      w.LoseFocus();
                                  },
                                  {"focus in", "focus out"}},
                      RoutingCase{"TypeTextDecodesUtf8",
                                  [](HeadlessWindow& w) {
                                      w.Focus();
                                      w.TypeText("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFF");
                                  },
                                  {"focus in", "char 0x61", "char 0xE9", "char 0x20AC",
                                   "char 0x1F600", "char 0xFFFD"}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(InputFixture, EachCallSaysWhetherTheClientGotIt) {
    EXPECT_TRUE(window.MouseMove({1, 1}));
    EXPECT_FALSE(window.MouseMove({-1, 1}));
    EXPECT_FALSE(window.KeyDown(Key::Escape));
    EXPECT_FALSE(window.TypeText("x"));
    window.Focus();
    EXPECT_TRUE(window.PressKey(Key::Escape));
    EXPECT_TRUE(window.Click({1, 1}));
    EXPECT_FALSE(window.Click({1, 100}));
}

TEST_F(InputFixture, ButtonStateFollowsThePhysicalButtons) {
    window.MouseDown({-5, -5}, MouseButton::Middle); // not delivered, still held
    EXPECT_TRUE(window.IsButtonDown(MouseButton::Middle));
    EXPECT_FALSE(window.IsButtonDown(MouseButton::Left));
    window.MouseDown({5, 5}, MouseButton::Left);
    EXPECT_TRUE(window.IsButtonDown(MouseButton::Left));
    window.MouseUp({500, 5}, MouseButton::Left);
    window.MouseUp({5, 5}, MouseButton::Middle);
    EXPECT_FALSE(window.IsButtonDown(MouseButton::Left));
    EXPECT_FALSE(window.IsButtonDown(MouseButton::Middle));
}

TEST_F(InputFixture, CursorPositionIsUnknownUntilThePointerMoves) {
    EXPECT_EQ(window.CursorPos(), std::nullopt);
    window.MouseMove({-40, 7}); // outside, not delivered, but the position is known
    EXPECT_EQ(window.CursorPos(), (Point{-40, 7}));
    window.MouseWheel({12, 13}, 120);
    EXPECT_EQ(window.CursorPos(), (Point{12, 13}));
    window.MouseLeaveWindow();
    EXPECT_EQ(window.CursorPos(), std::nullopt);
}

TEST_F(InputFixture, RecordsCursorCaptureAndDiscards) {
    EXPECT_EQ(window.CurrentCursor(), Cursor::Arrow);
    window.SetCursor(Cursor::SizeNS);
    EXPECT_EQ(window.CurrentCursor(), Cursor::SizeNS);
    window.CaptureMouse();
    EXPECT_TRUE(window.IsCaptured());
    window.ReleaseMouse();
    EXPECT_FALSE(window.IsCaptured());
    window.DiscardPendingMouseInput();
    window.DiscardPendingMouseInput();
    EXPECT_EQ(window.DiscardCalls(), 2);
}

// The focus rule of the editor frame calls Focus() from inside input handlers; the client
// hears about it at once, before the handler returns.
TEST_F(InputFixture, FocusFromAHandlerIsReportedAtOnce) {
    struct FocusOnClick : RecordingClient {
        using RecordingClient::RecordingClient;
        IPlatformWindow* window = nullptr;
        void OnMouseDown(const MouseEvent& e) override {
            RecordingClient::OnMouseDown(e);
            window->Focus();
            OnChar(window->HasFocus() ? U'y' : U'n');
        }
    } focusing{10, 10};
    HeadlessWindow w{10, 10, focusing};
    focusing.window = &w;
    w.MouseDown({1, 1});
    EXPECT_THAT(focusing.Take(), ElementsAre("down L 1,1", "focus in", "char 0x79"));
    EXPECT_TRUE(w.KeyDown(Key::Tab));
}

TEST_F(InputFixture, InputDoesNotPaint) {
    window.Click({1, 1});
    window.Invalidate({0, 0, 5, 5});
    window.Click({1, 1});
    EXPECT_THAT(client.paints, IsEmpty());
    window.PumpEvents();
    EXPECT_EQ(client.paints.size(), 1u);
}

} // namespace
} // namespace ostinel::platform
