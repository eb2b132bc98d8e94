#include "edit/QuestionBox.h"

#include "graphics/Canvas.h"
#include "gui/skins/Skin.h"

#include <algorithm>

namespace ostinel::edit {

namespace {

// Behind the box's rounded corners: its border colour, not the black of an unpainted window.
class TCornerFill final : public gui::Widget {
public:
    void Paint(gui::Canvas& canvas) override {
        canvas.FillRect(ClientRect(), gui::ActiveSkin().DialogBorder);
    }
};

} // namespace

QuestionBox::QuestionBox(platform::ITopLevelWindow& owner, const std::string& text,
                         gui::TMsgDlgButtons buttons, gui::TMsgDlgType kind) {
    // Laid out against the whole window (the text wraps to its width), then the root shrinks
    // to the box, which then fills it: no dimmed margin outside the box.
    root_ = std::make_unique<gui::WidgetRoot>(owner.ClientWidth(), owner.ClientHeight());
    root_->EmplaceContent<TCornerFill>();
    form_ = &gui::ShowMessageDialog(*root_, text, "", buttons, kind,
                                    [this](gui::TModalResult result) { result_ = result; });
    const gui::Rect box = form_->WindowRect();
    root_->Resize(box.Width(), box.Height());
    window_ = platform::CreateChildWindow(owner.NativeHandle(), box.Width(), box.Height(), *root_);
    root_->AttachWindow(window_.get());
    const int left = std::max(0, (owner.ClientWidth() - box.Width()) / 2);
    const int top = std::max(0, (owner.ClientHeight() - box.Height()) / 2);
    owner.PlaceChild(window_->NativeHandle(),
                     gui::Rect::FromSize(left, top, box.Width(), box.Height()));
    root_->InvalidateAll();
    window_->Focus();
}

QuestionBox::~QuestionBox() {
    if (root_) {
        root_->AttachWindow(nullptr);
    }
}

void QuestionBox::PumpEvents() {
    window_->PumpEvents();
    root_->ProcessDeferred();
}

} // namespace ostinel::edit
