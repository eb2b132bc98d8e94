#include "gui/controls/SwitchGlyphs.h"

#include "graphics/Canvas.h"
#include "gui/widgets/Shapes.h"
#include "gui/widgets/TextUtil.h"

namespace ostinel::gui {

namespace {

// One glyph: a square plate with a bevel, a stitched seam inside its edge and a power symbol.
void DrawGlyph(Canvas& c, int top, Color plate, Color symbol, bool lit) {
    const int s = kSwitchGlyphSize;
    const Rect r{0, top, s, top + s};
    c.FillRect(r, plate);
    // Bevel: light top-left, dark bottom-right.
    const Color light = MixColor(plate, Color::Rgb(0xFFFFFF), 0.22f);
    const Color dark = MixColor(plate, Color::Rgb(0x000000), 0.35f);
    c.HLine(0, s, top, light);
    c.VLine(0, top, top + s, light);
    c.HLine(0, s, top + s - 1, dark);
    c.VLine(s - 1, top, top + s, dark);
    // The stitched seam: short dashes two pixels inside the edge.
    const Color seam = MixColor(plate, Color::Rgb(0xFFFFFF), lit ? 0.30f : 0.18f);
    for (int i = 3; i < s - 3; i += 3) {
        c.HLine(i, i + 2, top + 2, seam);
        c.HLine(i, i + 2, top + s - 3, seam);
        c.VLine(2, top + i, top + i + 2, seam);
        c.VLine(s - 3, top + i, top + i + 2, seam);
    }
    // Power symbol: an open ring and a bar through its gap.
    const PointF centre{12.0f, static_cast<float>(top) + 12.8f};
    if (lit) {
        FillCircle(c, centre, 7.5f, symbol.WithAlpha(40));
    }
    StrokeArc(c, centre, 5.2f, 2.0f, 40.0f, 320.0f, symbol);
    const PointF bar[] = {{12.0f, static_cast<float>(top) + 5.5f},
                          {12.0f, static_cast<float>(top) + 12.0f}};
    StrokePolyline(c, bar, 2.0f, symbol);
}

} // namespace

Image MakeSwitchGlyphStrip(bool dark) {
    Canvas c(kSwitchGlyphSize, 2 * kSwitchGlyphSize, Color::Rgb(0x000000));
    if (dark) {
        DrawGlyph(c, 0, Color::Rgb(0x4C4C4C), Color::Rgb(0xA8A8A8), false);
        DrawGlyph(c, kSwitchGlyphSize, Color::Rgb(0x3F6183), Color::Rgb(0xE6F1FF), true);
    } else {
        DrawGlyph(c, 0, Color::Rgb(0x6F6F6F), Color::Rgb(0xD2D2D2), false);
        DrawGlyph(c, kSwitchGlyphSize, Color::Rgb(0x5182B3), Color::Rgb(0xFFFFFF), true);
    }
    return c.Surface();
}

} // namespace ostinel::gui
