#include "graphics/Canvas.h"

#include "graphics/CanvasTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

namespace ostinel::gui {
namespace {

using test::ColorDistance;

constexpr Color kBackground = Color::Rgb(0x204060);
constexpr Color kPanel = Color::Rgb(0xF0E0D0);
constexpr Color kBorder = Color::Rgb(0x000000);

// Straight-alpha source-over of colour c with opacity a (0..1) on the background, per channel.
Color Mix(Color over, float a, Color under) {
    auto ch = [a](int o, int u) {
        return static_cast<std::uint8_t>(static_cast<float>(o) * a +
                                         static_cast<float>(u) * (1.0f - a) + 0.5f);
    };
    return {ch(over.r, under.r), ch(over.g, under.g), ch(over.b, under.b), 255};
}

TEST(RoundRect, CornerTransparentCentreOpaqueArcPartlyCovered) {
    Canvas canvas(40, 30, kBackground);
    canvas.FillRoundRect({0, 0, 40, 30}, 10.0f, kPanel);
    // Corner pixels lie well outside the arc.
    EXPECT_EQ(canvas.GetPixel(0, 0), kBackground);
    EXPECT_EQ(canvas.GetPixel(39, 29), kBackground);
    EXPECT_EQ(canvas.GetPixel(1, 1), kBackground);
    EXPECT_EQ(canvas.GetPixel(20, 15), kPanel);
    // Straight sides away from the corners are fully covered up to the edge.
    EXPECT_EQ(canvas.GetPixel(20, 0), kPanel);
    EXPECT_EQ(canvas.GetPixel(0, 15), kPanel);
    // On the arc coverage is partial (0.575 for this pixel, see below).
    const Color arc = canvas.GetPixel(2, 3);
    EXPECT_NE(arc, kBackground);
    EXPECT_NE(arc, kPanel);
}

TEST(RoundRect, ArcCoverageBlendsOntoBackground) {
    // Radius-10 corner, arc centre (10,10). Pixel (2,3) has its centre 9.925 from it, 0.075
    // inside the arc: coverage 0.575. Pixel (3,3) is 9.19 away, more than half a pixel
    // inside: full coverage.
    Canvas canvas(40, 30, kBackground);
    canvas.FillRoundRect({0, 0, 40, 30}, 10.0f, kPanel.WithAlpha(200));
    const float alpha = 200.0f / 255.0f;
    EXPECT_LE(ColorDistance(canvas.GetPixel(2, 3), Mix(kPanel, 0.58f * alpha, kBackground)), 1);
    EXPECT_LE(ColorDistance(canvas.GetPixel(3, 3), Mix(kPanel, alpha, kBackground)), 1);
    EXPECT_LE(ColorDistance(canvas.GetPixel(20, 15), Mix(kPanel, alpha, kBackground)), 1);
    EXPECT_EQ(canvas.GetPixel(0, 0), kBackground);
}

TEST(RoundRect, OpaqueFillHidesBackgroundEverywhereInside) {
    Canvas canvas(50, 20, kBackground);
    canvas.FillRoundRect({0, 0, 50, 20}, 5.0f, kPanel);
    for (int y = 5; y < 15; ++y) {
        for (int x = 0; x < 50; ++x) {
            ASSERT_EQ(canvas.GetPixel(x, y), kPanel) << x << "," << y;
        }
    }
}

TEST(RoundRect, RadiusIsLimitedToHalfTheSmallerSide) {
    Canvas limited(60, 20, kBackground);
    limited.FillRoundRect({0, 0, 60, 20}, 50.0f, kPanel);
    Canvas ten(60, 20, kBackground);
    ten.FillRoundRect({0, 0, 60, 20}, 10.0f, kPanel);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 60; ++x) {
            ASSERT_EQ(limited.GetPixel(x, y), ten.GetPixel(x, y)) << x << "," << y;
        }
    }
    // A fully rounded end: the middle of the left side is covered, its top is not.
    EXPECT_EQ(limited.GetPixel(1, 10), kPanel);
    EXPECT_EQ(limited.GetPixel(0, 3), kBackground);
}

// The per-pixel band and the span-filled inside must agree: the shape is mirror-symmetric.
TEST(RoundRect, ShapeIsSymmetric) {
    for (float radius : {0.0f, 1.5f, 4.0f, 12.0f}) {
        Canvas canvas(37, 29, kBackground);
        canvas.FillRoundRectWithBorder({2, 3, 35, 26}, radius, 1.5f, kPanel.WithAlpha(180),
                                       kBorder);
        for (int y = 0; y < 29; ++y) {
            for (int x = 0; x < 37; ++x) {
                ASSERT_EQ(canvas.GetPixel(x, y), canvas.GetPixel(36 - x, y))
                    << "r=" << radius << " " << x << "," << y;
                ASSERT_EQ(canvas.GetPixel(x, y), canvas.GetPixel(x, 28 - y))
                    << "r=" << radius << " " << x << "," << y;
            }
        }
    }
}

