// Anti-aliased rounded rectangles. Coverage is the exact area against the straight sides and,
// beside the arcs, the distance of the pixel centre to the arc clamped to one pixel (a close
// approximation of the area). Only a band of about radius + 1 pixels along the
// edge is evaluated per pixel; the inside is a plain span fill.
#include "graphics/Canvas.h"

#include <algorithm>
#include <cmath>

namespace ostinel::gui {

namespace {

class RoundShape {
public:
    RoundShape(float left, float top, float right, float bottom, float radius)
        : cx_((left + right) * 0.5f), cy_((top + bottom) * 0.5f), hw_((right - left) * 0.5f),
          hh_((bottom - top) * 0.5f) {
        empty_ = !(hw_ > 0.0f && hh_ > 0.0f);
        r_ = std::clamp(radius, 0.0f, empty_ ? 0.0f : std::min(hw_, hh_));
    }

    // Fraction 0..1 of the pixel whose centre is (px, py) that lies inside the shape.
    [[nodiscard]] float Coverage(float px, float py) const {
        if (empty_) {
            return 0.0f;
        }
        const float ax = std::fabs(px - cx_);
        const float ay = std::fabs(py - cy_);
        // Exact area against the straight sides (a product, so square corners are right too).
        const float box =
            std::clamp(hw_ - ax + 0.5f, 0.0f, 1.0f) * std::clamp(hh_ - ay + 0.5f, 0.0f, 1.0f);
        const float qx = ax - (hw_ - r_);
        const float qy = ay - (hh_ - r_);
        if (qx <= 0.0f || qy <= 0.0f) {
            return box;
        }
        // Beside an arc: the distance to it, clamped to one pixel.
        const float arc = std::clamp(r_ + 0.5f - std::sqrt(qx * qx + qy * qy), 0.0f, 1.0f);
        return std::min(box, arc);
    }

    [[nodiscard]] float Radius() const { return r_; }

private:
    float cx_;
    float cy_;
    float hw_;
    float hh_;
    float r_ = 0.0f;
    bool empty_ = true;
};

std::uint32_t ToByte(float coverage) {
    return static_cast<std::uint32_t>(coverage * 255.0f + 0.5f);
}

float Sanitised(float v) {
    return std::isfinite(v) ? std::max(v, 0.0f) : 0.0f;
}

} // namespace

void Canvas::FillRoundRect(const Rect& r, float radius, Color fill) {
    PaintRoundRect(r, radius, 0.0f, fill, fill, true);
}

void Canvas::FrameRoundRect(const Rect& r, float radius, float width, Color color) {
    if (!(width > 0.0f)) {
        return;
    }
    PaintRoundRect(r, radius, width, Color::Transparent(), color, false);
}

void Canvas::FillRoundRectWithBorder(const Rect& r, float radius, float borderWidth, Color fill,
                                     Color border) {
    PaintRoundRect(r, radius, borderWidth, fill, border, true);
}

void Canvas::PaintRoundRect(const Rect& r, float radius, float borderWidth, Color fill,
                            Color border, bool fillInterior) {
    const Rect dev = r.Offset(origin_);
    const Rect d = dev.Intersect(clip_);
    if (d.IsEmpty()) {
        return;
    }
    const float band = Sanitised(borderWidth);
    const RoundShape outer(static_cast<float>(dev.left), static_cast<float>(dev.top),
                           static_cast<float>(dev.right), static_cast<float>(dev.bottom),
                           Sanitised(radius));
    // Points at least `band` inside the outer edge: the same shape shrunk by band.
    const RoundShape inner(static_cast<float>(dev.left) + band, static_cast<float>(dev.top) + band,
                           static_cast<float>(dev.right) - band,
                           static_cast<float>(dev.bottom) - band, outer.Radius() - band);
    const Pixel fillPixel = fillInterior ? pixel::Premultiply(fill) : 0;
    const Pixel borderPixel = pixel::Premultiply(border);

    auto shade = [&](Pixel dst, float px, float py) {
        const std::uint32_t covOuter = ToByte(outer.Coverage(px, py));
        if (covOuter == 0) {
            return dst;
        }
        const std::uint32_t covInner =
            band > 0.0f ? std::min(ToByte(inner.Coverage(px, py)), covOuter) : covOuter;
        // The two weights add up to covOuter <= 255, so the sum cannot overflow a channel.
        const Pixel src =
            pixel::Scale(borderPixel, covOuter - covInner) + pixel::Scale(fillPixel, covInner);
        return pixel::Over(dst, src);
    };

    // Pixels this far from every side are fully inside the inner shape.
    const int edge = static_cast<int>(std::ceil(std::max(outer.Radius(), band))) + 1;
    const Rect interior = dev.Inset(edge).Intersect(d);

    for (int y = d.top; y < d.bottom; ++y) {
        Pixel* row = surface_.Row(y);
        const float py = static_cast<float>(y) + 0.5f;
        int x0 = d.right;
        int x1 = d.right;
        if (!interior.IsEmpty() && y >= interior.top && y < interior.bottom) {
            x0 = interior.left;
            x1 = interior.right;
        }
        for (int x = d.left; x < x0; ++x) {
            row[x] = shade(row[x], static_cast<float>(x) + 0.5f, py);
        }
        if (x0 < x1 && fillPixel != 0) {
            FillDeviceSpan(row, x0, x1, fillPixel);
        }
        for (int x = x1; x < d.right; ++x) {
            row[x] = shade(row[x], static_cast<float>(x) + 0.5f, py);
        }
    }
}

} // namespace ostinel::gui
