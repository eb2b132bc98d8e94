#include "graphics/Text.h"

#include "graphics/GlyphCache.h"
#include "graphics/Utf8.h"

#include <algorithm>

namespace ostinel::gui {

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6"; // U+2026

// Walks the glyphs of text, calling onGlyph(glyphIndex, penBefore) with the pen in 1/64
// pixel; returns the pen after the last glyph.
template <class OnGlyph> int Layout(SizedFont& font, std::string_view text, OnGlyph&& onGlyph) {
    int pen = 0;
    int previous = -1;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const int glyph = font.GlyphIndex(DecodeUtf8At(text, pos));
        if (previous >= 0) {
            pen += font.Kerning(previous, glyph);
        }
        onGlyph(glyph, pen);
        pen += font.Advance(glyph);
        previous = glyph;
    }
    return pen;
}

// Division rounding towards minus infinity, for positions left of or above a reference.
int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int PenToPixels(int pen) {
    return pen <= 0 ? 0 : (pen + kSubpixel - 1) / kSubpixel;
}

int MeasureLocked(SizedFont& font, std::string_view text) {
    return PenToPixels(Layout(font, text, [](int, int) {}));
}

} // namespace

FontMetrics GetFontMetrics(const Font& font) {
    GlyphCache& cache = GlyphCache::Instance();
    const auto lock = cache.Lock();
    return cache.Get(font).Metrics();
}

int TextWidth(const Font& font, std::string_view text) {
    GlyphCache& cache = GlyphCache::Instance();
    const auto lock = cache.Lock();
    return MeasureLocked(cache.Get(font), text);
}

void DrawTextAtBaseline(Canvas& canvas, const Font& font, std::string_view text, int x,
                        int baseline, Color color) {
    if (color.a == 0 || text.empty()) {
        return;
    }
    GlyphCache& cache = GlyphCache::Instance();
    const auto lock = cache.Lock();
    SizedFont& sized = cache.Get(font);
    Layout(sized, text, [&](int glyphIndex, int pen) {
        // Round the pen to a quarter pixel: whole pixels plus a phase with its own bitmap.
        const int quarters = FloorDiv(pen * kGlyphPhases + kSubpixel / 2, kSubpixel);
        const int whole = FloorDiv(quarters, kGlyphPhases);
        const int phase = quarters - whole * kGlyphPhases;
        const Glyph& g = sized.Rasterised(glyphIndex, phase);
        if (g.width == 0) {
            return;
        }
        canvas.FillMask({g.coverage.data(), g.width, g.height, g.width},
                        {x + whole + g.left, baseline + g.top}, color);
    });
}

void DrawText(Canvas& canvas, const Font& font, std::string_view text, int x, int top,
              Color color) {
    DrawTextAtBaseline(canvas, font, text, x, top + GetFontMetrics(font).ascent, color);
}

std::string EllipsizeText(const Font& font, std::string_view text, int maxWidth) {
    GlyphCache& cache = GlyphCache::Instance();
    const auto lock = cache.Lock();
    SizedFont& sized = cache.Get(font);
    if (MeasureLocked(sized, text) <= maxWidth) {
        return std::string(text);
    }
    // Cut points between code points, longest first.
    std::string best;
    std::size_t pos = 0;
    std::string candidate;
    while (pos < text.size()) {
        const std::size_t start = pos;
        (void)DecodeUtf8At(text, pos);
        std::string_view prefix = text.substr(0, start);
        while (!prefix.empty() && prefix.back() == ' ') {
            prefix.remove_suffix(1);
        }
        candidate.assign(prefix);
        candidate += kEllipsis;
        if (MeasureLocked(sized, candidate) > maxWidth) {
            break;
        }
        best = candidate;
    }
    return best.empty() ? std::string(kEllipsis) : best;
}

Point TextOriginInRect(const Font& font, std::string_view text, const Rect& r, TextAlign align) {
    const FontMetrics m = GetFontMetrics(font);
    const int width = TextWidth(font, text);
    int x = r.left;
    if (align == TextAlign::Center) {
        x = r.left + FloorDiv(r.Width() - width, 2);
    } else if (align == TextAlign::Right) {
        x = r.right - width;
    }
    if (m.height > r.Height()) {
        return {x, r.top + FloorDiv(r.Height() - m.height, 2)};
    }
    // Capitals centred, which looks centred; but the whole line box stays inside r so that
    // descenders are not cut.
    const int baseline = r.top + FloorDiv(r.Height() + m.capHeight, 2);
    return {x, std::clamp(baseline - m.ascent, r.top, r.bottom - m.height)};
}

void DrawTextInRect(Canvas& canvas, const Font& font, std::string_view text, const Rect& r,
                    Color color, TextAlign align, TextOverflow overflow) {
    if (r.IsEmpty()) {
        return;
    }
    std::string shortened;
    if (overflow == TextOverflow::Ellipsis) {
        shortened = EllipsizeText(font, text, r.Width());
        text = shortened;
    }
    const Point at = TextOriginInRect(font, text, r, align);
    const ClipScope clip(canvas, r);
    DrawText(canvas, font, text, at.x, at.y, color);
}

} // namespace ostinel::gui
