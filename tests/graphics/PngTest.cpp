#include "graphics/Png.h"
#include "graphics/CanvasError.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace ostinel::gui {
namespace {

Image Sample() {
    Image image(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            image.SetPixel(x, y,
                           Color{static_cast<std::uint8_t>(50 * x),
                                 static_cast<std::uint8_t>(80 * y), 200,
                                 static_cast<std::uint8_t>(255 - 40 * x)});
        }
    }
    return image;
}

void ExpectSamePixels(const Image& a, const Image& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            EXPECT_EQ(a.Row(y)[x], b.Row(y)[x]) << x << "," << y;
        }
    }
}

TEST(Png, EncodeDecodeRoundTripIsExact) {
    const Image image = Sample();
    const std::vector<std::uint8_t> png = EncodePng(image);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png[2], 'N');
    EXPECT_EQ(png[3], 'G');
    ExpectSamePixels(LoadPng(png), image);
}

TEST(Png, SaveAndLoadFile) {
    const auto path = std::filesystem::path(::testing::TempDir()) / "ostinel-png-test.png";
    Canvas canvas(7, 4, Color::Rgb(0x336699));
    canvas.FillRect({1, 1, 3, 3}, Color{255, 255, 255, 100});
    SavePng(canvas, path);
    ExpectSamePixels(LoadPngFile(path), canvas.Surface());
    std::filesystem::remove(path);
}

TEST(Png, BadInputGivesErrors) {
    const std::vector<std::uint8_t> garbage = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_THROW((void)LoadPng(garbage), CanvasError);
    EXPECT_THROW((void)LoadPng({}), CanvasError);
    std::vector<std::uint8_t> truncated = EncodePng(Sample());
    truncated.resize(truncated.size() / 2);
    EXPECT_THROW((void)LoadPng(truncated), CanvasError);
    EXPECT_THROW((void)LoadPngFile("/nonexistent/ostinel/none.png"), CanvasError);
    EXPECT_THROW(SavePng(Sample(), "/nonexistent/ostinel/out.png"), CanvasError);
    EXPECT_THROW((void)EncodePng(Image()), CanvasError);
}

} // namespace
} // namespace ostinel::gui
