// The only translation unit holding the stb_image and stb_image_write implementations; they
// are compiled static so that no other library's copy can clash with them.
#include "graphics/Png.h"

#include "graphics/CanvasError.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <string>

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wcast-align"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wnull-dereference"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include <stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace ostinel::gui {

namespace {

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::string FailureReason() {
    const char* reason = stbi_failure_reason();
    return reason != nullptr ? reason : "unknown error";
}

struct StbiFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

std::string Describe(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

void WriteFile(const std::vector<std::uint8_t>& bytes, const std::filesystem::path& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        throw CanvasError("Cannot write \"" + Describe(path) + "\"");
    }
}

} // namespace

std::vector<std::uint8_t> EncodePng(const Image& image) {
    if (image.IsEmpty()) {
        throw CanvasError("Cannot encode an empty image");
    }
    const std::vector<std::uint8_t> rgba = image.ToRgba();
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(AppendBytes, &png, image.Width(), image.Height(), 4, rgba.data(),
                               image.Width() * 4) == 0) {
        throw CanvasError("PNG encoding failed");
    }
    return png;
}

std::vector<std::uint8_t> EncodePng(const Canvas& canvas) {
    return EncodePng(canvas.Surface());
}

void SavePng(const Image& image, const std::filesystem::path& path) {
    WriteFile(EncodePng(image), path);
}

void SavePng(const Canvas& canvas, const std::filesystem::path& path) {
    SavePng(canvas.Surface(), path);
}

Image LoadPng(std::span<const std::uint8_t> png) {
    if (png.empty() || png.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw CanvasError("Invalid PNG data");
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    const auto size = static_cast<int>(png.size());
    if (stbi_info_from_memory(png.data(), size, &width, &height, &channels) == 0) {
        throw CanvasError("Invalid PNG data: " + FailureReason());
    }
    if (width > Image::kMaxSide || height > Image::kMaxSide) {
        throw CanvasError("PNG image too large");
    }
    std::unique_ptr<stbi_uc, StbiFree> pixels(
        stbi_load_from_memory(png.data(), size, &width, &height, &channels, 4));
    if (!pixels) {
        throw CanvasError("Invalid PNG data: " + FailureReason());
    }
    const std::size_t bytes =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    return Image::FromRgba(width, height, {pixels.get(), bytes});
}

Image LoadPngFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw CanvasError("Cannot open \"" + Describe(path) + "\"");
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    return LoadPng(bytes);
}

} // namespace ostinel::gui
