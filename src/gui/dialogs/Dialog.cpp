#include "gui/dialogs/Dialog.h"

#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"

#include <functional>

namespace ostinel::gui {

namespace {

std::string& Title() {
    static std::string title = "Ostinel";
    return title;
}

const Color kBackdrop{0, 0, 0, 72};

void CollectButtons(Widget& w, std::vector<TButton*>& out) {
    if (auto* b = dynamic_cast<TButton*>(&w); b != nullptr) {
        out.push_back(b);
    }
    for (const auto& child : w.Children()) {
        CollectButtons(*child, out);
    }
}

} // namespace

void SetApplicationTitle(std::string title) {
    Title() = std::move(title);
}

const std::string& ApplicationTitle() {
    return Title();
}

// The framed box: caption bar on top, the client area below.
class TDialogForm::TWindow final : public Widget {
public:
    explicit TWindow(TDialogForm& form) : form_(form) {}

    void Paint(Canvas& canvas) override {
        const TSkin& skin = ActiveSkin();
        const Rect r = ClientRect();
        canvas.FillRoundRectWithBorder(r, 6.0f, 1.0f, skin.DialogFace, skin.DialogBorder);
        {
            const ClipScope clip(canvas, {1, 1, r.right - 1, kCaptionHeight});
            canvas.FillRoundRect({1, 1, r.right - 1, kCaptionHeight + 8}, 5.0f, skin.DialogCaption);
        }
        canvas.HLine(1, r.right - 1, kCaptionHeight,
                     MixColor(skin.DialogBorder, skin.DialogFace, 0.35f));
        const TFont font{MakeFont("Segoe UI", 12), skin.DialogCaptionText, false};
        DrawFontTextInRect(canvas, font, form_.caption_, {10, 1, r.right - 10, kCaptionHeight},
                           TextAlign::Left, TextOverflow::Ellipsis);
    }

private:
    TDialogForm& form_;
};

TDialogForm::TDialogForm(std::string caption, int clientWidth, int clientHeight)
    : caption_(std::move(caption)) {
    SetBackdrop(kBackdrop);
    window_ = &Add<TWindow>(*this);
    client_ = &window_->Add<Widget>();
    client_->SetFocusable(false);
    SetClientSize(clientWidth, clientHeight);
}

void TDialogForm::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    window_->Invalidate();
}

void TDialogForm::SetClientSize(int width, int height) {
    client_->SetBounds(1, kCaptionHeight + 1, width, height);
    window_->SetSize(width + 2, height + kCaptionHeight + 2);
    Centre();
}

void TDialogForm::Centre() {
    if (hidden_) {
        // Off the screen rather than invisible: the focus stays where it is, so the box comes
        // back exactly as it left (an edit box is not "left" and does not clamp its text).
        window_->SetPosition(-window_->Width() - 10000, 0);
        return;
    }
    // Integer division truncates toward zero, so an oversized box sticks out evenly.
    window_->SetPosition((Width() - window_->Width()) / 2, (Height() - window_->Height()) / 2);
}

Rect TDialogForm::WindowRect() const {
    return window_->RootRect();
}

void TDialogForm::SetWindowVisible(bool visible) {
    hidden_ = !visible;
    Centre();
    SetBackdrop(visible ? kBackdrop : Color::Transparent());
    Invalidate();
}

bool TDialogForm::WindowVisible() const {
    return !hidden_;
}

void TDialogForm::Resized() {
    Centre();
    TOverlayLayer::Resized();
}

void TDialogForm::Loaded() {
    Centre();
    FocusActiveControl();
    Shown();
}

void TDialogForm::FocusActiveControl() {
    if (activeControl_ != nullptr && activeControl_->CanFocus()) {
        activeControl_->SetFocus(FocusReason::Program);
    }
}

void TDialogForm::CloseWithResult(TModalResult result) {
    modalResult_ = result;
    Close();
}

void TDialogForm::Closed() {
    if (!done_) {
        done_ = true;
        Done(modalResult_);
    }
}

TButton* TDialogForm::ActiveDefaultButton() const {
    std::vector<TButton*> buttons;
    CollectButtons(*client_, buttons);
    for (TButton* b : buttons) {
        if (b->IsActiveDefault() && b->IsShowing()) {
            return b;
        }
    }
    return nullptr;
}

TButton* TDialogForm::CancelButton() const {
    std::vector<TButton*> buttons;
    CollectButtons(*client_, buttons);
    for (TButton* b : buttons) {
        if (b->Cancel() && b->IsShowing()) {
            return b;
        }
    }
    return nullptr;
}

bool TDialogForm::KeyDown(const KeyEvent& e) {
    if (hidden_ || e.mods.alt) {
        return true;
    }
    if (e.key == platform::Key::Return) {
        if (TButton* b = ActiveDefaultButton(); b != nullptr && b->IsEnabledInTree()) {
            b->Click();
        }
        return true;
    }
    if (e.key == platform::Key::Escape) {
        if (TButton* b = CancelButton(); b != nullptr) {
            if (b->IsEnabledInTree()) {
                b->Click();
            }
        } else {
            CloseWithResult(TModalResult::Cancel);
        }
        return true;
    }
    return false;
}

void TDialogForm::Paint(Canvas& canvas) {
    TOverlayLayer::Paint(canvas);
    if (!WindowVisible()) {
        return;
    }
    const Rect w = window_->Bounds();
    canvas.FillRoundRect(w.Offset({0, 6}).Inset(-4), 12.0f, Color{0, 0, 0, 22});
    canvas.FillRoundRect(w.Offset({0, 3}).Inset(-2), 9.0f, Color{0, 0, 0, 34});
    canvas.FillRoundRect(w.Offset({0, 1}), 7.0f, Color{0, 0, 0, 50});
}

} // namespace ostinel::gui
