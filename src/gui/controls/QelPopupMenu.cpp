#include "gui/controls/QelPopupMenu.h"

#include "common/Error.h"
#include "gui/controls/PopupMenuLayer.h"
#include "gui/widgets/WidgetRoot.h"

#include <algorithm>

namespace ostinel::gui {

// ---- TMenuItem -------------------------------------------------------------------------

TMenuItem::TMenuItem(std::string caption, int tag) : Caption(std::move(caption)), Tag(tag) {}

TMenuItem& TMenuItem::Add(std::string caption, int tag, std::function<void(TMenuItem&)> onClick) {
    auto item = std::make_unique<TMenuItem>(std::move(caption), tag);
    item->OnClick = std::move(onClick);
    return Add(std::move(item));
}

TMenuItem& TMenuItem::AddSeparator() {
    return Add("-");
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> item) {
    return Insert(items_.size(), std::move(item));
}

TMenuItem& TMenuItem::Insert(std::size_t index, std::unique_ptr<TMenuItem> item) {
    if (index > items_.size() || item == nullptr) {
        throw Error(kArgumentOutOfRange);
    }
    item->parent_ = this;
    TMenuItem& ref = *item;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    return ref;
}

void TMenuItem::Delete(std::size_t index) {
    if (index >= items_.size()) {
        throw Error(kArgumentOutOfRange);
    }
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void TMenuItem::Clear() {
    items_.clear();
}

TMenuItem& TMenuItem::Items(std::size_t index) const {
    if (index >= items_.size()) {
        throw Error(kArgumentOutOfRange);
    }
    return *items_[index];
}

int TMenuItem::MenuIndex() const {
    if (parent_ == nullptr) {
        return -1;
    }
    const auto& siblings = parent_->items_;
    const auto it = std::find_if(siblings.begin(), siblings.end(),
                                 [this](const auto& s) { return s.get() == this; });
    return static_cast<int>(it - siblings.begin());
}

TMenuItem* TMenuItem::Find(std::string_view name) {
    if (Name == name) {
        return this;
    }
    for (auto& item : items_) {
        if (TMenuItem* found = item->Find(name); found != nullptr) {
            return found;
        }
    }
    return nullptr;
}

void TMenuItem::Click() {
    if (Enabled && OnClick) {
        OnClick(*this);
    }
}

// ---- TQelPopupMenu ---------------------------------------------------------------------

TQelPopupMenu::TQelPopupMenu() = default;

TQelPopupMenu::~TQelPopupMenu() {
    if (layer_ != nullptr) {
        TPopupMenuLayer* layer = layer_;
        layer_ = nullptr;
        layer->Detach();
    }
}

void TQelPopupMenu::Popup(WidgetRoot& root, Point rootPos, std::function<void()> closed) {
    Close();
    if (OnPopup) {
        OnPopup(*this);
    }
    closed_ = std::move(closed);
    auto layer = std::make_unique<TPopupMenuLayer>(*this, root, rootPos);
    if (layer->LevelCount() == 0) {
        LayerClosed(nullptr); // nothing visible to show
        return;
    }
    layer_ = layer.get();
    root.PushOverlay(std::move(layer));
}

void TQelPopupMenu::Close() {
    if (layer_ != nullptr) {
        layer_->Cancel();
    }
}

void TQelPopupMenu::LayerClosed(TMenuItem* chosen) {
    layer_ = nullptr;
    const std::function<void()> closed = std::move(closed_);
    closed_ = nullptr;
    if (OnClose) {
        OnClose(*this);
    }
    if (closed) {
        closed();
    }
    if (chosen != nullptr) {
        chosen->Click();
    }
}

namespace {

void CheckByTag(TMenuItem& parent, TMenuItem& top, int tag, bool markParents) {
    for (std::size_t i = 0; i < parent.Count(); ++i) {
        TMenuItem& child = parent.Items(i);
        if (child.Tag == tag) {
            child.Checked = true;
            if (markParents) {
                for (TMenuItem* p = child.Parent(); p != nullptr && p != &top; p = p->Parent()) {
                    p->Checked = true;
                }
            }
        } else {
            child.Checked = false;
        }
        if (child.IsSubmenu()) {
            CheckByTag(child, top, tag, markParents);
        }
    }
}

} // namespace

void TQelPopupMenu::CheckItemsByTag(int tag, TMenuItem* start, bool markParents) {
    CheckByTag(start != nullptr ? *start : items_, items_, tag, markParents);
    if (layer_ != nullptr) {
        layer_->Invalidate();
    }
}

} // namespace ostinel::gui
