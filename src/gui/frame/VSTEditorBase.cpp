#include "gui/frame/VSTEditorBase.h"

#include "gui/frame/EditorBackground.h"
#include "gui/widgets/WidgetRoot.h"

#include <algorithm>

namespace ostinel::gui {

TfrmVSTEditorBase::TfrmVSTEditorBase(WidgetRoot& root)
    : root_(root), tile_(MakeEditorBackground()), font_(MakeFont("Segoe UI", 12)),
      timFormActivated_(root, kFocusDelayMs) {
    SetName("frmVSTEditorBase");
    // The form itself can hold the focus: the timer gives it to the form, and a click on the
    // bare background lands there.
    SetFocusable(true);
    OnClick = [this] { FormClick(); };

    auto& panel = Add<TQelGuiPanel>();
    panel.SetName("panMain");
    panel.SetAlpha(kPanelAlpha);
    panel.SetBorderVisible(false);
    panel.SetBorderRadius(5.0f);
    panel.SetBorderWidth(1.0f);
    panel.SetPanelColor(Color::Rgb(0xFFFFFF));
    panel.SetTransparent(true);
    panel.OnClick = [this] { panMainClick(); };
    panMain_ = &panel;

    timFormActivated_.OnTimer = [this] { timFormActivatedTimer(); };
    // Wheel messages move the focus after their normal handling (the root does it for every
    // wheel event it routes).
    root_.SetFocusUnderCursorOnWheel(true);
}

TfrmVSTEditorBase::~TfrmVSTEditorBase() = default;

void TfrmVSTEditorBase::Show() {
    FormShow();
}

void TfrmVSTEditorBase::FocusControlUnderCursor() {
    root_.FocusControlUnderCursor();
}

void TfrmVSTEditorBase::Paint(Canvas& canvas) {
    // The window's top-left corner in this widget's coordinates, so that the pattern stays put
    // whatever part is repainted.
    canvas.TileImage(tile_, canvas.ClipRect(), FromRoot({0, 0}));
}

void TfrmVSTEditorBase::Resized() {
    PlacePanel();
    Widget::Resized();
}

void TfrmVSTEditorBase::PlacePanel() {
    if (panMain_ != nullptr) {
        // A window smaller than the margins leaves the panel empty, not inverted.
        const int right = std::max(kMarginLeft, Width() - kMarginRight);
        const int bottom = std::max(kMarginTop, Height() - kMarginBottom);
        panMain_->SetBounds(Rect{kMarginLeft, kMarginTop, right, bottom});
    }
}

void TfrmVSTEditorBase::FormShow() {
    EditorIdle();
    timFormActivated_.Start();
}

void TfrmVSTEditorBase::FormClick() {
    FocusControlUnderCursor();
}

void TfrmVSTEditorBase::panMainClick() {
    FocusControlUnderCursor();
}

void TfrmVSTEditorBase::timFormActivatedTimer() {
    timFormActivated_.Stop();
    SetFocus(FocusReason::Program);
}

} // namespace ostinel::gui
