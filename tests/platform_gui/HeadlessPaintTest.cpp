// Repaints of the headless window: invalidation collects one area, PumpEvents paints it and
// blits exactly that part of the client's surface, opaque, as a real window shows it.
#include "platform/headless/HeadlessWindow.h"
#include "platform_gui/RecordingClient.h"

#include "common/Error.h"
#include "common/TempFolder.h"
#include "graphics/Png.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ostinel::platform {
namespace {

using gui::Color;
using test::RecordingClient;
using ::testing::ElementsAre;

constexpr Color kRed = Color::Rgb(0xFF0000);
constexpr Color kWhite = Color::Rgb(0xFFFFFF);
constexpr Color kBlack = Color::Rgb(0x000000);

struct PaintFixture : ::testing::Test {
    RecordingClient client{100, 60};
    HeadlessWindow window{100, 60, client};
};

TEST_F(PaintFixture, NewWindowPaintsEverythingOnce) {
    EXPECT_EQ(window.PendingInvalidation(), (Rect{0, 0, 100, 60}));
    EXPECT_EQ(window.Screen().GetPixel(0, 0), kBlack);
    window.PumpEvents();
    window.PumpEvents();
    EXPECT_THAT(client.paints, ElementsAre(Rect{0, 0, 100, 60}));
    EXPECT_EQ(window.PaintCount(), 1);
    EXPECT_EQ(window.Screen().GetPixel(99, 59), kWhite);
    EXPECT_TRUE(window.PendingInvalidation().IsEmpty());
}

struct InvalidationCase {
    const char* name;
    std::vector<Rect> invalidated;
    Rect painted; // empty: no paint
};

class Invalidation : public PaintFixture, public ::testing::WithParamInterface<InvalidationCase> {};

TEST_P(Invalidation, CollectsOneClippedArea) {
    window.PumpEvents();
    client.paints.clear();
    for (const Rect& r : GetParam().invalidated) {
        window.Invalidate(r);
    }
    window.PumpEvents();
    if (GetParam().painted.IsEmpty()) {
        EXPECT_TRUE(client.paints.empty());
    } else {
        EXPECT_THAT(client.paints, ElementsAre(GetParam().painted));
        EXPECT_EQ(window.LastPaintRect(), GetParam().painted);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Invalidation,
    ::testing::Values(
        InvalidationCase{"One", {{10, 10, 20, 20}}, {10, 10, 20, 20}},
        InvalidationCase{"UnionOfTwo", {{10, 10, 20, 20}, {30, 5, 40, 15}}, {10, 5, 40, 20}},
        InvalidationCase{
            "ClippedToTheClientArea", {{-5, -5, 5, 5}, {90, 50, 200, 200}}, {0, 0, 100, 60}},
        InvalidationCase{"OutsideOnly", {{100, 0, 120, 10}, {0, -10, 10, 0}}, {}},
        InvalidationCase{"EmptyRect", {{10, 10, 10, 30}}, {}}, InvalidationCase{"Nothing", {}, {}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

// A toolkit that draws more than it invalidates must not see that on screen: only the
// invalidated part is blitted.
TEST_F(PaintFixture, BlitsOnlyTheInvalidatedPart) {
    window.PumpEvents();
    client.onPaint = [this](const Rect&) {
        for (gui::Pixel& p : client.surface.Pixels()) {
            p = gui::pixel::Premultiply(kRed);
        }
    };
    window.Invalidate({10, 20, 30, 25});
    window.PumpEvents();
    EXPECT_EQ(window.Screen().GetPixel(10, 20), kRed);
    EXPECT_EQ(window.Screen().GetPixel(29, 24), kRed);
    EXPECT_EQ(window.Screen().GetPixel(30, 24), kWhite);
    EXPECT_EQ(window.Screen().GetPixel(29, 25), kWhite);
    EXPECT_EQ(window.Screen().GetPixel(9, 20), kWhite);
}

// Premultiplied surface pixels are shown as their colour over black.
TEST_F(PaintFixture, TranslucentPixelsShowOverBlack) {
    client.paintColor = Color{255, 255, 255, 128};
    window.PumpEvents();
    EXPECT_EQ(window.Screen().GetPixel(3, 3), (Color{128, 128, 128, 255}));
    client.paintColor = Color{0, 0, 0, 0};
    window.Invalidate({0, 0, 1, 1});
    window.PumpEvents();
    EXPECT_EQ(window.Screen().GetPixel(0, 0), kBlack);
}

// A surface that does not cover the window (the toolkit not sized yet) is blitted where it
// exists; the rest stays as it was.
TEST_F(PaintFixture, SurfaceSmallerThanTheWindow) {
    client.surface = gui::Image(40, 30, kRed);
    client.onPaint = [](const Rect&) {};
    window.PumpEvents();
    EXPECT_EQ(window.Screen().GetPixel(39, 29), kRed);
    EXPECT_EQ(window.Screen().GetPixel(40, 29), kBlack);
    EXPECT_EQ(window.Screen().GetPixel(39, 30), kBlack);
}

TEST_F(PaintFixture, InvalidationDuringPaintWaitsForTheNextPump) {
    client.onPaint = [this](const Rect& dirty) {
        if (dirty.left == 0) {
            window.Invalidate({50, 50, 60, 60});
        }
    };
    window.PumpEvents();
    EXPECT_EQ(window.PendingInvalidation(), (Rect{50, 50, 60, 60}));
    window.PumpEvents();
    EXPECT_THAT(client.paints, ElementsAre(Rect{0, 0, 100, 60}, Rect{50, 50, 60, 60}));
}

TEST_F(PaintFixture, SavePngWritesTheScreen) {
    client.onPaint = [this](const Rect&) {
        client.surface.SetPixel(1, 2, Color{0, 0, 255, 255});
        client.surface.SetPixel(3, 4, Color{200, 100, 50, 255});
    };
    window.PumpEvents();
    ostinel::test::TempFolder folder;
    const auto file = folder.path() / "window.png";
    window.SavePng(file);
    const gui::Image loaded = gui::LoadPngFile(file);
    ASSERT_EQ(loaded.Width(), 100);
    ASSERT_EQ(loaded.Height(), 60);
    EXPECT_TRUE(std::equal(loaded.Pixels().begin(), loaded.Pixels().end(),
                           window.Screen().Pixels().begin()));
    EXPECT_EQ(loaded.GetPixel(3, 4), (Color{200, 100, 50, 255}));
}

TEST(HeadlessWindowSize, InvalidSidesAreRefused) {
    RecordingClient client{1, 1};
    for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-1, 10}, {gui::Image::kMaxSide + 1, 1}}) {
        EXPECT_THROW(CreateHeadlessWindow(w, h, client), Error) << w << " x " << h;
    }
    const auto window = CreateHeadlessWindow(950, 600, client);
    EXPECT_EQ(window->ClientWidth(), 950);
    EXPECT_EQ(window->ClientHeight(), 600);
    EXPECT_NE(window->NativeHandle(), nullptr);
}

} // namespace
} // namespace ostinel::platform
