#include "gui/controls/Label.h"

#include "gui/skins/Skin.h"

#include <algorithm>

namespace ostinel::gui {

TLabel::TLabel() = default;

TLabel::TLabel(std::string caption) : caption_(std::move(caption)) {
    AdjustSize();
}

void TLabel::SetCaption(std::string caption) {
    if (caption != caption_) {
        caption_ = std::move(caption);
        AdjustSize();
        Invalidate();
    }
}

void TLabel::SetCaptionFont(const Font& font) {
    font_ = font;
    AdjustSize();
    Invalidate();
}

Color TLabel::FontColor() const {
    return color_.value_or(ActiveSkin().WindowText);
}

void TLabel::SetFontColor(Color c) {
    color_ = c;
    Invalidate();
}

void TLabel::SetUnderline(bool on) {
    underline_ = on;
    Invalidate();
}

void TLabel::SetAlignment(TextAlign a) {
    alignment_ = a;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout layout) {
    layout_ = layout;
    Invalidate();
}

void TLabel::SetAutoSize(bool on) {
    autoSize_ = on;
    AdjustSize();
}

void TLabel::SetWordWrap(bool on) {
    wordWrap_ = on;
    AdjustSize();
    Invalidate();
}

std::vector<std::string> TLabel::Lines() const {
    if (wordWrap_) {
        return WrapText(font_, caption_, std::max(1, Width()));
    }
    return SplitLines(caption_);
}

void TLabel::AdjustSize() {
    if (!autoSize_ || adjusting_) {
        return;
    }
    adjusting_ = true;
    const int lineHeight = GetFontMetrics(font_).height;
    const std::vector<std::string> lines = Lines();
    int width = 0;
    for (const std::string& line : lines) {
        width = std::max(width, TextWidth(font_, line));
    }
    const int height = lineHeight * static_cast<int>(lines.size());
    // A wrapping label keeps its width and grows downwards.
    SetSize(wordWrap_ ? Width() : width, height);
    adjusting_ = false;
}

void TLabel::Resized() {
    if (wordWrap_) {
        AdjustSize();
    }
    Widget::Resized();
}

void TLabel::Paint(Canvas& canvas) {
    const std::vector<std::string> lines = Lines();
    const int lineHeight = GetFontMetrics(font_).height;
    const int total = lineHeight * static_cast<int>(lines.size());
    int top = 0;
    if (layout_ == TTextLayout::Center) {
        top = (Height() - total) / 2;
    } else if (layout_ == TTextLayout::Bottom) {
        top = Height() - total;
    }
    const TFont font{font_, FontColor(), underline_};
    for (const std::string& line : lines) {
        const Rect r{0, top, Width(), top + lineHeight};
        const int width = TextWidth(font_, line);
        int x = 0;
        if (alignment_ == TextAlign::Center) {
            x = (Width() - width) / 2;
        } else if (alignment_ == TextAlign::Right) {
            x = Width() - width;
        }
        if (r.bottom > 0 && r.top < Height()) {
            DrawFontText(canvas, font, line, {x, r.top});
        }
        top += lineHeight;
    }
}

} // namespace ostinel::gui
