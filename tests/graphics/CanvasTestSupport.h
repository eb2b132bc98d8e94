#pragma once
#include "graphics/Canvas.h"

#include <cstdlib>

namespace ostinel::gui::test {

// Bounding box of the pixels that differ from background (empty when none do).
inline Rect InkBounds(const Canvas& canvas, Color background) {
    Rect ink;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.GetPixel(x, y) != background) {
                ink = ink.Union({x, y, x + 1, y + 1});
            }
        }
    }
    return ink;
}

// Largest channel difference between two colours.
inline int ColorDistance(Color a, Color b) {
    int d = std::abs(a.r - b.r);
    d = std::max(d, std::abs(a.g - b.g));
    d = std::max(d, std::abs(a.b - b.b));
    return std::max(d, std::abs(a.a - b.a));
}

} // namespace ostinel::gui::test
