#include "gui/controls/QelMenuButton.h"

#include "gui/skins/Skin.h"

namespace ostinel::gui {

Image MakeMenuGlyph(Color color) {
    Image glyph(kMenuGlyphSize, kMenuGlyphSize);
    for (const int row : {3, 4, 7, 8, 11, 12}) {
        for (int x = 2; x <= 13; ++x) {
            glyph.SetPixel(x, row, color);
        }
    }
    return glyph;
}

TQelMenuButton::TQelMenuButton() {
    SetSize(26, 26);
    SetFlat(true);
}

const Image& TQelMenuButton::Glyph(int index) const {
    return glyphs_[index == 1 ? 1 : 0];
}

int TQelMenuButton::ShownGlyph() const {
    return State() == TState::Pressed ? 1 : 0;
}

void TQelMenuButton::Loaded() {
    if (IsSkinActive()) {
        const TSkin& skin = ActiveSkin();
        glyphs_[0] = MakeMenuGlyph(skin.ButtonNormal.Text);
        glyphs_[1] = MakeMenuGlyph(skin.ButtonPressed.Text);
    } else {
        glyphs_ = {};
    }
    Invalidate();
}

void TQelMenuButton::Paint(Canvas& canvas) {
    const TSkinButtonState& colors = StateColors(ActiveSkin());
    PaintFace(canvas, colors, colors.Border);
    const Image& glyph = Glyph(ShownGlyph());
    if (!glyph.IsEmpty()) {
        const int x = (Width() - glyph.Width()) / 2;
        const int y = (Height() - glyph.Height()) / 2;
        canvas.DrawImage(glyph, {x, y});
    }
}

} // namespace ostinel::gui
