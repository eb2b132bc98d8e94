#include "gui/controls/QelSpTBXSpeedButton.h"

#include "gui/controls/QelPopupMenu.h"
#include "gui/widgets/Shapes.h"
#include "gui/widgets/WidgetRoot.h"

namespace ostinel::gui {

TQelSpTBXSpeedButton::TQelSpTBXSpeedButton() {
    SetSize(22, 22);
}

TQelSpTBXSpeedButton::TQelSpTBXSpeedButton(std::string caption) : TQelSpTBXSpeedButton() {
    caption_ = std::move(caption);
}

void TQelSpTBXSpeedButton::SetCaption(std::string caption) {
    if (caption != caption_) {
        caption_ = std::move(caption);
        Invalidate();
    }
}

void TQelSpTBXSpeedButton::SetCaptionFont(const Font& font) {
    font_ = font;
    Invalidate();
}

void TQelSpTBXSpeedButton::SetUnderline(bool underline) {
    if (underline != underline_) {
        underline_ = underline;
        Invalidate();
    }
}

void TQelSpTBXSpeedButton::SetFlat(bool flat) {
    if (flat != flat_) {
        flat_ = flat;
        Invalidate();
    }
}

void TQelSpTBXSpeedButton::SetDropDownArrow(bool on) {
    if (on != dropDownArrow_) {
        dropDownArrow_ = on;
        Invalidate();
    }
}

void TQelSpTBXSpeedButton::SetDown(bool down) {
    if (down == down_) {
        return;
    }
    down_ = down;
    Invalidate();
    if (down && groupIndex_ != 0 && Parent() != nullptr) {
        for (const auto& sibling : Parent()->Children()) {
            auto* other = dynamic_cast<TQelSpTBXSpeedButton*>(sibling.get());
            if (other != nullptr && other != this && other->groupIndex_ == groupIndex_) {
                other->SetDown(false);
            }
        }
    }
}

void TQelSpTBXSpeedButton::DropDown() {
    WidgetRoot* root = Root();
    if (dropDownMenu_ == nullptr || root == nullptr) {
        return;
    }
    droppedDown_ = true;
    Invalidate();
    dropDownMenu_->Popup(*root, ToRoot({0, Height()}), [this, alive = std::weak_ptr<int>(alive_)] {
        if (!alive.expired()) {
            droppedDown_ = false;
            Invalidate();
        }
    });
}

TQelSpTBXSpeedButton::TState TQelSpTBXSpeedButton::State() const {
    if (!IsEnabledInTree()) {
        return TState::Disabled;
    }
    if (pressed_ || droppedDown_ || down_) {
        return TState::Pressed;
    }
    return hot_ ? TState::Hot : TState::Normal;
}

const TSkinButtonState& TQelSpTBXSpeedButton::StateColors(const TSkin& skin) const {
    switch (State()) {
    case TState::Disabled:
        return skin.ButtonDisabled;
    case TState::Pressed:
        return skin.ButtonPressed;
    case TState::Hot:
        return skin.ButtonHot;
    case TState::Normal:
        break;
    }
    return skin.ButtonNormal;
}

void TQelSpTBXSpeedButton::PaintFace(Canvas& canvas, const TSkinButtonState& colors,
                                     Color border) const {
    if (flat_ && State() == TState::Normal) {
        return;
    }
    const Rect r = ClientRect();
    canvas.FillRoundRectWithBorder(r, 3.0f, 1.0f, colors.Face, border);
    // A faint sheen along the top edge gives the face some depth.
    if (r.Height() > 6 && State() != TState::Pressed) {
        canvas.HLine(r.left + 3, r.right - 3, r.top + 1,
                     MixColor(colors.Face, Color::Rgb(0xFFFFFF), 0.10f));
    }
}

void TQelSpTBXSpeedButton::PaintCaption(Canvas& canvas, const TSkinButtonState& colors,
                                        Rect r) const {
    if (dropDownArrow_) {
        const float cx = static_cast<float>(r.right) - 9.5f;
        const float cy = static_cast<float>(r.top + r.bottom) / 2.0f;
        const PointF arrow[] = {{cx - 3.5f, cy - 1.5f}, {cx + 3.5f, cy - 1.5f}, {cx, cy + 2.5f}};
        FillPolygon(canvas, arrow, colors.Text);
        r.right -= 14;
    }
    if (State() == TState::Pressed && !down_) {
        r = r.Offset({0, 1}); // pushed in while held
    }
    TFont font{font_, colors.Text, underline_};
    DrawFontTextInRect(canvas, font, caption_, r, TextAlign::Center);
}

void TQelSpTBXSpeedButton::Paint(Canvas& canvas) {
    const TSkinButtonState& colors = StateColors(ActiveSkin());
    PaintFace(canvas, colors, colors.Border);
    PaintCaption(canvas, colors, ClientRect());
}

bool TQelSpTBXSpeedButton::MouseDown(const MouseEvent& e) {
    if (e.button == MouseButton::Left && dropDownMenu_ != nullptr) {
        Widget::MouseDown(e);
        DropDown();
        return true;
    }
    if (e.button == MouseButton::Left) {
        tracking_ = true;
        pressed_ = true;
        Invalidate();
    }
    Widget::MouseDown(e);
    return true;
}

bool TQelSpTBXSpeedButton::MouseMove(Point pos, Modifiers mods) {
    if (tracking_) {
        const bool inside = ClientRect().Contains(pos);
        if (inside != pressed_) {
            pressed_ = inside;
            Invalidate();
        }
    }
    return Widget::MouseMove(pos, mods);
}

bool TQelSpTBXSpeedButton::MouseUp(const MouseEvent& e) {
    if (e.button == MouseButton::Left) {
        tracking_ = false;
        pressed_ = false;
        Invalidate();
    }
    Widget::MouseUp(e);
    return true;
}

void TQelSpTBXSpeedButton::MouseEnter() {
    hot_ = true;
    Invalidate();
    Widget::MouseEnter();
}

void TQelSpTBXSpeedButton::MouseLeave() {
    hot_ = false;
    Invalidate();
    Widget::MouseLeave();
}

void TQelSpTBXSpeedButton::MouseCaptureLost() {
    tracking_ = false;
    pressed_ = false;
    hot_ = false;
    Invalidate();
}

void TQelSpTBXSpeedButton::Click() {
    if (groupIndex_ != 0) {
        SetDown(!(down_ && allowAllUp_));
    }
    Widget::Click();
}

} // namespace ostinel::gui
