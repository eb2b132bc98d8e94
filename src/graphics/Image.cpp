#include "graphics/Image.h"

#include "graphics/CanvasError.h"

#include <string>

namespace ostinel::gui {

namespace {

void CheckSize(int width, int height) {
    if (width < 0 || height < 0 || width > Image::kMaxSide || height > Image::kMaxSide) {
        throw CanvasError("Invalid image size " + std::to_string(width) + " x " +
                          std::to_string(height));
    }
}

} // namespace

Image::Image(int width, int height, Color fill) : width_(width), height_(height) {
    CheckSize(width, height);
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                   pixel::Premultiply(fill));
}

Image Image::FromRgba(int width, int height, std::span<const std::uint8_t> rgba) {
    CheckSize(width, height);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (rgba.size() < count * 4) {
        throw CanvasError("Image data too short");
    }
    Image image(width, height);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = rgba.data() + i * 4;
        image.pixels_[i] = pixel::Premultiply({p[0], p[1], p[2], p[3]});
    }
    return image;
}

std::vector<std::uint8_t> Image::ToRgba() const {
    std::vector<std::uint8_t> out(pixels_.size() * 4);
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        const Color c = pixel::Unpremultiply(pixels_[i]);
        out[i * 4] = c.r;
        out[i * 4 + 1] = c.g;
        out[i * 4 + 2] = c.b;
        out[i * 4 + 3] = c.a;
    }
    return out;
}

Color Image::GetPixel(int x, int y) const {
    if (!Bounds().Contains({x, y})) {
        return Color::Transparent();
    }
    return pixel::Unpremultiply(Row(y)[x]);
}

void Image::SetPixel(int x, int y, Color c) {
    if (Bounds().Contains({x, y})) {
        Row(y)[x] = pixel::Premultiply(c);
    }
}

} // namespace ostinel::gui
