#include "gui/controls/ListBox.h"

#include "common/Error.h"
#include "gui/skins/Skin.h"

#include <algorithm>

namespace ostinel::gui {

TListBox::TListBox() {
    SetFocusable(true);
    SetTabStop(true);
    vbar_ = &Add<TScrollBar>(TScrollBarKind::Vertical);
    hbar_ = &Add<TScrollBar>(TScrollBarKind::Horizontal);
    for (TScrollBar* bar : {vbar_, hbar_}) {
        bar->SetVisible(false);
        bar->OnChange = [this, bar] {
            top_ = bar->Position();
            Invalidate();
        };
    }
    scrollBar_ = vbar_;
    SetSize(121, 97);
}

void TListBox::AddItem(std::string text, std::intptr_t data) {
    items_.push_back({std::move(text), data});
    UpdateScrollBar();
    Invalidate();
}

void TListBox::Clear() {
    items_.clear();
    itemIndex_ = -1;
    top_ = 0;
    UpdateScrollBar();
    Invalidate();
}

const std::string& TListBox::ItemText(int index) const {
    if (index < 0 || index >= Count()) {
        throw Error(kArgumentOutOfRange);
    }
    return items_[static_cast<std::size_t>(index)].Text;
}

std::intptr_t TListBox::ItemData(int index) const {
    if (index < 0 || index >= Count()) {
        throw Error(kArgumentOutOfRange);
    }
    return items_[static_cast<std::size_t>(index)].Data;
}

void TListBox::SetItemIndex(int index) {
    if (index < -1 || index >= Count()) {
        index = -1;
    }
    if (index != itemIndex_) {
        itemIndex_ = index;
        Invalidate();
    }
    EnsureVisible(itemIndex_);
}

void TListBox::SetItemHeight(int height) {
    itemHeight_ = std::max(1, height);
    UpdateScrollBar();
    Invalidate();
}

void TListBox::SetColumns(int columns) {
    columns_ = std::max(0, columns);
    top_ = 0;
    UpdateScrollBar();
    Invalidate();
}

void TListBox::SetItemFont(const Font& font) {
    font_ = font;
    Invalidate();
}

// ---- Geometry --------------------------------------------------------------------------

Rect TListBox::ListArea() const {
    Rect r = ClientRect().Inset(1);
    if (scrollBar_->Visible()) {
        if (columns_ > 0) {
            r.bottom -= GetSystemScrollBarWidth();
        } else {
            r.right -= GetSystemScrollBarWidth();
        }
    }
    return r;
}

int TListBox::RowsPerColumn() const {
    return std::max(1, ListArea().Height() / itemHeight_);
}

int TListBox::ColumnWidth() const {
    const Rect area = ListArea();
    return columns_ > 0 ? std::max(1, area.Width() / columns_) : area.Width();
}

int TListBox::TotalSlots() const {
    // Columns in use (multi-column) or rows (single column).
    const int rows = RowsPerColumn();
    return columns_ > 0 ? (Count() + rows - 1) / rows : Count();
}

void TListBox::UpdateScrollBar() {
    if (scrollBar_ == nullptr) {
        return; // still being built
    }
    const Rect inner = ClientRect().Inset(1);
    const int sb = GetSystemScrollBarWidth();
    const int rowsWithoutBar = std::max(1, inner.Height() / itemHeight_);
    bool needed = false;
    if (columns_ > 0) {
        needed = (Count() + rowsWithoutBar - 1) / rowsWithoutBar > columns_;
        scrollBar_ = hbar_;
        vbar_->SetVisible(false);
        hbar_->SetBounds(inner.left, inner.bottom - sb, inner.Width(), sb);
    } else {
        needed = Count() > rowsWithoutBar;
        scrollBar_ = vbar_;
        hbar_->SetVisible(false);
        vbar_->SetBounds(inner.right - sb, inner.top, sb, inner.Height());
    }
    scrollBar_->SetVisible(needed);
    const int page = columns_ > 0 ? columns_ : RowsPerColumn();
    const int maxTop = std::max(0, TotalSlots() - page);
    top_ = std::clamp(top_, 0, maxTop);
    scrollBar_->SetParams(0, maxTop, page);
    scrollBar_->SetPosition(top_);
}

Rect TListBox::ItemRect(int index) const {
    const Rect area = ListArea();
    if (columns_ > 0) {
        const int rows = RowsPerColumn();
        const int col = index / rows - top_;
        const int row = index % rows;
        const int w = ColumnWidth();
        return Rect::FromSize(area.left + col * w, area.top + row * itemHeight_, w, itemHeight_);
    }
    return Rect::FromSize(area.left, area.top + (index - top_) * itemHeight_, area.Width(),
                          itemHeight_);
}

int TListBox::ItemAtPos(Point pos, bool existing) const {
    const Rect area = ListArea();
    if (!area.Contains(pos)) {
        return -1;
    }
    int index = 0;
    if (columns_ > 0) {
        const int rows = RowsPerColumn();
        const int row = (pos.y - area.top) / itemHeight_;
        if (row >= rows) {
            return -1;
        }
        index = ((pos.x - area.left) / ColumnWidth() + top_) * rows + row;
    } else {
        index = (pos.y - area.top) / itemHeight_ + top_;
    }
    if (index >= Count()) {
        return existing ? -1 : Count() - 1;
    }
    return index;
}

void TListBox::EnsureVisible(int index) {
    if (index < 0) {
        return;
    }
    const int slot = columns_ > 0 ? index / RowsPerColumn() : index;
    const int page = columns_ > 0 ? columns_ : RowsPerColumn();
    if (slot < top_) {
        top_ = slot;
    } else if (slot >= top_ + page) {
        top_ = slot - page + 1;
    }
    scrollBar_->SetPosition(top_);
    Invalidate();
}

void TListBox::Resized() {
    UpdateScrollBar();
    Widget::Resized();
}

// ---- Input -----------------------------------------------------------------------------

void TListBox::SelectByUser(int index) {
    if (Count() == 0) {
        return;
    }
    index = std::clamp(index, 0, Count() - 1);
    const bool changed = index != itemIndex_;
    SetItemIndex(index);
    if (changed && OnSelectionChange) {
        OnSelectionChange();
    }
}

bool TListBox::MouseDown(const MouseEvent& e) {
    SetFocus(FocusReason::Mouse); // also brings the window's focus back from the host
    if (e.button == MouseButton::Left) {
        const int index = ItemAtPos(e.pos);
        if (index >= 0) {
            SelectByUser(index);
        }
    }
    Widget::MouseDown(e);
    return true;
}

bool TListBox::MouseWheel(const WheelEvent& e) {
    if (!scrollBar_->Visible()) {
        return false;
    }
    scrollBar_->SetPosition(top_ + (e.delta > 0 ? -1 : 1) * (columns_ > 0 ? 1 : 3));
    return true;
}

bool TListBox::KeyDown(const KeyEvent& e) {
    namespace K = platform::Key;
    if (Count() == 0 || e.mods.alt || e.mods.ctrl) {
        return false;
    }
    const int current = std::max(itemIndex_, 0);
    const int rows = RowsPerColumn();
    const int page = columns_ > 0 ? rows * columns_ : rows;
    switch (e.key) {
    case K::Up:
        SelectByUser(itemIndex_ < 0 ? 0 : current - 1);
        return true;
    case K::Down:
        SelectByUser(itemIndex_ < 0 ? 0 : current + 1);
        return true;
    case K::Left:
        SelectByUser(current - (columns_ > 0 ? rows : 1));
        return true;
    case K::Right:
        SelectByUser(current + (columns_ > 0 ? rows : 1));
        return true;
    case K::Prior:
        SelectByUser(current - page);
        return true;
    case K::Next:
        SelectByUser(current + page);
        return true;
    case K::Home:
        SelectByUser(0);
        return true;
    case K::End:
        SelectByUser(Count() - 1);
        return true;
    default:
        return false;
    }
}

void TListBox::FocusEnter(FocusReason) {
    Invalidate();
}

void TListBox::FocusExit() {
    Invalidate();
}

// ---- Painting --------------------------------------------------------------------------

Color TListBox::ItemFillColor(bool selected) const {
    const TSkin& skin = ActiveSkin();
    return selected ? skin.SelectionFace : skin.EditFace;
}

Color TListBox::ItemTextColor(bool selected) const {
    const TSkin& skin = ActiveSkin();
    return selected ? skin.SelectionText : skin.EditText;
}

void TListBox::Paint(Canvas& canvas) {
    canvas.FillRect(ClientRect(), ActiveSkin().EditFace);
    const Rect area = ListArea();
    const ClipScope clip(canvas, area);
    for (int i = 0; i < Count(); ++i) {
        const Rect r = ItemRect(i);
        if (r.Intersect(area).IsEmpty()) {
            continue;
        }
        const bool selected = i == itemIndex_;
        const TOwnerDrawState state{selected, selected && HasFocus()};
        const ClipScope itemClip(canvas, r);
        if (OnDrawItem) {
            OnDrawItem(canvas, i, r, state);
        } else {
            canvas.FillRect(r, ItemFillColor(selected));
            DrawTextInRect(canvas, font_, items_[static_cast<std::size_t>(i)].Text,
                           {r.left + 4, r.top, r.right - 4, r.bottom}, ItemTextColor(selected));
        }
    }
}

void TListBox::PaintOverChildren(Canvas& canvas) {
    const TSkin& skin = ActiveSkin();
    canvas.FrameRect(ClientRect(), HasFocus() ? skin.EditFocusBorder : skin.EditBorder);
}

} // namespace ostinel::gui
