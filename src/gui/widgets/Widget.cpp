#include "gui/widgets/Widget.h"

#include "gui/widgets/WidgetRoot.h"

#include <algorithm>

namespace ostinel::gui {

Widget::Widget() = default;

Widget::~Widget() {
    if (root_ != nullptr) {
        root_->WidgetDetached(*this);
    }
}

Widget& Widget::AddChild(std::unique_ptr<Widget> child) {
    Widget& ref = *child;
    ref.parent_ = this;
    children_.push_back(std::move(child));
    ref.AttachTo(root_);
    ref.Invalidate();
    return ref;
}

std::unique_ptr<Widget> Widget::RemoveChild(Widget& child) {
    const auto it = std::find_if(children_.begin(), children_.end(),
                                 [&child](const auto& c) { return c.get() == &child; });
    if (it == children_.end()) {
        return nullptr;
    }
    child.Invalidate();
    std::unique_ptr<Widget> out = std::move(*it);
    children_.erase(it);
    out->AttachTo(nullptr);
    out->parent_ = nullptr;
    return out;
}

void Widget::BringToFront() {
    if (parent_ == nullptr) {
        return;
    }
    auto& siblings = parent_->children_;
    const auto it = std::find_if(siblings.begin(), siblings.end(),
                                 [this](const auto& c) { return c.get() == this; });
    if (it != siblings.end() && it + 1 != siblings.end()) {
        std::rotate(it, it + 1, siblings.end());
        Invalidate();
    }
}

bool Widget::IsAncestorOf(const Widget& other) const {
    for (const Widget* w = other.parent_; w != nullptr; w = w->parent_) {
        if (w == this) {
            return true;
        }
    }
    return false;
}

void Widget::AttachTo(WidgetRoot* root) {
    if (root_ != root) {
        if (root_ != nullptr) {
            root_->WidgetDetached(*this);
        }
        root_ = root;
    }
    for (auto& child : children_) {
        child->AttachTo(root);
    }
}

void Widget::SetBounds(const Rect& bounds) {
    if (bounds == bounds_) {
        return;
    }
    const bool resized = bounds.Width() != bounds_.Width() || bounds.Height() != bounds_.Height();
    Invalidate();
    bounds_ = bounds;
    Invalidate();
    if (resized) {
        Resized();
    }
}

Point Widget::ToRoot(Point local) const {
    for (const Widget* w = this; w != nullptr; w = w->parent_) {
        local = local + w->bounds_.TopLeft();
    }
    return local;
}

Point Widget::FromRoot(Point rootPos) const {
    return rootPos - ToRoot({0, 0});
}

Rect Widget::RootRect() const {
    return ClientRect().Offset(ToRoot({0, 0}));
}

void Widget::SetVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    if (!visible) {
        Invalidate();
        visible_ = false;
        if (root_ != nullptr) {
            root_->WidgetHidden(*this);
        }
    } else {
        visible_ = true;
        Invalidate();
    }
}

bool Widget::IsShowing() const {
    if (root_ == nullptr) {
        return false;
    }
    for (const Widget* w = this; w != nullptr; w = w->parent_) {
        if (!w->visible_) {
            return false;
        }
    }
    return true;
}

void Widget::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (!enabled && root_ != nullptr) {
        root_->WidgetHidden(*this);
    }
    Invalidate();
}

bool Widget::IsEnabledInTree() const {
    for (const Widget* w = this; w != nullptr; w = w->parent_) {
        if (!w->enabled_) {
            return false;
        }
    }
    return true;
}

bool Widget::CanFocus() const {
    return focusable_ && IsShowing() && IsEnabledInTree();
}

bool Widget::HasFocus() const {
    return root_ != nullptr && root_->FocusedWidget() == this;
}

bool Widget::SetFocus(FocusReason reason) {
    return root_ != nullptr && root_->SetFocusedWidget(this, reason);
}

void Widget::SetCursor(Cursor cursor) {
    cursor_ = cursor;
    if (root_ != nullptr) {
        root_->UpdateCursor();
    }
}

void Widget::Invalidate() {
    Invalidate(ClientRect());
}

void Widget::Invalidate(const Rect& local) {
    if (root_ == nullptr || !IsShowing()) {
        return;
    }
    const Rect r = local.Intersect(ClientRect());
    if (!r.IsEmpty()) {
        root_->Invalidate(r.Offset(ToRoot({0, 0})));
    }
}

void Widget::NotifyLoaded() {
    if (!loaded_) {
        loaded_ = true;
        Loaded();
    }
    // Loaded() may add children; index so that they are reached too.
    for (std::size_t i = 0; i < children_.size(); ++i) {
        children_[i]->NotifyLoaded();
    }
}

void Widget::Paint(Canvas&) {}

void Widget::PaintOverChildren(Canvas&) {}

bool Widget::HitTest(Point) const {
    return true;
}

bool Widget::MouseDown(const MouseEvent& e) {
    clickArmed_ = e.button == MouseButton::Left && !e.doubleClick;
    if (OnMouseDown) {
        OnMouseDown(e);
    }
    if (e.doubleClick && e.button == MouseButton::Left && OnDblClick) {
        OnDblClick();
    }
    return OnMouseDown || OnMouseUp || OnClick || OnDblClick;
}

bool Widget::MouseUp(const MouseEvent& e) {
    const bool armed = clickArmed_;
    clickArmed_ = false;
    if (OnMouseUp) {
        OnMouseUp(e);
    }
    if (armed && e.button == MouseButton::Left && ClientRect().Contains(e.pos)) {
        Click();
    }
    return OnMouseUp || OnClick;
}

void Widget::Click() {
    if (OnClick) {
        OnClick();
    }
}

bool Widget::MouseMove(Point pos, Modifiers mods) {
    if (OnMouseMove) {
        OnMouseMove(pos, mods);
    }
    return false;
}

bool Widget::MouseWheel(const WheelEvent&) {
    return false;
}

void Widget::MouseEnter() {
    if (OnMouseEnter) {
        OnMouseEnter();
    }
}

void Widget::MouseLeave() {
    if (OnMouseLeave) {
        OnMouseLeave();
    }
}

bool Widget::KeyDown(const KeyEvent&) {
    return false;
}

bool Widget::KeyUp(const KeyEvent&) {
    return false;
}

bool Widget::Char(char32_t) {
    return false;
}

void Widget::FocusEnter(FocusReason) {}

void Widget::FocusExit() {}

void Widget::Resized() {
    if (OnResize) {
        OnResize();
    }
}

} // namespace ostinel::gui
