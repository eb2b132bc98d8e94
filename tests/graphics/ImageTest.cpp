#include "graphics/Image.h"
#include "graphics/Canvas.h"
#include "graphics/CanvasError.h"

#include "graphics/CanvasTestSupport.h"

#include <gtest/gtest.h>
#include <vector>

namespace ostinel::gui {
namespace {

constexpr Color kBlack = Color::Rgb(0x000000);

// A 3 x 2 tile whose pixels all differ: red = 10 * x, green = 100 + 10 * y.
Image NumberedTile() {
    Image tile(3, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            tile.SetPixel(x, y,
                          Color{static_cast<std::uint8_t>(10 * x),
                                static_cast<std::uint8_t>(100 + 10 * y), 0, 255});
        }
    }
    return tile;
}

struct TileCase {
    Point origin;
    Point view; // canvas origin shift (PushView), 0 for none
};

class TileImageAlignment : public ::testing::TestWithParam<TileCase> {};

TEST_P(TileImageAlignment, TilePixelFollowsOriginModuloTileSize) {
    const TileCase& c = GetParam();
    const Image tile = NumberedTile();
    Canvas canvas(20, 12, kBlack);
    canvas.PushView({c.view.x, c.view.y, 20, 12});
    const Rect area{1, 2, 15, 9};
    canvas.TileImage(tile, area, c.origin);
    for (int y = 0; y < 12 - c.view.y; ++y) {
        for (int x = 0; x < 20 - c.view.x; ++x) {
            const Color got = canvas.GetPixel(x + c.view.x, y + c.view.y);
            if (!area.Contains({x, y})) {
                ASSERT_EQ(got, kBlack) << x << "," << y;
                continue;
            }
            const int tx = ((x - c.origin.x) % 3 + 3) % 3;
            const int ty = ((y - c.origin.y) % 2 + 2) % 2;
            ASSERT_EQ(got, tile.GetPixel(tx, ty)) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TileImageAlignment,
                         ::testing::Values(TileCase{{0, 0}, {0, 0}}, TileCase{{1, 2}, {0, 0}},
                                           TileCase{{-4, -7}, {0, 0}}, TileCase{{17, 5}, {0, 0}},
                                           TileCase{{1, 1}, {3, 2}}));

TEST(Image, TileWithTranslucentPixelsBlends) {
    Image tile(1, 1, Color{255, 255, 255, 128});
    Canvas canvas(2, 2, kBlack);
    canvas.TileImage(tile, {0, 0, 2, 2}, {0, 0});
    EXPECT_EQ(canvas.GetPixel(1, 1), Color::Rgb(0x808080));
}

TEST(Image, DrawImagePartWithOpacity) {
    const Image tile = NumberedTile();
    Canvas canvas(10, 10, kBlack);
    // Source part (1,0)-(3,2) lands at (4,5).
    canvas.DrawImage(tile, {1, 0, 3, 2}, {4, 5});
    EXPECT_EQ(test::InkBounds(canvas, kBlack), (Rect{4, 5, 6, 7}));
    EXPECT_EQ(canvas.GetPixel(4, 5), tile.GetPixel(1, 0));
    EXPECT_EQ(canvas.GetPixel(5, 6), tile.GetPixel(2, 1));

    Canvas faded(4, 4, kBlack);
    faded.DrawImage(Image(2, 2, Color::Rgb(0xFFFFFF)), {1, 1}, 128);
    EXPECT_EQ(faded.GetPixel(1, 1), Color::Rgb(0x808080));
    EXPECT_EQ(faded.GetPixel(0, 0), kBlack);
}

TEST(Image, DrawImageSourceOutsideImageIsCut) {
    const Image tile = NumberedTile();
    Canvas canvas(10, 10, kBlack);
    // Asks for (-2,-1)-(5,5): only the real 3 x 2 pixels are drawn, shifted by the cut.
    canvas.DrawImage(tile, {-2, -1, 5, 5}, {0, 0});
    EXPECT_EQ(test::InkBounds(canvas, kBlack), (Rect{2, 1, 5, 3}));
    EXPECT_EQ(canvas.GetPixel(2, 1), tile.GetPixel(0, 0));
}

TEST(Image, RgbaRoundTripKeepsStraightColours) {
    const std::vector<std::uint8_t> rgba = {255, 0,   0,  255, 10, 20, 30, 128,
                                            200, 100, 50, 1,   9,  9,  9,  0};
    const Image image = Image::FromRgba(2, 2, rgba);
    EXPECT_EQ(image.GetPixel(0, 0), Color::Rgb(0xFF0000));
    const std::vector<std::uint8_t> back = image.ToRgba();
    ASSERT_EQ(back.size(), rgba.size());
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_NEAR(back[i], rgba[i], 1) << i;
    }
    // Nearly and fully transparent pixels lose colour precision, never alpha.
    EXPECT_EQ(back[11], 1);
    EXPECT_EQ(back[15], 0);
}

TEST(Image, RejectsBadSizesAndShortData) {
    const std::vector<std::uint8_t> rgba(15);
    EXPECT_THROW((void)Image::FromRgba(2, 2, rgba), CanvasError);
    EXPECT_THROW((void)Image::FromRgba(-1, 2, rgba), CanvasError);
    EXPECT_THROW(Image(Image::kMaxSide + 1, 1), CanvasError);
}

TEST(Image, OutOfRangePixelsAreIgnored) {
    Image image(2, 2, Color::Rgb(0x102030));
    image.SetPixel(-1, 0, Color::Rgb(0xFFFFFF));
    image.SetPixel(2, 1, Color::Rgb(0xFFFFFF));
    EXPECT_EQ(image.GetPixel(5, 5), Color::Transparent());
    EXPECT_EQ(image.GetPixel(1, 1), Color::Rgb(0x102030));
}

} // namespace
} // namespace ostinel::gui
