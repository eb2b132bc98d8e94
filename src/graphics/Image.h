#pragma once
// A width x height block of canvas pixels (premultiplied 0xAARRGGBB, see Pixel.h), rows
// stored top-down without padding. Used for tiles, glyph strips and as the canvas surface.
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "graphics/Pixel.h"

#include <cstdint>
#include <span>
#include <vector>

namespace ostinel::gui {

class Image {
public:
    // Larger images are refused: nothing in the editor comes near, and it bounds the memory a
    // damaged resource can ask for.
    static constexpr int kMaxSide = 16384;

    Image() = default;
    // Throws CanvasError when a side is negative or above kMaxSide.
    Image(int width, int height, Color fill = Color::Transparent());

    // From straight (not premultiplied) RGBA bytes, 4 per pixel, rows top-down.
    // Throws CanvasError when the sizes are invalid or rgba holds fewer than width*height*4.
    [[nodiscard]] static Image FromRgba(int width, int height, std::span<const std::uint8_t> rgba);
    // Straight RGBA bytes, 4 per pixel, rows top-down (PNG order).
    [[nodiscard]] std::vector<std::uint8_t> ToRgba() const;

    [[nodiscard]] int Width() const { return width_; }
    [[nodiscard]] int Height() const { return height_; }
    [[nodiscard]] bool IsEmpty() const { return width_ == 0 || height_ == 0; }
    [[nodiscard]] Rect Bounds() const { return {0, 0, width_, height_}; }

    [[nodiscard]] Pixel* Row(int y) {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    [[nodiscard]] const Pixel* Row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    [[nodiscard]] std::span<Pixel> Pixels() { return pixels_; }
    [[nodiscard]] std::span<const Pixel> Pixels() const { return pixels_; }

    // Straight colour of one pixel; coordinates outside the image give Transparent.
    [[nodiscard]] Color GetPixel(int x, int y) const;
    // Stores the colour without blending; coordinates outside the image are ignored.
    void SetPixel(int x, int y, Color c);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Pixel> pixels_;
};

} // namespace ostinel::gui
