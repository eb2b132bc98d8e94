#include "gui/widgets/WidgetRoot.h"

#include "gui/skins/Skin.h"
#include "gui/widgets/Timer.h"

#include <algorithm>

namespace ostinel::gui {

namespace {

constexpr std::uint32_t kAppsKey = 0x5D;
constexpr std::uint32_t kF10Key = 0x79;

std::size_t ButtonIndex(MouseButton b) {
    return static_cast<std::size_t>(b);
}

bool InSubtree(const Widget& top, const Widget* w) {
    return w != nullptr && (w == &top || top.IsAncestorOf(*w));
}

// Grows r to touch-or-overlap merges.
bool Touches(const Rect& a, const Rect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

} // namespace

// Every entry point counts itself, so that closed layers and widgets handed to DeleteLater die
// only when no handler of theirs can still be running.
class WidgetRoot::DispatchScope {
public:
    explicit DispatchScope(WidgetRoot& root) : root_(root) { ++root_.dispatchDepth_; }
    ~DispatchScope() {
        if (--root_.dispatchDepth_ == 0) {
            root_.ProcessDeferred();
        }
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

private:
    WidgetRoot& root_;
};

WidgetRoot::WidgetRoot(int width, int height) : canvas_(width, height) {
    content_ = std::make_unique<Widget>();
    content_->SetBounds(0, 0, width, height);
    content_->SetFocusable(true);
    content_->AttachTo(this);
}

WidgetRoot::~WidgetRoot() {
    // Tear the trees down while this root is still whole.
    while (!overlays_.empty()) {
        overlays_.pop_back();
    }
    content_.reset();
    graveyard_.clear();
    for (auto& [id, timer] : timers_) {
        if (window_ != nullptr && timer->enabled_) {
            window_->KillTimer(id);
        }
        timer->root_ = nullptr;
    }
}

void WidgetRoot::AttachWindow(platform::IPlatformWindow* window) {
    if (window_ != nullptr) {
        for (auto& [id, timer] : timers_) {
            if (timer->enabled_) {
                window_->KillTimer(id);
            }
        }
    }
    window_ = window;
    windowFocused_ = window_ != nullptr && window_->HasFocus();
    if (window_ != nullptr) {
        for (auto& [id, timer] : timers_) {
            if (timer->enabled_) {
                window_->SetTimer(id, timer->interval_);
            }
        }
        shownCursor_ = Cursor::Arrow;
        window_->SetCursor(shownCursor_);
    }
    InvalidateAll();
}

void WidgetRoot::Resize(int width, int height) {
    canvas_.Resize(width, height);
    content_->SetBounds(0, 0, width, height);
    for (auto& layer : overlays_) {
        layer->SetBounds(0, 0, width, height);
    }
    dirty_.clear();
    InvalidateAll();
}

// ---- Content and layers ----------------------------------------------------------------

Widget& WidgetRoot::SetContent(std::unique_ptr<Widget> content) {
    if (content_ != nullptr) {
        content_->AttachTo(nullptr);
        graveyard_.push_back(std::move(content_));
    }
    content_ = std::move(content);
    content_->parent_ = nullptr;
    content_->SetBounds(0, 0, Width(), Height());
    content_->AttachTo(this);
    content_->NotifyLoaded();
    InvalidateAll();
    if (dispatchDepth_ == 0) {
        ProcessDeferred();
    }
    return *content_;
}

TOverlayLayer& WidgetRoot::PushOverlay(std::unique_ptr<TOverlayLayer> layer) {
    TOverlayLayer& ref = *layer;
    ref.parent_ = nullptr;
    ref.SetBounds(0, 0, Width(), Height());
    ref.savedFocus_ = focus_;
    if (focus_ != nullptr) {
        Widget* old = focus_;
        focus_ = nullptr;
        old->FocusExit();
    }
    if (hover_ != nullptr) {
        Widget* old = hover_;
        hover_ = nullptr;
        old->MouseLeave();
    }
    overlays_.push_back(std::move(layer));
    ref.AttachTo(this);
    if (grab_ != nullptr) {
        Widget* old = grab_;
        grab_ = &ref;
        old->MouseCaptureLost();
    } else if (pressInProgress_) {
        grab_ = &ref; // opened by the press being handled: the rest of it belongs here
    }
    ref.NotifyLoaded();
    if (focus_ == nullptr) {
        SetFocusedWidget(&ref, FocusReason::Program);
    }
    Invalidate(ref.RootRect());
    return ref;
}

void WidgetRoot::CloseOverlay(TOverlayLayer& layer) {
    const auto it = std::find_if(overlays_.begin(), overlays_.end(),
                                 [&layer](const auto& l) { return l.get() == &layer; });
    if (it == overlays_.end()) {
        return;
    }
    Invalidate(layer.RootRect());
    std::unique_ptr<TOverlayLayer> owned = std::move(*it);
    overlays_.erase(it);
    if (InSubtree(layer, grab_)) {
        grab_ = nullptr;
    }
    if (InSubtree(layer, hover_)) {
        hover_ = nullptr;
    }
    if (InSubtree(layer, focus_) || focus_ == nullptr) {
        Widget* restore = layer.savedFocus_;
        Widget* old = focus_;
        focus_ = nullptr;
        if (old != nullptr) {
            old->FocusExit();
        }
        if (restore != nullptr && restore->CanFocus()) {
            SetFocusedWidget(restore, FocusReason::Program);
        }
    } else if (layer.savedFocus_ != nullptr) {
        // A lower layer closed: what it took over goes to the layer above it.
        const auto above = std::find_if(overlays_.begin(), overlays_.end(), [&](const auto& l) {
            return l->savedFocus_ == &layer || InSubtree(layer, l->savedFocus_);
        });
        if (above != overlays_.end()) {
            (*above)->savedFocus_ = layer.savedFocus_;
        }
    }
    owned->AttachTo(nullptr);
    owned->Closed();
    graveyard_.push_back(std::move(owned));
    if (pointerInside_ && grab_ == nullptr) {
        UpdateHover(lastPos_);
    }
}

TOverlayLayer* WidgetRoot::TopOverlay() const {
    return overlays_.empty() ? nullptr : overlays_.back().get();
}

TOverlayLayer* WidgetRoot::Overlay(std::size_t index) const {
    return index < overlays_.size() ? overlays_[index].get() : nullptr;
}

Widget* WidgetRoot::InputLayer() const {
    if (!overlays_.empty()) {
        return overlays_.back().get();
    }
    return content_.get();
}

void WidgetRoot::ProcessDeferred() {
    // Destructors may close more layers; keep going until nothing is left.
    while (!graveyard_.empty()) {
        auto dead = std::move(graveyard_);
        graveyard_.clear();
        dead.clear();
    }
}

void WidgetRoot::DeleteLater(Widget& widget) {
    if (widget.parent_ == nullptr) {
        return; // contents and layers have their own ways out
    }
    std::unique_ptr<Widget> owned = widget.parent_->RemoveChild(widget);
    if (owned != nullptr) {
        graveyard_.push_back(std::move(owned));
    }
}

void WidgetRoot::WidgetDetached(Widget& widget) {
    if (focus_ == &widget) {
        focus_ = nullptr;
    }
    if (hover_ == &widget) {
        hover_ = nullptr;
    }
    if (grab_ == &widget) {
        grab_ = nullptr;
    }
    if (contextTarget_ == &widget) {
        contextTarget_ = nullptr;
    }
    for (auto& layer : overlays_) {
        if (layer->savedFocus_ == &widget) {
            layer->savedFocus_ = nullptr;
        }
    }
}

void WidgetRoot::WidgetHidden(Widget& widget) {
    if (InSubtree(widget, focus_)) {
        SetFocusedWidget(nullptr, FocusReason::Program);
    }
    if (InSubtree(widget, hover_)) {
        Widget* old = hover_;
        hover_ = nullptr;
        old->MouseLeave();
    }
    if (InSubtree(widget, grab_)) {
        Widget* old = grab_;
        grab_ = nullptr;
        old->MouseCaptureLost();
    }
}

// ---- Focus -----------------------------------------------------------------------------

bool WidgetRoot::SetFocusedWidget(Widget* widget, FocusReason reason) {
    if (widget != nullptr && (widget->root_ != this || !widget->CanFocus())) {
        return false;
    }
    if (widget == focus_) {
        RequestWindowFocus(widget);
        return true;
    }
    if (widget != nullptr) {
        Widget* input = InputLayer();
        if (!InSubtree(*input, widget)) {
            // Under a modal layer: it gets the focus when the layers above it close.
            for (std::size_t i = 0; i < overlays_.size(); ++i) {
                const Widget& lower = i == 0 ? *content_ : *overlays_[i - 1];
                if (InSubtree(lower, widget)) {
                    overlays_[i]->savedFocus_ = widget;
                    break;
                }
            }
            return true;
        }
    }
    Widget* old = focus_;
    focus_ = widget;
    if (old != nullptr) {
        old->FocusExit();
    }
    if (focus_ != widget) {
        return false; // FocusExit moved the focus elsewhere
    }
    if (widget != nullptr) {
        RequestWindowFocus(widget);
        widget->FocusEnter(reason);
    }
    return true;
}

void WidgetRoot::RequestWindowFocus(const Widget* widget) {
    // A widget that holds the focus inside the tree needs the native window to hold it too,
    // or the host keeps the keys.
    if (widget != nullptr && window_ != nullptr && !window_->HasFocus()) {
        window_->Focus();
    }
}

void WidgetRoot::CollectTabStops(Widget& widget, std::vector<Widget*>& out) const {
    if (!widget.visible_ || !widget.enabled_) {
        return;
    }
    if (widget.tabStop_ && widget.focusable_) {
        out.push_back(&widget);
    }
    for (auto& child : widget.children_) {
        CollectTabStops(*child, out);
    }
}

void WidgetRoot::FocusNext(bool backwards) {
    std::vector<Widget*> stops;
    CollectTabStops(*InputLayer(), stops);
    if (stops.empty()) {
        return;
    }
    const auto it = std::find(stops.begin(), stops.end(), focus_);
    std::size_t index = 0;
    if (it == stops.end()) {
        index = backwards ? stops.size() - 1 : 0;
    } else {
        const std::size_t current = static_cast<std::size_t>(it - stops.begin());
        index =
            backwards ? (current + stops.size() - 1) % stops.size() : (current + 1) % stops.size();
    }
    SetFocusedWidget(stops[index], FocusReason::Keyboard);
}

void WidgetRoot::FocusControlUnderCursor() {
    const std::optional<Point> pos = CursorPos();
    if (!pos) {
        return;
    }
    Widget* w = WidgetAt(*pos);
    if (w == nullptr || w->IsButtonControl()) {
        return;
    }
    while (w != nullptr && !w->CanFocus()) {
        w = w->parent_;
    }
    if (w != nullptr) {
        SetFocusedWidget(w, FocusReason::Program);
    }
}

// ---- Pointer ---------------------------------------------------------------------------

Widget* WidgetRoot::DeepestAt(Widget& widget, Point local) const {
    for (auto it = widget.children_.rbegin(); it != widget.children_.rend(); ++it) {
        Widget& child = **it;
        if (child.visible_ && child.bounds_.Contains(local)) {
            const Point inner = local - child.bounds_.TopLeft();
            if (child.HitTest(inner)) {
                return DeepestAt(child, inner);
            }
        }
    }
    return &widget;
}

Widget* WidgetRoot::WidgetAt(Point rootPos) const {
    if (!Rect{0, 0, Width(), Height()}.Contains(rootPos)) {
        return nullptr;
    }
    return DeepestAt(*InputLayer(), rootPos);
}

std::optional<Point> WidgetRoot::CursorPos() const {
    if (window_ != nullptr) {
        return window_->CursorPos();
    }
    if (lastPos_.x < 0) {
        return std::nullopt;
    }
    return lastPos_;
}

bool WidgetRoot::IsControlUnderCursor(const Widget& widget) const {
    const std::optional<Point> pos = CursorPos();
    return pos && WidgetAt(*pos) == &widget;
}

bool WidgetRoot::IsButtonDown(MouseButton button) const {
    return buttonsDown_[ButtonIndex(button)];
}

void WidgetRoot::SetOverrideCursor(std::optional<Cursor> cursor) {
    overrideCursor_ = cursor;
    UpdateCursor();
}

void WidgetRoot::DiscardPendingMouseInput() {
    if (window_ != nullptr) {
        window_->DiscardPendingMouseInput();
    }
}

void WidgetRoot::UpdateCursor() {
    Cursor cursor = Cursor::Arrow;
    if (overrideCursor_) {
        cursor = *overrideCursor_;
    } else if (grab_ != nullptr) {
        cursor = grab_->cursor_;
    } else if (hover_ != nullptr) {
        cursor = hover_->cursor_;
    }
    if (cursor != shownCursor_) {
        shownCursor_ = cursor;
        if (window_ != nullptr) {
            window_->SetCursor(cursor);
        }
    }
}

void WidgetRoot::UpdateHover(Point pos) {
    Widget* w = pointerInside_ ? WidgetAt(pos) : nullptr;
    if (w != hover_) {
        Widget* old = hover_;
        hover_ = w;
        if (old != nullptr) {
            old->MouseLeave();
        }
        if (hover_ != nullptr && hover_ == w) {
            w->MouseEnter();
        }
    }
    UpdateCursor();
}

void WidgetRoot::DispatchPress(const MouseEvent& e) {
    // Snapshot: a layer may close itself while handling the press.
    std::vector<Widget*> layers;
    for (auto it = overlays_.rbegin(); it != overlays_.rend(); ++it) {
        layers.push_back(it->get());
    }
    layers.push_back(content_.get());
    for (Widget* layer : layers) {
        if (layer->root_ != this) {
            continue;
        }
        Widget* target = DeepestAt(*layer, e.pos);
        if (!target->IsEnabledInTree()) {
            return; // disabled controls swallow presses
        }
        for (Widget* w = target; w != nullptr; w = w->parent_) {
            MouseEvent local = e;
            local.pos = w->FromRoot(e.pos);
            const bool consumed = w->MouseDown(local);
            if (consumed) {
                if (w->root_ == this && grab_ == nullptr) {
                    grab_ = w;
                }
                if (e.button == MouseButton::Right) {
                    contextTarget_ = w->root_ == this ? w : nullptr;
                }
                return;
            }
            if (w == layer || w->root_ != this) {
                break;
            }
        }
        if (layer->root_ == this) {
            // Not consumed; the context menu goes to what lies under the press.
            if (e.button == MouseButton::Right && target->root_ == this) {
                contextTarget_ = target;
            }
            if (layer != content_.get()) {
                return; // an open layer that did not close swallows what it ignores
            }
        }
    }
}

void WidgetRoot::ShowContextMenu(Widget& target, Point rootPos) {
    for (Widget* w = &target; w != nullptr; w = w->parent_) {
        if (w->popupMenu_ != nullptr && w->IsEnabledInTree()) {
            w->popupMenu_->PopupAt(*this, rootPos);
            return;
        }
    }
}

// ---- Painting --------------------------------------------------------------------------

void WidgetRoot::Invalidate(const Rect& rootRect) {
    Rect r = rootRect.Intersect({0, 0, Width(), Height()});
    if (r.IsEmpty()) {
        return;
    }
    if (window_ != nullptr) {
        window_->Invalidate(r);
    }
    // Merge with what touches it, repeatedly, so the list stays small and disjoint-ish.
    bool merged = true;
    while (merged) {
        merged = false;
        for (auto it = dirty_.begin(); it != dirty_.end(); ++it) {
            if (Touches(*it, r)) {
                r = r.Union(*it);
                dirty_.erase(it);
                merged = true;
                break;
            }
        }
    }
    dirty_.push_back(r);
}

void WidgetRoot::Update() {
    const std::vector<Rect> areas = std::move(dirty_);
    dirty_.clear();
    for (const Rect& r : areas) {
        PaintArea(r);
    }
}

void WidgetRoot::PaintArea(const Rect& area) {
    const Rect r = area.Intersect({0, 0, Width(), Height()});
    if (r.IsEmpty()) {
        return;
    }
    const ClipScope clip(canvas_, r);
    canvas_.Clear(ActiveSkin().Window);
    PaintWidget(*content_);
    for (auto& layer : overlays_) {
        PaintWidget(*layer);
    }
}

void WidgetRoot::PaintWidget(Widget& widget) {
    if (!widget.visible_) {
        return;
    }
    const ClipScope view(canvas_, widget.bounds_, ClipScope::Kind::View);
    if (canvas_.ClipRect().IsEmpty()) {
        return;
    }
    widget.Paint(canvas_);
    for (std::size_t i = 0; i < widget.children_.size(); ++i) {
        PaintWidget(*widget.children_[i]);
    }
    widget.PaintOverChildren(canvas_);
}

// ---- IWindowClient ---------------------------------------------------------------------

void WidgetRoot::OnPaint(const Rect& dirty) {
    // The canvas keeps what was painted, so only the parts invalidated since then are painted
    // again; the window copies the rest of `dirty` (the bounding box of what it collected, or an
    // uncovered area) from the surface as it is. A drag step then paints its cell and the info
    // line, not the box around both.
    if (!surfacePainted_) {
        PaintArea(dirty);
        surfacePainted_ = true;
    } else {
        for (const Rect& r : dirty_) {
            PaintArea(r.Intersect(dirty));
        }
    }
    std::erase_if(dirty_, [&dirty](const Rect& r) { return dirty.Intersect(r) == r; });
}

void WidgetRoot::OnMouseDown(const MouseEvent& e) {
    const DispatchScope scope(*this);
    lastPos_ = e.pos;
    pointerInside_ = true;
    buttonsDown_[ButtonIndex(e.button)] = true;
    if (e.button == MouseButton::Right) {
        contextTarget_ = nullptr;
    }
    if (grab_ != nullptr) {
        MouseEvent local = e;
        local.pos = grab_->FromRoot(e.pos);
        grab_->MouseDown(local);
        return;
    }
    UpdateHover(e.pos); // in case no move announced the pointer here
    pressInProgress_ = true;
    DispatchPress(e);
    pressInProgress_ = false;
    if (grab_ != nullptr && window_ != nullptr) {
        window_->CaptureMouse();
    }
    UpdateCursor();
}

void WidgetRoot::OnMouseUp(const MouseEvent& e) {
    const DispatchScope scope(*this);
    lastPos_ = e.pos;
    buttonsDown_[ButtonIndex(e.button)] = false;
    Widget* receiver = grab_;
    if (receiver != nullptr) {
        MouseEvent local = e;
        local.pos = receiver->FromRoot(e.pos);
        receiver->MouseUp(local);
    } else if (Widget* target = WidgetAt(e.pos); target != nullptr) {
        for (Widget* w = target; w != nullptr; w = w->parent_) {
            MouseEvent local = e;
            local.pos = w->FromRoot(e.pos);
            if (w->MouseUp(local) || w->root_ != this) {
                break;
            }
        }
    }
    const bool anyDown =
        std::any_of(std::begin(buttonsDown_), std::end(buttonsDown_), [](bool b) { return b; });
    if (!anyDown && grab_ != nullptr) {
        grab_ = nullptr;
        if (window_ != nullptr) {
            window_->ReleaseMouse();
        }
    }
    if (e.button == MouseButton::Right) {
        Widget* target = contextTarget_;
        contextTarget_ = nullptr;
        if (target != nullptr && target->root_ == this && target->RootRect().Contains(e.pos) &&
            InSubtree(*InputLayer(), target)) {
            ShowContextMenu(*target, e.pos);
        }
    }
    if (grab_ == nullptr) {
        UpdateHover(e.pos);
    }
}

void WidgetRoot::OnMouseMove(Point pos, Modifiers mods) {
    const DispatchScope scope(*this);
    lastPos_ = pos;
    pointerInside_ = true;
    if (grab_ != nullptr) {
        grab_->MouseMove(grab_->FromRoot(pos), mods);
        return;
    }
    UpdateHover(pos);
    for (Widget* w = hover_; w != nullptr; w = w->parent_) {
        if (w->MouseMove(w->FromRoot(pos), mods) || w->root_ != this || w == InputLayer()) {
            break;
        }
    }
}

void WidgetRoot::OnMouseLeave() {
    const DispatchScope scope(*this);
    pointerInside_ = false;
    if (grab_ == nullptr) {
        UpdateHover(lastPos_);
    }
}

void WidgetRoot::OnMouseWheel(const WheelEvent& e) {
    const DispatchScope scope(*this);
    lastPos_ = e.pos;
    Widget* layer = InputLayer();
    for (Widget* w = WidgetAt(e.pos); w != nullptr; w = w->parent_) {
        WheelEvent local = e;
        local.pos = w->FromRoot(e.pos);
        if (w->MouseWheel(local) || w == layer || w->root_ != this) {
            break;
        }
    }
    if (focusUnderCursorOnWheel_) {
        FocusControlUnderCursor();
    }
}

void WidgetRoot::OnKeyDown(const KeyEvent& e) {
    const DispatchScope scope(*this);
    Widget* layer = InputLayer();
    Widget* target = InSubtree(*layer, focus_) ? focus_ : layer;
    for (Widget* w = target; w != nullptr; w = w->parent_) {
        if (w->KeyDown(e)) {
            return;
        }
        if (w == layer || w->root_ != this) {
            break;
        }
    }
    if (e.key == platform::Key::Tab && !e.mods.ctrl && !e.mods.alt) {
        FocusNext(e.mods.shift);
    } else if ((e.key == kAppsKey || (e.key == kF10Key && e.mods.shift)) && target->root_ == this) {
        ShowContextMenu(*target, target->ToRoot({0, target->Height()}));
    }
}

void WidgetRoot::OnKeyUp(const KeyEvent& e) {
    const DispatchScope scope(*this);
    Widget* layer = InputLayer();
    Widget* target = InSubtree(*layer, focus_) ? focus_ : layer;
    for (Widget* w = target; w != nullptr; w = w->parent_) {
        if (w->KeyUp(e) || w == layer || w->root_ != this) {
            break;
        }
    }
}

void WidgetRoot::OnChar(char32_t ch) {
    const DispatchScope scope(*this);
    if (ch < 0x20 || ch == 0x7F) {
        return; // handled on key-down
    }
    Widget* layer = InputLayer();
    Widget* target = InSubtree(*layer, focus_) ? focus_ : layer;
    for (Widget* w = target; w != nullptr; w = w->parent_) {
        if (w->Char(ch) || w == layer || w->root_ != this) {
            break;
        }
    }
}

void WidgetRoot::OnTimer(int id) {
    const DispatchScope scope(*this);
    const auto it = timers_.find(id);
    if (it != timers_.end()) {
        it->second->Fire();
    }
}

void WidgetRoot::OnFocusChanged(bool focused) {
    const DispatchScope scope(*this);
    windowFocused_ = focused;
    if (focus_ != nullptr) {
        focus_->Invalidate();
    }
}

// ---- Timers ----------------------------------------------------------------------------

int WidgetRoot::RegisterTimer(TTimer& timer) {
    const int id = nextTimerId_++;
    timers_[id] = &timer;
    return id;
}

void WidgetRoot::UnregisterTimer(TTimer& timer) {
    if (timer.enabled_) {
        StopPlatformTimer(timer);
    }
    timers_.erase(timer.id_);
}

void WidgetRoot::StartPlatformTimer(const TTimer& timer) {
    if (window_ != nullptr) {
        window_->SetTimer(timer.id_, timer.interval_);
    }
}

void WidgetRoot::StopPlatformTimer(const TTimer& timer) {
    if (window_ != nullptr) {
        window_->KillTimer(timer.id_);
    }
}

// ---- Queries ---------------------------------------------------------------------------

bool IsControlUnderCursor(const Widget& widget) {
    const WidgetRoot* root = widget.Root();
    return root != nullptr && root->IsControlUnderCursor(widget);
}

bool LeftButtonDown(const WidgetRoot& root) {
    return root.IsButtonDown(MouseButton::Left);
}

bool RightButtonDown(const WidgetRoot& root) {
    return root.IsButtonDown(MouseButton::Right);
}

void DiscardPendingMouseMessages(WidgetRoot& root) {
    root.DiscardPendingMouseInput();
}

} // namespace ostinel::gui
