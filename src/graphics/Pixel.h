#pragma once
// The canvas pixel: one 32-bit word 0xAARRGGBB with premultiplied colour. On little-endian
// machines the bytes lie in memory as B, G, R, A, which is what a Win32 32-bit DIB and an X11
// ZPixmap of depth 24/32 expect, so an opaque canvas blits without conversion.
// Premultiplied storage makes source-over one multiply per channel and stays correct when the
// destination itself is translucent (overlay layers).
#include "graphics/Color.h"

#include <cstdint>

namespace ostinel::gui {

using Pixel = std::uint32_t;

namespace pixel {

// round(x / 255) for 0 <= x <= 255 * 255, without a division.
[[nodiscard]] constexpr std::uint32_t Div255(std::uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// Multiplies the four channels of p by k / 255 (k in 0..255), rounding each; two channels at
// a time in the 0x00FF00FF lanes.
[[nodiscard]] constexpr Pixel Scale(Pixel p, std::uint32_t k) {
    std::uint32_t rb = (p & 0x00FF00FFu) * k + 0x00800080u;
    std::uint32_t ag = ((p >> 8) & 0x00FF00FFu) * k + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

[[nodiscard]] constexpr Pixel Premultiply(Color c) {
    const std::uint32_t a = c.a;
    return (a << 24) | (Div255(c.r * a) << 16) | (Div255(c.g * a) << 8) | Div255(c.b * a);
}

[[nodiscard]] constexpr Color Unpremultiply(Pixel p) {
    const std::uint32_t a = p >> 24;
    if (a == 0) {
        return Color::Transparent();
    }
    auto channel = [a](std::uint32_t v) {
        const std::uint32_t s = (v * 255 + a / 2) / a;
        return static_cast<std::uint8_t>(s > 255 ? 255 : s);
    };
    return {channel((p >> 16) & 0xFF), channel((p >> 8) & 0xFF), channel(p & 0xFF),
            static_cast<std::uint8_t>(a)};
}

// Source-over: src + dst * (1 - srcAlpha), both premultiplied.
[[nodiscard]] constexpr Pixel Over(Pixel dst, Pixel src) {
    const std::uint32_t sa = src >> 24;
    if (sa == 255) {
        return src;
    }
    if (sa == 0 && src == 0) {
        return dst;
    }
    return src + Scale(dst, 255 - sa);
}

// Source-over of src weighted by a coverage 0..255 (anti-aliased edges, glyphs).
[[nodiscard]] constexpr Pixel OverWithCoverage(Pixel dst, Pixel src, std::uint32_t coverage) {
    if (coverage == 0) {
        return dst;
    }
    return Over(dst, coverage == 255 ? src : Scale(src, coverage));
}

} // namespace pixel
} // namespace ostinel::gui
