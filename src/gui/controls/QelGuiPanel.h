#pragma once
// The rounded, semi-transparent panel that carries every window's content. It blends a rounded
// rectangle (fill at opacity Alpha, an opaque border band) over whatever its parent painted
// beneath it. A container: children draw on top. Focusable (a window of its own), so the
// focus-under-cursor rule can land on it.
#include "gui/widgets/Widget.h"

#include <optional>

namespace ostinel::gui {

class TQelGuiPanel : public Widget {
public:
    TQelGuiPanel();

    [[nodiscard]] Color PanelColor() const { return panelColor_; }
    void SetPanelColor(Color c);
    [[nodiscard]] std::uint8_t Alpha() const { return alpha_; }
    void SetAlpha(std::uint8_t alpha);
    [[nodiscard]] bool BorderVisible() const { return borderVisible_; }
    void SetBorderVisible(bool visible);
    [[nodiscard]] Color BorderColor() const { return borderColor_; }
    void SetBorderColor(Color c);
    // Values below 1 count as 1 when painting.
    [[nodiscard]] float BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(float width);
    [[nodiscard]] float BorderRadius() const { return borderRadius_; }
    void SetBorderRadius(float radius);
    // Without Transparent the panel first fills its bounds with Color.
    [[nodiscard]] bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // The background without Transparent; defaults to the window colour of the skin.
    [[nodiscard]] Color BackgroundColor() const;
    void SetColor(Color c);
    // Take the skin's group-panel colour instead of its panel colour when loaded.
    [[nodiscard]] bool PanelGroupColor() const { return panelGroupColor_; }
    void SetPanelGroupColor(bool on) { panelGroupColor_ = on; }
    [[nodiscard]] bool UseStyles() const { return useStyles_; }
    void SetUseStyles(bool on) { useStyles_ = on; }

    // Applies the active skin's colours (what Loaded does when a skin is active).
    void ApplySkinColors();

    void Paint(Canvas& canvas) override;
    void Loaded() override;

private:
    Color panelColor_ = Color::Rgb(0xFFFFFF);
    std::uint8_t alpha_ = 255;
    bool borderVisible_ = true;
    Color borderColor_ = Color::Rgb(0xFFFFFF);
    float borderWidth_ = 1.0f;
    float borderRadius_ = 10.0f;
    bool transparent_ = true;
    std::optional<Color> color_;
    bool panelGroupColor_ = false;
    bool useStyles_ = true;
};

} // namespace ostinel::gui
