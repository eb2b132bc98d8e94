#include "gui/controls/QelGuiStitchedSwitch.h"

#include "gui/controls/SwitchGlyphs.h"
#include "gui/skins/Skin.h"

namespace ostinel::gui {

TQelGuiStitchedSwitch::TQelGuiStitchedSwitch() : strip_(MakeSwitchGlyphStrip(true)) {
    SetSize(kSwitchGlyphSize, kSwitchGlyphSize);
}

int TQelGuiStitchedSwitch::GlyphCount() const {
    return strip_.Height() / kSwitchGlyphSize;
}

void TQelGuiStitchedSwitch::SetGlyphIndex(int index) {
    if (index < -1 || index >= GlyphCount() || index == glyphIndex_) {
        return;
    }
    glyphIndex_ = index;
    Invalidate();
    if (IsLoaded() && OnChange) {
        OnChange();
    }
}

void TQelGuiStitchedSwitch::Loaded() {
    strip_ = MakeSwitchGlyphStrip(ActiveSkin().DarkSwitchGlyphs);
    Invalidate();
}

void TQelGuiStitchedSwitch::Paint(Canvas& canvas) {
    if (glyphIndex_ < 0) {
        return;
    }
    canvas.DrawImage(
        strip_,
        Rect::FromSize(0, glyphIndex_ * kSwitchGlyphSize, kSwitchGlyphSize, kSwitchGlyphSize),
        {0, 0});
}

bool TQelGuiStitchedSwitch::MouseDown(const MouseEvent& e) {
    const int count = GlyphCount();
    if (count > 0) {
        if (e.button == MouseButton::Left) {
            SetGlyphIndex((glyphIndex_ + 1) % count);
        } else if (e.button == MouseButton::Right) {
            SetGlyphIndex(glyphIndex_ <= 0 ? count - 1 : glyphIndex_ - 1);
        }
    }
    Widget::MouseDown(e);
    return true;
}

} // namespace ostinel::gui
