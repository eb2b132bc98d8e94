#pragma once
// A static text: one or more lines (CR LF breaks them; WordWrap also wraps at blanks), aligned
// left, centred or right and placed at the top or in the middle. AutoSize makes the label as
// large as its text. Draws no background and never takes the focus.
#include "gui/widgets/TextUtil.h"
#include "gui/widgets/Widget.h"

#include <optional>
#include <string>

namespace ostinel::gui {

enum class TTextLayout { Top, Center, Bottom };

class TLabel : public Widget {
public:
    TLabel();
    explicit TLabel(std::string caption);

    [[nodiscard]] const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    [[nodiscard]] const Font& CaptionFont() const { return font_; }
    void SetCaptionFont(const Font& font);
    // The text colour; the skin's window-text colour unless set.
    [[nodiscard]] Color FontColor() const;
    void SetFontColor(Color c);
    [[nodiscard]] bool Underline() const { return underline_; }
    void SetUnderline(bool on);
    [[nodiscard]] TextAlign Alignment() const { return alignment_; }
    void SetAlignment(TextAlign a);
    [[nodiscard]] TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    [[nodiscard]] bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    [[nodiscard]] bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);

    // The lines as they are drawn at the current width.
    [[nodiscard]] std::vector<std::string> Lines() const;

    void Paint(Canvas& canvas) override;
    void Resized() override;

private:
    void AdjustSize();

    std::string caption_;
    Font font_ = MakeFont("Segoe UI", 12);
    std::optional<Color> color_;
    bool underline_ = false;
    TextAlign alignment_ = TextAlign::Left;
    TTextLayout layout_ = TTextLayout::Top;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool adjusting_ = false;
};

} // namespace ostinel::gui
