#pragma once
// The numeric input: a small box showing one number that the user changes without typing:
// dragging up or down with the left button (one step of 0.25 per move event, 0.05 with Shift),
// turning the wheel over it (0.125 per event) or picking a value from its popup menu, whose
// entries the owner may group into submenus. Value always stays within MinValue..MaxValue.
#include "gui/controls/QelPopupMenu.h"
#include "gui/widgets/TextUtil.h"
#include "gui/widgets/Widget.h"

#include <functional>
#include <memory>
#include <string>

namespace ostinel::gui {

class TQelNumericInput : public Widget {
public:
    TQelNumericInput();

    [[nodiscard]] Color BorderColor() const { return borderColor_; }
    void SetBorderColor(Color c);
    // 0 or less draws no outline.
    [[nodiscard]] int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    [[nodiscard]] bool Center() const { return center_; }
    void SetCenter(bool on);
    [[nodiscard]] Color FillColor() const { return color_; }
    void SetColor(Color c);
    [[nodiscard]] const TFont& InputFont() const { return font_; }
    void SetInputFont(const TFont& font);
    [[nodiscard]] bool Highlight() const { return highlight_; }
    void SetHighlight(bool on);
    [[nodiscard]] Color HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(Color c) { highlightColor_ = c; }
    [[nodiscard]] int MaxValue() const { return maxValue_; }
    // Lowers Value directly (no OnChange) when it is above the new maximum.
    void SetMaxValue(int v);
    [[nodiscard]] int MinValue() const { return minValue_; }
    // Raises Value directly (no OnChange) when it is below the new minimum.
    void SetMinValue(int v);
    // Build and attach the value popup when loaded.
    [[nodiscard]] bool ShowPopup() const { return showPopup_; }
    void SetShowPopup(bool on) { showPopup_ = on; }
    [[nodiscard]] float Value() const { return value_; }
    // Clamped into MinValue..MaxValue; an actual change repaints and fires OnChange.
    void SetValue(float value);
    [[nodiscard]] int ValueAsInteger() const;
    // The locale's decimal separator for the shown text. Defaults to the platform's.
    void SetDecimalSeparator(char separator) { decimalSeparator_ = separator; }

    // The popup the control owns (built in Loaded when ShowPopup is set).
    [[nodiscard]] TQelPopupMenu& Popup() { return *popup_; }
    // The text painted for the current value.
    [[nodiscard]] std::string DisplayText() const;

    // (Button, modifiers, x, y, continue): clear `continue` to veto a press.
    std::function<void(MouseButton, Modifiers, int, int, bool&)> OnBeforeMouseDown;
    std::function<void()> OnChange;
    // (value, group caption): an empty caption keeps the value at the top level.
    std::function<void(int, std::string&)> OnGetPopupGroup;
    // (value, text): may replace the text shown for a value.
    std::function<void(float, std::string&)> OnGetText;
    std::function<void(TQelPopupMenu&)> OnPopulatePopupMenu;
    std::function<void(TQelPopupMenu&)> OnPopupPopupMenu;
    std::function<void(const WheelEvent&)> OnMouseWheel;
    std::function<void(Modifiers, Point)> OnMouseWheelDown;
    std::function<void(Modifiers, Point)> OnMouseWheelUp;

    static constexpr float kStep = 0.25f;
    static constexpr int kPopupGroupTag = -999;

    void Paint(Canvas& canvas) override;
    bool MouseDown(const MouseEvent& e) override;
    bool MouseMove(Point pos, Modifiers mods) override;
    bool MouseUp(const MouseEvent& e) override;
    bool MouseWheel(const WheelEvent& e) override;
    void MouseCaptureLost() override;
    void Loaded() override;

private:
    void ApplySkinColors();
    void BuildPopup();
    void PopupOpening();

    Color borderColor_ = Color::Rgb(0x646464);
    int borderWidth_ = 1;
    bool center_ = true;
    Color color_ = Color::Rgb(0xFFFFFF);
    TFont font_ = MakeTFont("Segoe UI", 12, Color::Rgb(0x000000));
    bool highlight_ = false;
    Color highlightColor_ = Color::Rgb(0x000000);
    int maxValue_ = 100;
    int minValue_ = 0;
    bool showPopup_ = true;
    float value_ = 0;
    bool dragAllowed_ = false;
    int lastY_ = -1;
    char decimalSeparator_;
    std::unique_ptr<TQelPopupMenu> popup_;
    bool popupBuilt_ = false;
};

} // namespace ostinel::gui
