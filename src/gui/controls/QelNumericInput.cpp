#include "gui/controls/QelNumericInput.h"

#include "common/QelCommon.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"
#include "platform/System.h"

namespace ostinel::gui {

TQelNumericInput::TQelNumericInput()
    : decimalSeparator_(platform::DecimalSeparator()), popup_(std::make_unique<TQelPopupMenu>()) {
    SetSize(42, 21);
    SetFocusable(true);
    SetTabStop(true);
}

void TQelNumericInput::SetBorderColor(Color c) {
    if (c != borderColor_) {
        borderColor_ = c;
        Invalidate();
    }
}

void TQelNumericInput::SetBorderWidth(int width) {
    if (width != borderWidth_) {
        borderWidth_ = width;
        Invalidate();
    }
}

void TQelNumericInput::SetCenter(bool on) {
    if (on != center_) {
        center_ = on;
        Invalidate();
    }
}

void TQelNumericInput::SetColor(Color c) {
    if (c != color_) {
        color_ = c;
        Invalidate();
    }
}

void TQelNumericInput::SetInputFont(const TFont& font) {
    font_ = font;
    Invalidate();
}

void TQelNumericInput::SetHighlight(bool on) {
    if (on != highlight_) {
        highlight_ = on;
        Invalidate();
    }
}

void TQelNumericInput::SetMaxValue(int v) {
    if (v == maxValue_) {
        return;
    }
    maxValue_ = v;
    if (value_ > static_cast<float>(maxValue_)) {
        value_ = static_cast<float>(maxValue_);
    }
    Invalidate();
}

void TQelNumericInput::SetMinValue(int v) {
    if (v == minValue_) {
        return;
    }
    minValue_ = v;
    if (value_ < static_cast<float>(minValue_)) {
        value_ = static_cast<float>(minValue_);
    }
    Invalidate();
}

void TQelNumericInput::SetValue(float value) {
    // Raised to the minimum first (a NaN fails every comparison and ends at the minimum),
    // then lowered to the maximum.
    if (!(value >= static_cast<float>(minValue_))) {
        value = static_cast<float>(minValue_);
    }
    if (value > static_cast<float>(maxValue_)) {
        value = static_cast<float>(maxValue_);
    }
    if (value == value_) {
        return;
    }
    value_ = value;
    Invalidate();
    if (OnChange) {
        OnChange();
    }
}

int TQelNumericInput::ValueAsInteger() const {
    return static_cast<int>(RoundSingle(value_));
}

std::string TQelNumericInput::DisplayText() const {
    std::string text = FormatSingle(value_, false, decimalSeparator_);
    if (OnGetText) {
        OnGetText(value_, text);
    }
    return text;
}

// ---- Loading ---------------------------------------------------------------------------

void TQelNumericInput::ApplySkinColors() {
    const TSkin& skin = ActiveSkin();
    borderWidth_ = 1;
    borderColor_ = skin.ButtonDisabled.Text;
    color_ = skin.ButtonDisabled.Face;
    highlightColor_ = skin.ButtonHot.Face;
    font_.TextColor = skin.ButtonNormal.Text;
    switch (skin.Kind) {
    case TSkinKind::Carbon:
        highlightColor_ = Color{37, 95, 120, 255};
        break;
    case TSkinKind::Dark:
        highlightColor_ = Color{61, 177, 160, 255};
        break;
    case TSkinKind::Light:
        highlightColor_ = skin.ButtonPressed.Face;
        break;
    case TSkinKind::Luna:
    case TSkinKind::Smokey:
        font_.TextColor = Color::Rgb(0x000000);
        break;
    }
    Invalidate();
}

void TQelNumericInput::BuildPopup() {
    if (popupBuilt_) {
        return; // built once; later range changes do not rebuild it
    }
    popupBuilt_ = true;
    popup_->OnPopup = [this](TQelPopupMenu&) { PopupOpening(); };
    TMenuItem* group = nullptr;
    std::string previousCaption;
    for (int v = minValue_; v <= maxValue_; ++v) {
        TMenuItem* parent = &popup_->Items();
        if (OnGetPopupGroup) {
            std::string caption;
            OnGetPopupGroup(v, caption);
            if (caption.empty()) {
                group = nullptr;
            } else if (group == nullptr || caption != previousCaption) {
                group = &popup_->Items().Add(caption, kPopupGroupTag);
            }
            previousCaption = caption;
            if (group != nullptr) {
                parent = group;
            }
        }
        std::string text = FormatInt(v);
        if (OnGetText) {
            OnGetText(static_cast<float>(v), text);
        }
        parent->Add(std::move(text), v,
                    [this](TMenuItem& item) { SetValue(static_cast<float>(item.Tag)); });
        if (v == maxValue_) {
            break; // no overflow past INT_MAX
        }
    }
    if (OnPopulatePopupMenu) {
        OnPopulatePopupMenu(*popup_);
    }
    SetPopupMenu(popup_.get());
}

void TQelNumericInput::PopupOpening() {
    popup_->CheckItemsByTag(ValueAsInteger(), nullptr, true);
    if (OnPopupPopupMenu) {
        OnPopupPopupMenu(*popup_);
    }
}

void TQelNumericInput::Loaded() {
    if (IsSkinActive()) {
        ApplySkinColors();
    }
    if (showPopup_) {
        BuildPopup();
    }
}

// ---- Mouse -----------------------------------------------------------------------------

bool TQelNumericInput::MouseDown(const MouseEvent& e) {
    SetFocus(FocusReason::Mouse); // also brings the window's focus back from the host
    bool proceed = true;
    if (OnBeforeMouseDown) {
        OnBeforeMouseDown(e.button, e.mods, e.pos.x, e.pos.y, proceed);
    }
    dragAllowed_ = proceed;
    if (!proceed) {
        return true;
    }
    if (e.button == MouseButton::Left) {
        if (WidgetRoot* root = Root(); root != nullptr) {
            root->SetOverrideCursor(Cursor::SizeNS);
        }
        lastY_ = e.pos.y;
    }
    Widget::MouseDown(e);
    return true;
}

bool TQelNumericInput::MouseMove(Point pos, Modifiers mods) {
    const WidgetRoot* root = Root();
    if (dragAllowed_ && root != nullptr && LeftButtonDown(*root)) {
        const float step = mods.shift ? kStep / 5.0f : kStep;
        if (pos.y < lastY_) {
            SetValue(value_ + step);
        } else if (pos.y > lastY_) {
            SetValue(value_ - step);
        }
        Invalidate();
        lastY_ = pos.y;
    }
    return Widget::MouseMove(pos, mods);
}

bool TQelNumericInput::MouseUp(const MouseEvent& e) {
    if (WidgetRoot* root = Root(); root != nullptr) {
        root->SetOverrideCursor(std::nullopt);
    }
    lastY_ = -1;
    Widget::MouseUp(e);
    return true;
}

void TQelNumericInput::MouseCaptureLost() {
    if (WidgetRoot* root = Root(); root != nullptr) {
        root->SetOverrideCursor(std::nullopt);
    }
    lastY_ = -1;
}

bool TQelNumericInput::MouseWheel(const WheelEvent& e) {
    if (!IsControlUnderCursor(*this)) {
        return false;
    }
    if (e.delta > 0) {
        SetValue(value_ + kStep / 2.0f);
    } else if (e.delta < 0) {
        SetValue(value_ - kStep / 2.0f);
    }
    if (OnMouseWheel) {
        OnMouseWheel(e);
    }
    if (e.delta < 0 && OnMouseWheelDown) {
        OnMouseWheelDown(e.mods, e.pos);
    } else if (e.delta > 0 && OnMouseWheelUp) {
        OnMouseWheelUp(e.mods, e.pos);
    }
    return true;
}

// ---- Painting --------------------------------------------------------------------------

void TQelNumericInput::Paint(Canvas& canvas) {
    const Rect client = ClientRect();
    canvas.FillRect(client, highlight_ ? highlightColor_ : color_);
    // The outline of a pen borderWidth wide, drawn as a band along the inside of the edge.
    for (int i = 0; i < borderWidth_; ++i) {
        const Rect ring = client.Inset(i);
        if (ring.IsEmpty()) {
            break;
        }
        canvas.FrameRect(ring, borderColor_);
    }
    const std::string text = DisplayText();
    if (text.empty()) {
        return;
    }
    if (center_) {
        DrawFontTextInRect(canvas, font_, text, client, TextAlign::Center);
    } else {
        DrawFontTextInRect(canvas, font_, text, {5, 0, Width() - 5, Height()}, TextAlign::Left);
    }
}

} // namespace ostinel::gui
