#pragma once
// The two-state on/off switch: shows glyph 0 (off) or glyph 1 (on) of its glyph strip at its
// top-left corner. A left press moves to the next glyph, a right press to the previous one
// (with two glyphs both toggle); the middle button does nothing.
#include "graphics/Image.h"
#include "gui/widgets/Widget.h"

#include <functional>

namespace ostinel::gui {

class TQelGuiStitchedSwitch : public Widget {
public:
    TQelGuiStitchedSwitch();

    [[nodiscard]] bool Value() const { return glyphIndex_ == 1; }
    void SetValue(bool value) { SetGlyphIndex(value ? 1 : 0); }
    // -1 none, 0 off, 1 on. A change repaints and fires OnChange (not before Loaded).
    [[nodiscard]] int GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int index);
    [[nodiscard]] const Image& GlyphStrip() const { return strip_; }

    std::function<void()> OnChange;

    void Paint(Canvas& canvas) override;
    bool MouseDown(const MouseEvent& e) override;
    void Loaded() override;

private:
    [[nodiscard]] int GlyphCount() const;

    Image strip_;
    int glyphIndex_ = 0;
};

} // namespace ostinel::gui
