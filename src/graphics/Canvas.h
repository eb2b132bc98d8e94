#pragma once
// The software surface every widget paints into; the platform window blits Pixels() as they
// are (see Pixel.h for the layout). Drawing happens on the GUI thread only.
//
// Coordinates are local: the state stack holds a clip rectangle and an origin. PushClip
// narrows the clip; PushView narrows it and moves the origin to the view's top-left, so a
// child widget paints at (0, 0). Every drawing operation honours the current clip.
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "graphics/Image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostinel::gui {

// An 8-bit coverage mask (0 = nothing, 255 = full), e.g. a rasterised glyph.
struct CoverageMask {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0; // bytes from one row to the next
};

class Canvas {
public:
    // Throws CanvasError for invalid sizes (see Image::kMaxSide).
    Canvas(int width, int height, Color fill = Color::Rgb(0x000000));

    // Drops the contents and the state stack.
    void Resize(int width, int height, Color fill = Color::Rgb(0x000000));

    [[nodiscard]] int Width() const { return surface_.Width(); }
    [[nodiscard]] int Height() const { return surface_.Height(); }
    [[nodiscard]] const Image& Surface() const { return surface_; }
    [[nodiscard]] const Pixel* Pixels() const { return surface_.Pixels().data(); }
    [[nodiscard]] int StrideBytes() const { return surface_.Width() * 4; }
    // Straight colour at device coordinates (origin and clip ignored).
    [[nodiscard]] Color GetPixel(int x, int y) const { return surface_.GetPixel(x, y); }

    // --- State stack -----------------------------------------------------------------
    // Intersects the clip with r (local coordinates).
    void PushClip(const Rect& r);
    // Intersects the clip with r and moves the origin to r's top-left corner.
    void PushView(const Rect& r);
    // Undoes the latest PushClip/PushView. Throws CanvasError when nothing is pushed.
    void PopClip();
    [[nodiscard]] std::size_t StateDepth() const { return stack_.size(); }
    // Current clip in local coordinates (empty when nothing can be drawn).
    [[nodiscard]] Rect ClipRect() const { return clip_.Offset({-origin_.x, -origin_.y}); }
    // Current origin in device coordinates.
    [[nodiscard]] Point Origin() const { return origin_; }

    // --- Drawing (local coordinates) -------------------------------------------------
    // Stores c in every pixel of the clip, without blending (also for translucent c).
    void Clear(Color c);
    // Source-over fill; an opaque colour is a plain store.
    void FillRect(const Rect& r, Color c);
    // One-pixel outline along the inside of r.
    void FrameRect(const Rect& r, Color c);
    // Pixels x0..x1-1 of row y, and x of rows y0..y1-1; reversed ends are swapped.
    void HLine(int x0, int x1, int y, Color c);
    void VLine(int x, int y0, int y1, Color c);

    // Anti-aliased rounded rectangles (coverage per pixel, source-over). The radius is
    // limited to half the smaller side, so a 20-pixel-high shape gets at most radius 10.
    void FillRoundRect(const Rect& r, float radius, Color fill);
    // An outline band of the given width inside the shape's edge, anti-aliased on both sides.
    void FrameRoundRect(const Rect& r, float radius, float width, Color color);
    // Fill and border band in one pass, so that the two never blend over each other: along
    // the outer edge the border's opacity follows the coverage, across the band's inner edge
    // the colour passes from border to fill within one pixel.
    void FillRoundRectWithBorder(const Rect& r, float radius, float borderWidth, Color fill,
                                 Color border);

    // Source-over copy of image (or of its part source) with its top-left at `at`;
    // opacity scales the image's own alpha.
    void DrawImage(const Image& image, Point at, std::uint8_t opacity = 255);
    void DrawImage(const Image& image, const Rect& source, Point at, std::uint8_t opacity = 255);
    // Covers area with copies of tile laid out so that one copy has its top-left at origin
    // (local coordinates); source-over.
    void TileImage(const Image& tile, const Rect& area, Point origin);
    // Paints colour c weighted by the mask's coverage, mask top-left at `at`.
    void FillMask(const CoverageMask& mask, Point at, Color c);

private:
    struct State {
        Rect clip;
        Point origin;
    };

    // Local rectangle -> device rectangle inside the clip.
    [[nodiscard]] Rect ToDeviceClipped(const Rect& r) const;
    void FillDeviceSpan(Pixel* row, int x0, int x1, Pixel p);
    void PaintRoundRect(const Rect& r, float radius, float borderWidth, Color fill, Color border,
                        bool fillInterior);

    Image surface_;
    Rect clip_;
    Point origin_;
    std::vector<State> stack_;
};

// Restores the canvas state on scope exit.
class ClipScope {
public:
    enum class Kind { Clip, View };
    ClipScope(Canvas& canvas, const Rect& r, Kind kind = Kind::Clip) : canvas_(canvas) {
        if (kind == Kind::View) {
            canvas_.PushView(r);
        } else {
            canvas_.PushClip(r);
        }
    }
    ~ClipScope() { canvas_.PopClip(); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    Canvas& canvas_;
};

} // namespace ostinel::gui
