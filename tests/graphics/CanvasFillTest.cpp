#include "graphics/Canvas.h"
#include "graphics/CanvasError.h"
#include "graphics/Text.h"

#include "graphics/CanvasTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ostinel::gui {
namespace {

using test::InkBounds;

constexpr Color kWhite = Color::Rgb(0xFFFFFF);
constexpr Color kBlack = Color::Rgb(0x000000);

TEST(CanvasPixel, LayoutIsPremultipliedBgraInMemory) {
    Canvas canvas(1, 1, Color::Transparent());
    canvas.FillRect({0, 0, 1, 1}, Color{200, 100, 50, 128});
    const auto* bytes = reinterpret_cast<const unsigned char*>(canvas.Pixels());
    // round(50*128/255)=25, round(100*128/255)=50, round(200*128/255)=100
    EXPECT_EQ(bytes[0], 25);
    EXPECT_EQ(bytes[1], 50);
    EXPECT_EQ(bytes[2], 100);
    EXPECT_EQ(bytes[3], 128);
    EXPECT_EQ(canvas.StrideBytes(), 4);
}

struct BlendCase {
    Color background;
    Color paint;
    Color expected;
};

class FillRectBlend : public ::testing::TestWithParam<BlendCase> {};

TEST_P(FillRectBlend, SourceOverGivesExactValues) {
    const BlendCase& c = GetParam();
    Canvas canvas(4, 4, c.background);
    canvas.FillRect({1, 1, 3, 3}, c.paint);
    EXPECT_EQ(canvas.GetPixel(1, 1), c.expected);
    EXPECT_EQ(canvas.GetPixel(2, 2), c.expected);
    // Outside the rectangle nothing changes.
    EXPECT_EQ(canvas.GetPixel(0, 0), c.background);
    EXPECT_EQ(canvas.GetPixel(3, 3), c.background);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FillRectBlend,
    ::testing::Values(
        // Opaque paint replaces.
        BlendCase{kBlack, Color::Rgb(0x123456), Color::Rgb(0x123456)},
        // Half white over black: 255*128/255 = 128.
        BlendCase{kBlack, kWhite.WithAlpha(128), Color::Rgb(0x808080)},
        // 25% red over white: r stays 255, g/b = 255*(1-64/255) = 191.
        BlendCase{kWhite, Color{255, 0, 0, 64}, Color{255, 191, 191, 255}},
        // Alpha 200 over grey 100: the paint is premultiplied and rounded (31, 63, 188),
        // the background scaled by 55/255 and rounded (22), then added.
        BlendCase{Color::Rgb(0x646464), Color{40, 80, 240, 200}, Color{53, 85, 210, 255}},
        // Fully transparent paint changes nothing.
        BlendCase{Color::Rgb(0x336699), Color{255, 255, 255, 0}, Color::Rgb(0x336699)},
        // Over a transparent destination the paint itself remains.
        BlendCase{Color::Transparent(), Color{255, 0, 0, 128}, Color{255, 0, 0, 128}}));

TEST(Canvas, ClearStoresTranslucentColourWithoutBlending) {
    Canvas canvas(3, 3, kWhite);
    canvas.Clear(Color{0, 0, 255, 100});
    EXPECT_EQ(canvas.GetPixel(1, 1), (Color{0, 0, 255, 100}));
}

TEST(Canvas, FrameRectDrawsOnePixelOutlineOnceAtCorners) {
    Canvas canvas(6, 5, kBlack);
    canvas.FrameRect({1, 1, 5, 4}, kWhite.WithAlpha(128));
    const Color edge = Color::Rgb(0x808080);
    for (Point p : {Point{1, 1}, Point{4, 1}, Point{1, 3}, Point{4, 3}, Point{2, 1}, Point{1, 2},
                    Point{4, 2}, Point{3, 3}}) {
        EXPECT_EQ(canvas.GetPixel(p.x, p.y), edge) << p.x << "," << p.y;
    }
    EXPECT_EQ(canvas.GetPixel(2, 2), kBlack);
    EXPECT_EQ(canvas.GetPixel(0, 0), kBlack);
    EXPECT_EQ(canvas.GetPixel(5, 4), kBlack);
}

TEST(Canvas, FrameRectOfOnePixelHighRectangleIsALine) {
    Canvas canvas(5, 3, kBlack);
    canvas.FrameRect({0, 1, 5, 2}, kWhite.WithAlpha(128));
    EXPECT_EQ(InkBounds(canvas, kBlack), (Rect{0, 1, 5, 2}));
    EXPECT_EQ(canvas.GetPixel(2, 1), Color::Rgb(0x808080));
}

TEST(Canvas, LinesAreHalfOpenAndAcceptReversedEnds) {
    Canvas canvas(8, 8, kBlack);
    canvas.HLine(5, 2, 1, kWhite);
    canvas.VLine(6, 7, 3, kWhite);
    EXPECT_EQ(InkBounds(canvas, kBlack), (Rect{2, 1, 7, 7}));
    EXPECT_EQ(canvas.GetPixel(4, 1), kWhite);
    EXPECT_EQ(canvas.GetPixel(5, 1), kBlack);
    EXPECT_EQ(canvas.GetPixel(6, 3), kWhite);
    EXPECT_EQ(canvas.GetPixel(6, 6), kWhite);
    EXPECT_EQ(canvas.GetPixel(6, 7), kBlack);
}

TEST(Canvas, RejectsInvalidSizes) {
    EXPECT_THROW(Canvas(-1, 10), CanvasError);
    EXPECT_THROW(Canvas(10, Image::kMaxSide + 1), CanvasError);
    Canvas canvas(2, 2);
    EXPECT_THROW(canvas.Resize(-5, 5), CanvasError);
}

TEST(Canvas, ResizeDropsStateStack) {
    Canvas canvas(10, 10);
    canvas.PushView({2, 2, 5, 5});
    canvas.Resize(20, 8, kWhite);
    EXPECT_EQ(canvas.StateDepth(), 0u);
    EXPECT_EQ(canvas.ClipRect(), (Rect{0, 0, 20, 8}));
    EXPECT_EQ(canvas.GetPixel(19, 7), kWhite);
}

// --- Clip stack ----------------------------------------------------------------------

TEST(CanvasClip, PushIntersectsAndPopRestores) {
    Canvas canvas(20, 20);
    canvas.PushClip({2, 2, 12, 12});
    canvas.PushClip({8, 0, 30, 10});
    EXPECT_EQ(canvas.ClipRect(), (Rect{8, 2, 12, 10}));
    canvas.PushClip({0, 15, 5, 18}); // disjoint: nothing drawable
    EXPECT_TRUE(canvas.ClipRect().IsEmpty());
    canvas.FillRect({0, 0, 20, 20}, kWhite);
    EXPECT_EQ(InkBounds(canvas, kBlack), Rect{});
    canvas.PopClip();
    canvas.FillRect({0, 0, 20, 20}, kWhite);
    EXPECT_EQ(InkBounds(canvas, kBlack), (Rect{8, 2, 12, 10}));
    canvas.PopClip();
    canvas.PopClip();
    EXPECT_EQ(canvas.ClipRect(), (Rect{0, 0, 20, 20}));
    EXPECT_EQ(canvas.StateDepth(), 0u);
}

TEST(CanvasClip, PopOnEmptyStackThrows) {
    Canvas canvas(4, 4);
    EXPECT_THROW(canvas.PopClip(), CanvasError);
}

TEST(CanvasClip, ViewMovesOriginAndClips) {
    Canvas canvas(30, 30, kBlack);
    {
        const ClipScope outer(canvas, {10, 10, 20, 20}, ClipScope::Kind::View);
        EXPECT_EQ(canvas.Origin(), (Point{10, 10}));
        EXPECT_EQ(canvas.ClipRect(), (Rect{0, 0, 10, 10}));
        const ClipScope inner(canvas, {5, 5, 50, 50}, ClipScope::Kind::View);
        EXPECT_EQ(canvas.Origin(), (Point{15, 15}));
        EXPECT_EQ(canvas.ClipRect(), (Rect{0, 0, 5, 5}));
        canvas.FillRect({-100, -100, 100, 100}, kWhite);
    }
    EXPECT_EQ(canvas.StateDepth(), 0u);
    EXPECT_EQ(canvas.Origin(), (Point{0, 0}));
    EXPECT_EQ(InkBounds(canvas, kBlack), (Rect{15, 15, 20, 20}));
}

// Every drawing operation, asked to paint the whole canvas, touches only the clip.
TEST(CanvasClip, EveryOperationHonoursTheClip) {
    Image tile(3, 3, kWhite);
    std::vector<std::uint8_t> mask(40 * 40, 255);
    const std::vector<std::pair<std::string, std::function<void(Canvas&)>>> ops = {
        {"Clear", [](Canvas& c) { c.Clear(kWhite); }},
        {"FillRect",
         [](Canvas& c) {
             c.FillRect({-5, -5, 50, 50}, kWhite);
         }},
        {"FrameRect",
         [](Canvas& c) {
             c.FrameRect({12, 5, 35, 35}, kWhite);
         }},
        {"HLine", [](Canvas& c) { c.HLine(-5, 50, 12, kWhite); }},
        {"VLine", [](Canvas& c) { c.VLine(12, -5, 50, kWhite); }},
        {"FillRoundRect",
         [](Canvas& c) {
             c.FillRoundRect({0, 0, 40, 40}, 6.0f, kWhite);
         }},
        {"FrameRoundRect",
         [](Canvas& c) {
             c.FrameRoundRect({10, 10, 30, 30}, 4.0f, 3.0f, kWhite);
         }},
        {"FillRoundRectWithBorder",
         [](Canvas& c) {
             c.FillRoundRectWithBorder({0, 0, 40, 40}, 6.0f, 2.0f, kWhite, kWhite);
         }},
        {"DrawImage",
         [&](Canvas& c) {
             c.DrawImage(Image(40, 40, kWhite), {0, 0});
         }},
        {"TileImage",
         [&](Canvas& c) {
             c.TileImage(tile, {0, 0, 40, 40}, {1, 1});
         }},
        {"FillMask",
         [&](Canvas& c) {
             c.FillMask({mask.data(), 40, 40, 40}, {0, 0}, kWhite);
         }},
        {"DrawText",
         [](Canvas& c) { DrawText(c, MakeFont("Tahoma", 40), "WWWW", -4, -8, kWhite); }},
    };
    const Rect clip{11, 9, 15, 16};
    for (const auto& [name, op] : ops) {
        Canvas canvas(40, 40, kBlack);
        canvas.PushClip(clip);
        op(canvas);
        const Rect ink = InkBounds(canvas, kBlack);
        EXPECT_FALSE(ink.IsEmpty()) << name;
        EXPECT_EQ(ink.Intersect(clip), ink) << name;
    }
}

} // namespace
} // namespace ostinel::gui
