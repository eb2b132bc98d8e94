#pragma once
// Single-line text in the embedded faces: measurement, drawing and placement in a rectangle.
// Input is UTF-8 (ill-formed bytes draw as U+FFFD; characters the face lacks as its missing-
// glyph box). Nothing is interpreted: no ampersand prefixes, no tabs, no line breaks.
// Callable from any thread; the shared glyph cache is locked per call.
#include "graphics/Canvas.h"
#include "graphics/Font.h"

#include <string>
#include <string_view>

namespace ostinel::gui {

enum class TextAlign { Left, Center, Right };
enum class TextOverflow {
    Clip,    // text wider than the rectangle is cut at its sides
    Ellipsis // the end is replaced by "…" so that the rest fits
};

[[nodiscard]] FontMetrics GetFontMetrics(const Font& font);

// Width in pixels: the sum of the advances (with kerning), rounded up to whole pixels.
// Monospace advances are whole pixels, so there it is exactly count * advance.
[[nodiscard]] int TextWidth(const Font& font, std::string_view text);

// Draws with the top of the line box (baseline minus ascent) at `top`.
void DrawText(Canvas& canvas, const Font& font, std::string_view text, int x, int top, Color color);
void DrawTextAtBaseline(Canvas& canvas, const Font& font, std::string_view text, int x,
                        int baseline, Color color);

// The longest start of text that, followed by "…", fits in maxWidth (trailing blanks dropped
// before the ellipsis); text itself when it fits. Cuts only between code points.
[[nodiscard]] std::string EllipsizeText(const Font& font, std::string_view text, int maxWidth);

// Top-left of the line box for text aligned in r and centred vertically: the capitals are
// centred in r as far as the line box (ascent + descent) then stays inside r; a line box
// taller than r is centred itself. Odd leftovers go to the right and below.
[[nodiscard]] Point TextOriginInRect(const Font& font, std::string_view text, const Rect& r,
                                     TextAlign align);

// Aligned, vertically centred, clipped to r; with Ellipsis shortened to fit r's width.
void DrawTextInRect(Canvas& canvas, const Font& font, std::string_view text, const Rect& r,
                    Color color, TextAlign align = TextAlign::Left,
                    TextOverflow overflow = TextOverflow::Clip);

} // namespace ostinel::gui
