#include "gui/widgets/Shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace ostinel::gui {

namespace {

float Dot(PointF a, PointF b) {
    return a.x * b.x + a.y * b.y;
}
PointF Sub(PointF a, PointF b) {
    return {a.x - b.x, a.y - b.y};
}
float Length(PointF a) {
    return std::sqrt(Dot(a, a));
}

float SegmentDistance(PointF p, PointF a, PointF b) {
    const PointF pa = Sub(p, a);
    const PointF ba = Sub(b, a);
    const float len2 = Dot(ba, ba);
    const float h = len2 > 0 ? std::clamp(Dot(pa, ba) / len2, 0.0f, 1.0f) : 0.0f;
    return Length({pa.x - ba.x * h, pa.y - ba.y * h});
}

// Rasterises the field over `box` (local pixels) into a coverage mask and paints it.
template <class Field>
void PaintField(Canvas& canvas, float left, float top, float right, float bottom, Color color,
                Field&& field) {
    const int x0 = static_cast<int>(std::floor(left)) - 1;
    const int y0 = static_cast<int>(std::floor(top)) - 1;
    const int x1 = static_cast<int>(std::ceil(right)) + 1;
    const int y1 = static_cast<int>(std::ceil(bottom)) + 1;
    const Rect box = Rect{x0, y0, x1, y1}.Intersect(canvas.ClipRect());
    if (box.IsEmpty()) {
        return;
    }
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(box.Width()) * box.Height());
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const float d =
                field(PointF{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f});
            const float cov = std::clamp(0.5f - d, 0.0f, 1.0f);
            mask[static_cast<std::size_t>(y - box.top) * box.Width() + (x - box.left)] =
                static_cast<std::uint8_t>(cov * 255.0f + 0.5f);
        }
    }
    canvas.FillMask({mask.data(), box.Width(), box.Height(), box.Width()}, box.TopLeft(), color);
}

// Angle of v clockwise from straight up, 0..360.
float ClockAngle(PointF v) {
    float deg = std::atan2(v.x, -v.y) * 180.0f / std::numbers::pi_v<float>;
    return deg < 0 ? deg + 360.0f : deg;
}

PointF OnCircle(PointF c, float r, float deg) {
    const float rad = deg * std::numbers::pi_v<float> / 180.0f;
    return {c.x + r * std::sin(rad), c.y - r * std::cos(rad)};
}

} // namespace

void FillCircle(Canvas& canvas, PointF c, float radius, Color color) {
    PaintField(canvas, c.x - radius, c.y - radius, c.x + radius, c.y + radius, color,
               [&](PointF p) { return Length(Sub(p, c)) - radius; });
}

void StrokeCircle(Canvas& canvas, PointF c, float radius, float width, Color color) {
    const float outer = radius + width / 2;
    PaintField(canvas, c.x - outer, c.y - outer, c.x + outer, c.y + outer, color,
               [&](PointF p) { return std::fabs(Length(Sub(p, c)) - radius) - width / 2; });
}

void StrokeArc(Canvas& canvas, PointF c, float radius, float width, float fromDeg, float toDeg,
               Color color) {
    const float sweep = std::fmod(std::fmod(toDeg - fromDeg, 360.0f) + 360.0f, 360.0f);
    const PointF a = OnCircle(c, radius, fromDeg);
    const PointF b = OnCircle(c, radius, toDeg);
    const float outer = radius + width / 2;
    PaintField(canvas, c.x - outer, c.y - outer, c.x + outer, c.y + outer, color, [&](PointF p) {
        const float rel = std::fmod(ClockAngle(Sub(p, c)) - fromDeg + 720.0f, 360.0f);
        if (rel <= sweep) {
            return std::fabs(Length(Sub(p, c)) - radius) - width / 2;
        }
        return std::min(Length(Sub(p, a)), Length(Sub(p, b))) - width / 2;
    });
}

void StrokePolyline(Canvas& canvas, std::span<const PointF> points, float width, Color color) {
    if (points.empty()) {
        return;
    }
    float l = points[0].x, t = points[0].y, r = l, b = t;
    for (const PointF& p : points) {
        l = std::min(l, p.x);
        t = std::min(t, p.y);
        r = std::max(r, p.x);
        b = std::max(b, p.y);
    }
    const float h = width / 2;
    PaintField(canvas, l - h, t - h, r + h, b + h, color, [&](PointF p) {
        float d = Length(Sub(p, points[0]));
        for (std::size_t i = 1; i < points.size(); ++i) {
            d = std::min(d, SegmentDistance(p, points[i - 1], points[i]));
        }
        return d - h;
    });
}

void FillPolygon(Canvas& canvas, std::span<const PointF> v, Color color, float grow) {
    if (v.size() < 3) {
        return;
    }
    float l = v[0].x, t = v[0].y, r = l, b = t;
    for (const PointF& p : v) {
        l = std::min(l, p.x);
        t = std::min(t, p.y);
        r = std::max(r, p.x);
        b = std::max(b, p.y);
    }
    PaintField(canvas, l - grow, t - grow, r + grow, b + grow, color, [&](PointF p) {
        // Distance to the outline, negative inside (crossing-number sign).
        float d2 = Dot(Sub(p, v[0]), Sub(p, v[0]));
        float sign = 1.0f;
        for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
            const PointF e = Sub(v[j], v[i]);
            const PointF w = Sub(p, v[i]);
            const float h = std::clamp(Dot(w, e) / Dot(e, e), 0.0f, 1.0f);
            const PointF q{w.x - e.x * h, w.y - e.y * h};
            d2 = std::min(d2, Dot(q, q));
            const bool c1 = p.y >= v[i].y;
            const bool c2 = p.y < v[j].y;
            const bool c3 = e.x * w.y > e.y * w.x;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) {
                sign = -sign;
            }
        }
        return sign * std::sqrt(d2) - grow;
    });
}

} // namespace ostinel::gui