// Area of pixel (x, y) inside a rounded rectangle, by 16 x 16 point sampling.
float SampledCoverage(float left, float top, float right, float bottom, float radius, int x,
                      int y) {
    auto inside = [&](float px, float py) {
        if (px < left || px >= right || py < top || py >= bottom) {
            return false;
        }
        const float cx = std::clamp(px, left + radius, right - radius);
        const float cy = std::clamp(py, top + radius, bottom - radius);
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius;
    };
    int hits = 0;
    for (int sy = 0; sy < 16; ++sy) {
        for (int sx = 0; sx < 16; ++sx) {
            hits += inside(static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / 16.0f,
                           static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / 16.0f);
        }
    }
    return static_cast<float>(hits) / 256.0f;
}

struct ShapeCase {
    Rect rect;
    float radius;
    float band;
};

class RoundRectCoverage : public ::testing::TestWithParam<ShapeCase> {};

// White border band over black fill on black: each pixel's grey is the band's coverage, which
// must match the sampled area of outer shape minus inner shape to within a tenth of a pixel.
TEST_P(RoundRectCoverage, MatchesSampledArea) {
    const ShapeCase& c = GetParam();
    Canvas canvas(64, 48, kBorder);
    canvas.FillRoundRectWithBorder(c.rect, c.radius, c.band, kBorder, Color::Rgb(0xFFFFFF));
    const auto f = [](int v) { return static_cast<float>(v); };
    const float r = std::min(c.radius, f(std::min(c.rect.Width(), c.rect.Height())) / 2.0f);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const float outer = SampledCoverage(f(c.rect.left), f(c.rect.top), f(c.rect.right),
                                                f(c.rect.bottom), r, x, y);
            const float inner = SampledCoverage(f(c.rect.left) + c.band, f(c.rect.top) + c.band,
                                                f(c.rect.right) - c.band, f(c.rect.bottom) - c.band,
                                                std::max(r - c.band, 0.0f), x, y);
            const float got = static_cast<float>(canvas.GetPixel(x, y).r) / 255.0f;
            ASSERT_NEAR(got, outer - inner, 0.1f) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundRectCoverage,
                         ::testing::Values(ShapeCase{{2, 2, 62, 46}, 10.0f, 1.0f},
                                           ShapeCase{{5, 3, 50, 40}, 4.0f, 2.0f},
                                           ShapeCase{{1, 1, 60, 21}, 50.0f, 1.0f},
                                           ShapeCase{{3, 4, 40, 44}, 12.0f, 5.5f},
                                           ShapeCase{{0, 0, 64, 48}, 0.0f, 1.5f}));

TEST(RoundRect, BorderBandThenFill) {
    Canvas canvas(40, 40, kBackground);
    canvas.FillRoundRectWithBorder({0, 0, 40, 40}, 8.0f, 2.0f, kPanel.WithAlpha(128), kBorder);
    // Straight side: two border pixels, then translucent fill.
    EXPECT_EQ(canvas.GetPixel(0, 20), kBorder);
    EXPECT_EQ(canvas.GetPixel(1, 20), kBorder);
    EXPECT_LE(ColorDistance(canvas.GetPixel(2, 20), Mix(kPanel, 128.0f / 255.0f, kBackground)), 1);
    EXPECT_EQ(canvas.GetPixel(20, 39), kBorder);
    EXPECT_EQ(canvas.GetPixel(20, 37), canvas.GetPixel(2, 20));
}

TEST(RoundRect, FractionalBorderMixesBorderAndFillInProportion) {
    Canvas canvas(30, 30, kBackground);
    canvas.FillRoundRectWithBorder({0, 0, 30, 30}, 0.0f, 1.5f, kPanel, kBorder);
    EXPECT_EQ(canvas.GetPixel(0, 15), kBorder);
    EXPECT_LE(ColorDistance(canvas.GetPixel(1, 15), Mix(kPanel, 0.5f, kBorder)), 1);
    EXPECT_EQ(canvas.GetPixel(2, 15), kPanel);
}

TEST(RoundRect, FrameLeavesInsideUntouched) {
    Canvas canvas(30, 30, kBackground);
    canvas.FrameRoundRect({0, 0, 30, 30}, 6.0f, 1.0f, kBorder);
    EXPECT_EQ(canvas.GetPixel(0, 15), kBorder);
    EXPECT_EQ(canvas.GetPixel(1, 15), kBackground);
    EXPECT_EQ(canvas.GetPixel(15, 15), kBackground);
    EXPECT_EQ(canvas.GetPixel(0, 0), kBackground);
}

TEST(RoundRect, DegenerateInputDrawsNothingOrPlainShapes) {
    Canvas canvas(10, 10, kBackground);
    canvas.FillRoundRect({5, 5, 5, 9}, 3.0f, kPanel);           // zero width
    canvas.FrameRoundRect({0, 0, 10, 10}, 3.0f, 0.0f, kPanel);  // no band
    canvas.FrameRoundRect({0, 0, 10, 10}, 3.0f, -2.0f, kPanel); // negative band
    EXPECT_EQ(test::InkBounds(canvas, kBackground), Rect{});
    canvas.FillRoundRect({2, 2, 8, 8}, std::numeric_limits<float>::quiet_NaN(), kPanel);
    EXPECT_EQ(test::InkBounds(canvas, kBackground), (Rect{2, 2, 8, 8}));
    // A band wider than half the shape makes it all border.
    Canvas all(10, 10, kBackground);
    all.FillRoundRectWithBorder({0, 0, 10, 10}, 0.0f, 20.0f, kPanel, kBorder);
    EXPECT_EQ(all.GetPixel(5, 5), kBorder);
}

} // namespace
} // namespace ostinel::gui
