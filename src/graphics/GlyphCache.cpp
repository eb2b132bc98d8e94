// The only translation unit holding the stb_truetype implementation (compiled static).
#include "graphics/GlyphCache.h"

#include "graphics/CanvasError.h"
#include "graphics/EmbeddedFonts.h"

#include <algorithm>
#include <cmath>
#include <span>

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wcast-align"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wnull-dereference"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace ostinel::gui {

class FaceData {
public:
    FaceData(std::span<const std::uint8_t> ttf, bool monospace) : monospace_(monospace) {
        if (stbtt_InitFont(&info_, ttf.data(), stbtt_GetFontOffsetForIndex(ttf.data(), 0)) == 0) {
            throw CanvasError("Embedded font cannot be read");
        }
        notdefEmpty_ = stbtt_IsGlyphEmpty(&info_, 0) != 0;
    }

    [[nodiscard]] const stbtt_fontinfo& Info() const { return info_; }
    [[nodiscard]] bool Monospace() const { return monospace_; }
    [[nodiscard]] bool NotdefEmpty() const { return notdefEmpty_; }

private:
    stbtt_fontinfo info_{};
    bool monospace_;
    bool notdefEmpty_ = false;
};

namespace {

std::uint64_t PairKey(int a, int b) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
           static_cast<std::uint32_t>(b);
}

// A hollow box standing in for characters the face lacks, when its .notdef has no outline.
Glyph MissingBox(int advancePixels, const FontMetrics& m) {
    Glyph g;
    g.width = std::max(advancePixels - 2, 3);
    g.height = std::max(m.ascent - 2, 3);
    g.left = 1;
    g.top = -g.height;
    g.coverage.assign(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height), 0);
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            if (x == 0 || y == 0 || x == g.width - 1 || y == g.height - 1) {
                g.coverage[static_cast<std::size_t>(y * g.width + x)] = 255;
            }
        }
    }
    return g;
}

} // namespace

SizedFont::SizedFont(const FaceData& face, int pixelHeight)
    : face_(face),
      scale_(stbtt_ScaleForMappingEmToPixels(&face.Info(), static_cast<float>(pixelHeight))),
      scaleY_(scale_), integerAdvances_(face.Monospace()), asciiIndex_(128, -1) {
    // Light vertical hinting: stretch outlines vertically so that the x-height lands on a
    // whole pixel; the tops of lower-case letters are then sharp instead of half-covered.
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    if (stbtt_GetCodepointBox(&face.Info(), 'x', &x0, &y0, &x1, &y1) != 0 && y1 > 0) {
        const float xHeight = static_cast<float>(y1) * scale_;
        const float snapped = std::round(xHeight);
        if (snapped > 0.0f) {
            scaleY_ = scale_ * std::clamp(snapped / xHeight, 0.9f, 1.1f);
        }
    }
    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
    stbtt_GetFontVMetrics(&face.Info(), &ascent, &descent, &lineGap);
    metrics_.ascent = static_cast<int>(std::lround(static_cast<float>(ascent) * scale_));
    metrics_.descent = static_cast<int>(std::lround(static_cast<float>(-descent) * scale_));
    metrics_.height = metrics_.ascent + metrics_.descent;
    if (stbtt_GetCodepointBox(&face.Info(), 'H', &x0, &y0, &x1, &y1) != 0) {
        metrics_.capHeight = static_cast<int>(std::lround(static_cast<float>(y1) * scaleY_));
    }
}

int SizedFont::GlyphIndex(char32_t codepoint) {
    if (codepoint < 128) {
        int& cached = asciiIndex_[codepoint];
        if (cached < 0) {
            cached = stbtt_FindGlyphIndex(&face_.Info(), static_cast<int>(codepoint));
        }
        return cached;
    }
    const auto it = indexCache_.find(codepoint);
    if (it != indexCache_.end()) {
        return it->second;
    }
    const int index = stbtt_FindGlyphIndex(&face_.Info(), static_cast<int>(codepoint));
    indexCache_.emplace(codepoint, index);
    return index;
}

