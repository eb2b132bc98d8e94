#pragma once
// PNG in and out: straight RGBA, 8 bits per channel. Resources (tiles, glyph strips) are
// decoded with LoadPng; screenshots and headless renders are written with SavePng.
#include "graphics/Canvas.h"
#include "graphics/Image.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace ostinel::gui {

// Throws CanvasError when encoding fails.
[[nodiscard]] std::vector<std::uint8_t> EncodePng(const Image& image);
[[nodiscard]] std::vector<std::uint8_t> EncodePng(const Canvas& canvas);

// Throws CanvasError when the file cannot be written.
void SavePng(const Image& image, const std::filesystem::path& path);
void SavePng(const Canvas& canvas, const std::filesystem::path& path);

// Decodes any PNG stb_image understands into an Image. Throws CanvasError with a message
// for data that is not a valid PNG or whose size exceeds Image::kMaxSide.
[[nodiscard]] Image LoadPng(std::span<const std::uint8_t> png);
[[nodiscard]] Image LoadPngFile(const std::filesystem::path& path);

} // namespace ostinel::gui
