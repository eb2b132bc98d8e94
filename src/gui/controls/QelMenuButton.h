#pragma once
// The heading's menu button: a 26 x 26 flat speed button showing a drawn "menu16" glyph (three
// bars) that drops down its menu on a press, without a drop-down arrow. Glyph 0 is painted in
// the skin's normal button-text colour, glyph 1 (while pressed or while the menu is open) in
// the pressed button-text colour. Without an active skin it has no glyph.
#include "graphics/Image.h"
#include "gui/controls/QelSpTBXSpeedButton.h"

#include <array>

namespace ostinel::gui {

inline constexpr int kMenuGlyphSize = 16;

// The 16 x 16 "menu16" mask: bars 12 pixels long and 2 high at rows 3-4, 7-8 and 11-12,
// columns 2-13, in `color` on a transparent ground.
[[nodiscard]] Image MakeMenuGlyph(Color color);

class TQelMenuButton : public TQelSpTBXSpeedButton {
public:
    TQelMenuButton();

    // 0 normal, 1 pressed; empty images when no skin was active at Loaded.
    [[nodiscard]] const Image& Glyph(int index) const;
    [[nodiscard]] int ShownGlyph() const;

    void Loaded() override;
    void Paint(Canvas& canvas) override;

private:
    std::array<Image, 2> glyphs_;
};

} // namespace ostinel::gui
