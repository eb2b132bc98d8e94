// The headless top-level window: what tests of programs that own a window drive.
#include "platform/headless/HeadlessPlatform.h"

#include "common/Error.h"
#include "platform_gui/RecordingClient.h"

#include <gtest/gtest.h>

namespace ostinel::platform {
namespace {

struct TopLevelRecorder : ITopLevelClient {
    virtual ~TopLevelRecorder() = default;
    void OnCloseRequest() override { ++closes; }
    void OnShortcut(int id) override { shortcuts.push_back(id); }
    int closes = 0;
    std::vector<int> shortcuts;
};

TEST(HeadlessTopLevel, KeepsTitleSizeAndChildPlacesAndTakesCloseAndShortcuts) {
    TopLevelRecorder client;
    const std::unique_ptr<ITopLevelWindow> made =
        CreateTopLevelWindow("A - Ostinel", 300, 200, client);
    auto& window = dynamic_cast<HeadlessTopLevelWindow&>(*made);
    EXPECT_NE(window.NativeHandle(), nullptr);
    EXPECT_EQ(window.Title(), "A - Ostinel");
    EXPECT_FALSE(window.Shown());
    window.Show();
    EXPECT_TRUE(window.Shown());
    window.SetTitle("A* - Ostinel");
    EXPECT_EQ(window.Title(), "A* - Ostinel");
    window.SetClientSize(320, 240);
    EXPECT_EQ(window.ClientWidth(), 320);
    EXPECT_EQ(window.ClientHeight(), 240);

    // A child made with the top-level as its parent, placed in the middle.
    test::RecordingClient childClient(100, 50);
    const auto child = CreateChildWindow(window.NativeHandle(), 100, 50, childClient);
    EXPECT_TRUE(window.ChildBounds(child->NativeHandle()).IsEmpty());
    window.PlaceChild(child->NativeHandle(), Rect::FromSize(110, 95, 100, 50));
    EXPECT_EQ(window.ChildBounds(child->NativeHandle()), Rect::FromSize(110, 95, 100, 50));

    window.AddShortcut(3, Key::LetterA + ('S' - 'A'), {.ctrl = true});
    EXPECT_FALSE(window.PressKey(Key::LetterA + ('S' - 'A')));
    EXPECT_FALSE(window.PressKey(Key::LetterA + ('S' - 'A'), {.shift = true, .ctrl = true}));
    EXPECT_TRUE(window.PressKey(Key::LetterA + ('S' - 'A'), {.ctrl = true}));
    EXPECT_EQ(client.shortcuts, std::vector<int>{3});

    window.RequestClose();
    EXPECT_EQ(client.closes, 1);
    EXPECT_FALSE(window.Destroyed()) << "a close is a request";
    window.DestroyFromOutside();
    EXPECT_TRUE(window.Destroyed());
}

TEST(HeadlessTopLevel, BadSizesAreErrors) {
    TopLevelRecorder client;
    for (const auto& [w, h] : {std::pair{0, 10}, std::pair{10, -1}, std::pair{20000, 10}}) {
        EXPECT_THROW((void)CreateTopLevelWindow("x", w, h, client), Error) << w << " x " << h;
    }
    HeadlessTopLevelWindow window("x", 10, 10, client);
    window.SetClientSize(0, 10);
    EXPECT_EQ(window.ClientWidth(), 10) << "a side below 1 leaves the size alone";
    EXPECT_THROW(window.SetClientSize(20000, 10), Error);
}

} // namespace
} // namespace ostinel::platform
