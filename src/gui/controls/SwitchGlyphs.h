#pragma once
// The on/off switch's glyph strip, drawn here instead of loaded from an image file: two
// 24 x 24 glyphs stacked vertically (off on top, on below), fully opaque. The dark strip serves
// the Carbon and Dark skins, the bright one all others.
#include "graphics/Image.h"

namespace ostinel::gui {

inline constexpr int kSwitchGlyphSize = 24;

[[nodiscard]] Image MakeSwitchGlyphStrip(bool dark);

} // namespace ostinel::gui
