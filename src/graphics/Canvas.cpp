#include "graphics/Canvas.h"

#include "graphics/CanvasError.h"

#include <algorithm>
#include <utility>

namespace ostinel::gui {

namespace {

// Python-style modulo: the tile phase of a coordinate left of or above the origin.
int PositiveMod(int v, int m) {
    const int r = v % m;
    return r < 0 ? r + m : r;
}

} // namespace

Canvas::Canvas(int width, int height, Color fill)
    : surface_(width, height, fill), clip_(surface_.Bounds()) {}

void Canvas::Resize(int width, int height, Color fill) {
    surface_ = Image(width, height, fill);
    clip_ = surface_.Bounds();
    origin_ = {};
    stack_.clear();
}

void Canvas::PushClip(const Rect& r) {
    stack_.push_back({clip_, origin_});
    clip_ = clip_.Intersect(r.Offset(origin_));
}

void Canvas::PushView(const Rect& r) {
    PushClip(r);
    origin_ = origin_ + r.TopLeft();
}

void Canvas::PopClip() {
    if (stack_.empty()) {
        throw CanvasError("Canvas clip stack is empty");
    }
    clip_ = stack_.back().clip;
    origin_ = stack_.back().origin;
    stack_.pop_back();
}

Rect Canvas::ToDeviceClipped(const Rect& r) const {
    return r.Offset(origin_).Intersect(clip_);
}

void Canvas::FillDeviceSpan(Pixel* row, int x0, int x1, Pixel p) {
    if ((p >> 24) == 255) {
        std::fill(row + x0, row + x1, p);
        return;
    }
    for (int x = x0; x < x1; ++x) {
        row[x] = pixel::Over(row[x], p);
    }
}

void Canvas::Clear(Color c) {
    const Pixel p = pixel::Premultiply(c);
    for (int y = clip_.top; y < clip_.bottom; ++y) {
        Pixel* row = surface_.Row(y);
        std::fill(row + clip_.left, row + clip_.right, p);
    }
}

void Canvas::FillRect(const Rect& r, Color c) {
    const Rect d = ToDeviceClipped(r);
    if (d.IsEmpty() || c.a == 0) {
        return;
    }
    const Pixel p = pixel::Premultiply(c);
    for (int y = d.top; y < d.bottom; ++y) {
        FillDeviceSpan(surface_.Row(y), d.left, d.right, p);
    }
}

void Canvas::FrameRect(const Rect& r, Color c) {
    if (r.IsEmpty()) {
        return;
    }
    // Four non-overlapping pieces so translucent colours are not applied twice at corners.
    FillRect({r.left, r.top, r.right, r.top + 1}, c);
    if (r.Height() > 1) {
        FillRect({r.left, r.bottom - 1, r.right, r.bottom}, c);
    }
    FillRect({r.left, r.top + 1, r.left + 1, r.bottom - 1}, c);
    if (r.Width() > 1) {
        FillRect({r.right - 1, r.top + 1, r.right, r.bottom - 1}, c);
    }
}

void Canvas::HLine(int x0, int x1, int y, Color c) {
    if (x1 < x0) {
        std::swap(x0, x1);
    }
    FillRect({x0, y, x1, y + 1}, c);
}

void Canvas::VLine(int x, int y0, int y1, Color c) {
    if (y1 < y0) {
        std::swap(y0, y1);
    }
    FillRect({x, y0, x + 1, y1}, c);
}

void Canvas::DrawImage(const Image& image, Point at, std::uint8_t opacity) {
    DrawImage(image, image.Bounds(), at, opacity);
}

void Canvas::DrawImage(const Image& image, const Rect& source, Point at, std::uint8_t opacity) {
    const Rect src = source.Intersect(image.Bounds());
    if (src.IsEmpty() || opacity == 0) {
        return;
    }
    // Where the source's top-left lands, then cut to the clip.
    const Point shift = at + Point{src.left - source.left, src.top - source.top};
    const Rect d = ToDeviceClipped(Rect::FromSize(shift.x, shift.y, src.Width(), src.Height()));
    if (d.IsEmpty()) {
        return;
    }
    const int dx = src.left - (shift.x + origin_.x);
    const int dy = src.top - (shift.y + origin_.y);
    for (int y = d.top; y < d.bottom; ++y) {
        const Pixel* in = image.Row(y + dy);
        Pixel* out = surface_.Row(y);
        for (int x = d.left; x < d.right; ++x) {
            const Pixel s = opacity == 255 ? in[x + dx] : pixel::Scale(in[x + dx], opacity);
            out[x] = pixel::Over(out[x], s);
        }
    }
}

void Canvas::TileImage(const Image& tile, const Rect& area, Point origin) {
    if (tile.IsEmpty()) {
        return;
    }
    const Rect d = ToDeviceClipped(area);
    const Point o = origin + origin_;
    for (int y = d.top; y < d.bottom; ++y) {
        const Pixel* in = tile.Row(PositiveMod(y - o.y, tile.Height()));
        Pixel* out = surface_.Row(y);
        int tx = PositiveMod(d.left - o.x, tile.Width());
        for (int x = d.left; x < d.right; ++x) {
            out[x] = pixel::Over(out[x], in[tx]);
            if (++tx == tile.Width()) {
                tx = 0;
            }
        }
    }
}

void Canvas::FillMask(const CoverageMask& mask, Point at, Color c) {
    if (mask.data == nullptr || c.a == 0) {
        return;
    }
    const Rect d = ToDeviceClipped(Rect::FromSize(at.x, at.y, mask.width, mask.height));
    const Pixel p = pixel::Premultiply(c);
    const int mx = -(at.x + origin_.x);
    const int my = -(at.y + origin_.y);
    for (int y = d.top; y < d.bottom; ++y) {
        const std::uint8_t* cov = mask.data + static_cast<std::ptrdiff_t>(y + my) * mask.stride;
        Pixel* out = surface_.Row(y);
        for (int x = d.left; x < d.right; ++x) {
            out[x] = pixel::OverWithCoverage(out[x], p, cov[x + mx]);
        }
    }
}

} // namespace ostinel::gui
