#pragma once
// Integer geometry in 96-dpi design pixels. Rectangles are half-open, like Win32 RECT:
// a pixel (x, y) is inside when left <= x < right and top <= y < bottom.
#include <algorithm>

namespace ostinel::gui {

struct Point {
    int x = 0;
    int y = 0;

    friend constexpr Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
    friend constexpr Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    [[nodiscard]] static constexpr Rect FromSize(int x, int y, int width, int height) {
        return {x, y, x + width, y + height};
    }

    [[nodiscard]] constexpr int Width() const { return right - left; }
    [[nodiscard]] constexpr int Height() const { return bottom - top; }
    [[nodiscard]] constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    [[nodiscard]] constexpr Point TopLeft() const { return {left, top}; }

    [[nodiscard]] constexpr bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    [[nodiscard]] constexpr Rect Offset(Point d) const {
        return {left + d.x, top + d.y, right + d.x, bottom + d.y};
    }
    // Shrinks by d on every side (grows when d is negative).
    [[nodiscard]] constexpr Rect Inset(int d) const {
        return {left + d, top + d, right - d, bottom - d};
    }
    // The common part; an empty result is normalised to a zero rectangle.
    [[nodiscard]] constexpr Rect Intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        return r.IsEmpty() ? Rect{} : r;
    }
    // The smallest rectangle holding both; empty rectangles do not count.
    [[nodiscard]] constexpr Rect Union(const Rect& o) const {
        if (IsEmpty()) {
            return o;
        }
        if (o.IsEmpty()) {
            return *this;
        }
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

} // namespace ostinel::gui
