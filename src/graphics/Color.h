#pragma once
// Straight (not premultiplied) 8-bit RGBA colour, the currency of every drawing call.
#include <cstdint>

namespace ostinel::gui {

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;

    // 0xRRGGBB as written in colour tables, fully opaque.
    [[nodiscard]] static constexpr Color Rgb(std::uint32_t rgb) {
        return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                static_cast<std::uint8_t>(rgb), 255};
    }
    [[nodiscard]] static constexpr Color Transparent() { return {0, 0, 0, 0}; }

    [[nodiscard]] constexpr Color WithAlpha(std::uint8_t alpha) const { return {r, g, b, alpha}; }

    friend constexpr bool operator==(const Color&, const Color&) = default;
};

} // namespace ostinel::gui
