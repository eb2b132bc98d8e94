#pragma once
// Text helpers of the controls: code-point strings for caret positions, word wrapping for
// labels and message boxes, underlined captions.
#include "common/Utf.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "graphics/Text.h"

#include <string>
#include <string_view>
#include <vector>

namespace ostinel::gui {

// Font plus colour and underline, as the design's control fonts carry them.
struct TFont {
    Font Face;
    Color TextColor = Color::Rgb(0x000000);
    bool Underline = false;

    friend bool operator==(const TFont&, const TFont&) = default;
};

// A font of a design face name and pixel height ("Segoe UI", 12), in a colour.
[[nodiscard]] TFont MakeTFont(std::string_view faceName, int pixelHeight,
                              Color color = Color::Rgb(0x000000));

[[nodiscard]] std::u32string ToCodePoints(std::string_view utf8);
[[nodiscard]] std::string ToUtf8(std::u32string_view text);
using ostinel::AppendUtf8; // the one encoder, in common

// Lines of text no wider than maxWidth: CR LF, CR and LF break lines; words wrap at blanks;
// a word wider than the line is broken between characters. Empty lines are kept.
[[nodiscard]] std::vector<std::string> WrapText(const Font& font, std::string_view text,
                                                int maxWidth);
// Splits at CR LF, CR and LF only.
[[nodiscard]] std::vector<std::string> SplitLines(std::string_view text);

// Draws text at a line-box top-left, with a one-pixel underline under the baseline when the
// font asks for it.
void DrawFontText(Canvas& canvas, const TFont& font, std::string_view text, Point at);
// Aligned and vertically centred in r (clipped), underlined when the font asks for it.
void DrawFontTextInRect(Canvas& canvas, const TFont& font, std::string_view text, const Rect& r,
                        TextAlign align, TextOverflow overflow = TextOverflow::Clip);

// A colour between a (t = 0) and b (t = 1).
[[nodiscard]] Color MixColor(Color a, Color b, float t);

} // namespace ostinel::gui