int SizedFont::Advance(int glyphIndex) {
    const auto it = advanceCache_.find(glyphIndex);
    if (it != advanceCache_.end()) {
        return it->second;
    }
    int advance = 0;
    int bearing = 0;
    stbtt_GetGlyphHMetrics(&face_.Info(), glyphIndex, &advance, &bearing);
    const float px = static_cast<float>(advance) * scale_;
    // Whole-pixel advances keep monospace columns aligned from row to row.
    const int value = integerAdvances_ ? static_cast<int>(std::lround(px)) * kSubpixel
                                       : static_cast<int>(std::lround(px * kSubpixel));
    advanceCache_.emplace(glyphIndex, value);
    return value;
}

int SizedFont::Kerning(int left, int right) {
    if (integerAdvances_) {
        return 0;
    }
    const std::uint64_t key = PairKey(left, right);
    const auto it = kerningCache_.find(key);
    if (it != kerningCache_.end()) {
        return it->second;
    }
    const int units = stbtt_GetGlyphKernAdvance(&face_.Info(), left, right);
    const int value = static_cast<int>(std::lround(static_cast<float>(units) * scale_ * kSubpixel));
    kerningCache_.emplace(key, value);
    return value;
}

const Glyph& SizedFont::Rasterised(int glyphIndex, int phase) {
    const std::uint64_t key = PairKey(glyphIndex, phase);
    auto it = glyphs_.find(key);
    if (it == glyphs_.end()) {
        it = glyphs_.emplace(key, Render(glyphIndex, phase)).first;
    }
    return it->second;
}

Glyph SizedFont::Render(int glyphIndex, int phase) const {
    if (glyphIndex == 0 && face_.NotdefEmpty()) {
        int advance = 0;
        int bearing = 0;
        stbtt_GetGlyphHMetrics(&face_.Info(), 0, &advance, &bearing);
        return MissingBox(static_cast<int>(std::lround(static_cast<float>(advance) * scale_)),
                          metrics_);
    }
    const float shift = static_cast<float>(phase) / static_cast<float>(kGlyphPhases);
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    stbtt_GetGlyphBitmapBoxSubpixel(&face_.Info(), glyphIndex, scale_, scaleY_, shift, 0.0f, &x0,
                                    &y0, &x1, &y1);
    Glyph g;
    g.left = x0;
    g.top = y0;
    g.width = std::max(x1 - x0, 0);
    g.height = std::max(y1 - y0, 0);
    if (g.width == 0 || g.height == 0) {
        g.width = 0;
        g.height = 0;
        return g;
    }
    g.coverage.assign(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height), 0);
    stbtt_MakeGlyphBitmapSubpixel(&face_.Info(), g.coverage.data(), g.width, g.height, g.width,
                                  scale_, scaleY_, shift, 0.0f, glyphIndex);
    return g;
}

GlyphCache& GlyphCache::Instance() {
    static GlyphCache cache;
    return cache;
}

GlyphCache::GlyphCache()
    : sans_(std::make_unique<FaceData>(fonts::SansBold(), false)),
      mono_(std::make_unique<FaceData>(fonts::MonoBold(), true)) {}

GlyphCache::~GlyphCache() = default;

SizedFont& GlyphCache::Get(const Font& font) {
    const int px = std::clamp(font.pixelHeight, Font::kMinPixelHeight, Font::kMaxPixelHeight);
    const bool mono = font.face == FontFace::Monospace;
    const int key = mono ? -px : px;
    auto it = sizes_.find(key);
    if (it == sizes_.end()) {
        it = sizes_.emplace(key, std::make_unique<SizedFont>(mono ? *mono_ : *sans_, px)).first;
    }
    return *it->second;
}

} // namespace ostinel::gui
