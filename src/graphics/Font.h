#pragma once
// Fonts are one of the two embedded faces at a pixel height. The design's face names map to
// them: "Segoe UI" and "Tahoma" (and any unknown name) to the sans face, "Consolas",
// "Lucida Console" and "Courier New" to the monospace face.
#include <string_view>

namespace ostinel::gui {

enum class FontFace {
    Sans,     // DejaVu Sans Bold
    Monospace // DejaVu Sans Mono Bold
};

struct Font {
    // Smallest and largest pixel heights drawn; others are clamped into this range.
    static constexpr int kMinPixelHeight = 4;
    static constexpr int kMaxPixelHeight = 200;

    FontFace face = FontFace::Sans;
    // Em height in pixels, as a negative font height in a Windows LOGFONT (8 pt at 96 dpi is
    // 11 pixels).
    int pixelHeight = 11;

    friend constexpr bool operator==(const Font&, const Font&) = default;
};

struct FontMetrics {
    int ascent = 0;    // baseline below the top of the line, pixels
    int descent = 0;   // line bottom below the baseline, pixels
    int height = 0;    // ascent + descent
    int capHeight = 0; // height of capital letters above the baseline, pixels
};

// Case-insensitive; unknown names give the sans face.
[[nodiscard]] FontFace FaceForName(std::string_view name);
[[nodiscard]] Font MakeFont(std::string_view faceName, int pixelHeight);
// A size in points at 96 dpi as a pixel height: px = pt * 96 / 72, rounded (8 pt -> 11 px).
[[nodiscard]] int PointsToPixels(double points);

// The embedded monospace face always stands in for Consolas.
[[nodiscard]] constexpr std::string_view GetMonospaceFontName() {
    return "Consolas";
}

} // namespace ostinel::gui
