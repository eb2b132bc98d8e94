#include "gui/controls/Button.h"

#include "gui/widgets/WidgetRoot.h"

namespace ostinel::gui {

TButton::TButton(std::string caption, TModalResult result)
    : TQelSpTBXSpeedButton(std::move(caption)), modalResult_(result) {
    SetSize(75, 25);
    SetFocusable(true);
    SetTabStop(true);
}

void TButton::SetDefault(bool on) {
    if (on != default_) {
        default_ = on;
        Invalidate();
    }
}

bool TButton::IsActiveDefault() const {
    if (HasFocus()) {
        return true;
    }
    if (!default_) {
        return false;
    }
    const WidgetRoot* root = Root();
    const Widget* focused = root != nullptr ? root->FocusedWidget() : nullptr;
    return dynamic_cast<const TButton*>(focused) == nullptr;
}

void TButton::Paint(Canvas& canvas) {
    const TSkin& skin = ActiveSkin();
    const TSkinButtonState& colors = StateColors(skin);
    const bool active = IsActiveDefault() && IsEnabledInTree();
    PaintFace(canvas, colors, active ? skin.FocusFrame : colors.Border);
    if (HasFocus()) {
        canvas.FrameRoundRect(ClientRect().Inset(1), 2.5f, 1.0f, skin.FocusFrame.WithAlpha(150));
    }
    PaintCaption(canvas, colors, ClientRect());
}

bool TButton::MouseDown(const MouseEvent& e) {
    if (e.button == MouseButton::Left) {
        SetFocus(FocusReason::Mouse);
    }
    return TQelSpTBXSpeedButton::MouseDown(e);
}

bool TButton::KeyDown(const KeyEvent& e) {
    if ((e.key == platform::Key::Space || e.key == platform::Key::Return) && !e.mods.ctrl &&
        !e.mods.alt) {
        Click();
        return true;
    }
    return TQelSpTBXSpeedButton::KeyDown(e);
}

void TButton::FocusEnter(FocusReason reason) {
    TQelSpTBXSpeedButton::FocusEnter(reason);
    if (Parent() != nullptr) {
        Parent()->Invalidate(); // the default ring may move between buttons
    }
}

void TButton::FocusExit() {
    TQelSpTBXSpeedButton::FocusExit();
    if (Parent() != nullptr) {
        Parent()->Invalidate();
    }
}

} // namespace ostinel::gui
