#pragma once
// The flat, skinned speed button: a caption on a rounded face in the skin's button colours
// (normal, hot, pressed, disabled). Buttons with the same non-zero GroupIndex under one parent
// form a radio group in which one stays down. With a drop-down menu a press opens the menu
// below the button instead of clicking. Never takes the keyboard focus.
#include "gui/skins/Skin.h"
#include "gui/widgets/TextUtil.h"
#include "gui/widgets/Widget.h"

#include <memory>
#include <string>

namespace ostinel::gui {

class TQelPopupMenu;

class TQelSpTBXSpeedButton : public Widget {
public:
    TQelSpTBXSpeedButton();
    explicit TQelSpTBXSpeedButton(std::string caption);

    [[nodiscard]] const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    [[nodiscard]] const Font& CaptionFont() const { return font_; }
    void SetCaptionFont(const Font& font);
    // Underlined caption (the channel buttons mark active channels with it).
    [[nodiscard]] bool Underline() const { return underline_; }
    void SetUnderline(bool underline);
    // Flat buttons show no face until hovered, pressed or down.
    [[nodiscard]] bool Flat() const { return flat_; }
    void SetFlat(bool flat);

    [[nodiscard]] int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index) { groupIndex_ = index; }
    [[nodiscard]] bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow) { allowAllUp_ = allow; }
    // Down: latched pressed. Setting it in a group releases the other buttons of the group.
    [[nodiscard]] bool Down() const { return down_; }
    void SetDown(bool down);

    [[nodiscard]] TQelPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TQelPopupMenu* menu) { dropDownMenu_ = menu; }
    [[nodiscard]] bool DropDownArrow() const { return dropDownArrow_; }
    void SetDropDownArrow(bool on);
    // Opens the drop-down menu below the button (what a press does).
    void DropDown();
    [[nodiscard]] bool IsDroppedDown() const { return droppedDown_; }

    enum class TState { Normal, Hot, Pressed, Disabled };
    [[nodiscard]] TState State() const;
    [[nodiscard]] bool IsHot() const { return hot_; }

    void Paint(Canvas& canvas) override;
    bool MouseDown(const MouseEvent& e) override;
    bool MouseUp(const MouseEvent& e) override;
    bool MouseMove(Point pos, Modifiers mods) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseCaptureLost() override;
    void Click() override;
    [[nodiscard]] bool IsButtonControl() const override { return true; }

protected:
    [[nodiscard]] const TSkinButtonState& StateColors(const TSkin& skin) const;
    // The face (rounded, framed); flat buttons skip it in the normal state.
    void PaintFace(Canvas& canvas, const TSkinButtonState& colors, Color borderOverride) const;
    // Caption (and arrow) inside r.
    void PaintCaption(Canvas& canvas, const TSkinButtonState& colors, Rect r) const;

private:
    std::string caption_;
    Font font_ = MakeFont("Segoe UI", 12);
    bool underline_ = false;
    bool flat_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool hot_ = false;
    bool tracking_ = false;
    bool pressed_ = false;
    bool droppedDown_ = false;
    bool dropDownArrow_ = false;
    TQelPopupMenu* dropDownMenu_ = nullptr;
    // Lets the menu's closing callback find out whether the button still exists.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace ostinel::gui
