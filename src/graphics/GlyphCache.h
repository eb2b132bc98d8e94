#pragma once
// Rasterised glyphs per font and pixel height, made once and kept for the process's life.
// Internal to the text functions of Text.h; widgets do not use it directly.
// Shared by all editor instances in the host process; Lock() guards it because hosts may run
// several instances' editors on different threads.
#include "graphics/Font.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace ostinel::gui {

// Pen positions and advances are in 1/64 pixel.
inline constexpr int kSubpixel = 64;
// Horizontal glyph positions are rounded to a quarter pixel; each phase has its own bitmap.
inline constexpr int kGlyphPhases = 4;

struct Glyph {
    int advance = 0; // 1/64 pixel
    int left = 0;    // bitmap offset from the pen position
    int top = 0;     // bitmap offset from the baseline (negative is up)
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage; // width * height, 0..255
};

class FaceData;

// One face at one pixel height.
class SizedFont {
public:
    SizedFont(const FaceData& face, int pixelHeight);

    [[nodiscard]] const FontMetrics& Metrics() const { return metrics_; }
    [[nodiscard]] int GlyphIndex(char32_t codepoint);
    // Advance of a glyph in 1/64 pixel, without rasterising it.
    [[nodiscard]] int Advance(int glyphIndex);
    // Kerning between two glyph indices in 1/64 pixel (0 for the monospace face).
    [[nodiscard]] int Kerning(int left, int right);
    [[nodiscard]] const Glyph& Rasterised(int glyphIndex, int phase);

private:
    [[nodiscard]] Glyph Render(int glyphIndex, int phase) const;

    const FaceData& face_;
    float scale_;  // font units to pixels, horizontally
    float scaleY_; // the same vertically, adjusted to a whole-pixel x-height
    bool integerAdvances_;
    FontMetrics metrics_;
    std::vector<int> asciiIndex_;
    std::unordered_map<char32_t, int> indexCache_;
    std::unordered_map<int, int> advanceCache_;
    std::unordered_map<std::uint64_t, int> kerningCache_;
    std::unordered_map<std::uint64_t, Glyph> glyphs_;
};

class GlyphCache {
public:
    [[nodiscard]] static GlyphCache& Instance();
    ~GlyphCache();
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    [[nodiscard]] std::unique_lock<std::mutex> Lock() { return std::unique_lock(mutex_); }
    // Call with the lock held; the reference stays valid for the process's life.
    [[nodiscard]] SizedFont& Get(const Font& font);

private:
    GlyphCache();

    std::mutex mutex_;
    std::unique_ptr<FaceData> sans_;
    std::unique_ptr<FaceData> mono_;
    std::unordered_map<int, std::unique_ptr<SizedFont>> sizes_;
};

} // namespace ostinel::gui
