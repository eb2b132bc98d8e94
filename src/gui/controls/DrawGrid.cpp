#include "gui/controls/DrawGrid.h"

#include "common/Error.h"
#include "gui/skins/Skin.h"

#include <algorithm>

namespace ostinel::gui {

TDrawGrid::TDrawGrid() : colWidths_(5, 64), rowHeights_(5, 24) {
    SetFocusable(true);
    scrollBar_ = &Add<TScrollBar>(TScrollBarKind::Vertical);
    scrollBar_->SetVisible(false);
    scrollBar_->OnChange = [this] {
        if (!updatingScrollBar_) {
            SetTopRow(fixedRows_ + scrollBar_->Position());
        }
    };
    SetSize(320, 120);
    UpdateScrollBar();
}

// ---- Shape -----------------------------------------------------------------------------

void TDrawGrid::SetColCount(int count) {
    colWidths_.resize(static_cast<std::size_t>(std::max(0, count)), defaultColWidth_);
    fixedCols_ = std::min(fixedCols_, ColCount());
    UpdateScrollBar();
    Invalidate();
}

void TDrawGrid::SetRowCount(int count) {
    rowHeights_.resize(static_cast<std::size_t>(std::max(0, count)), defaultRowHeight_);
    fixedRows_ = std::min(fixedRows_, RowCount());
    UpdateScrollBar();
    SetTopRow(topRow_);
    Invalidate();
}

void TDrawGrid::SetFixedCols(int count) {
    fixedCols_ = std::clamp(count, 0, ColCount());
    Invalidate();
}

void TDrawGrid::SetFixedRows(int count) {
    fixedRows_ = std::clamp(count, 0, RowCount());
    UpdateScrollBar();
    SetTopRow(topRow_);
    Invalidate();
}

void TDrawGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = std::max(0, width);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    Invalidate();
}

void TDrawGrid::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = std::max(0, height);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    UpdateScrollBar();
    SetTopRow(topRow_);
    Invalidate();
}

int TDrawGrid::ColWidths(int col) const {
    if (col < 0 || col >= ColCount()) {
        throw Error(kArgumentOutOfRange);
    }
    return colWidths_[static_cast<std::size_t>(col)];
}

void TDrawGrid::SetColWidth(int col, int width) {
    if (col < 0 || col >= ColCount()) {
        throw Error(kArgumentOutOfRange);
    }
    colWidths_[static_cast<std::size_t>(col)] = std::max(0, width);
    Invalidate();
}

int TDrawGrid::RowHeights(int row) const {
    if (row < 0 || row >= RowCount()) {
        throw Error(kArgumentOutOfRange);
    }
    return rowHeights_[static_cast<std::size_t>(row)];
}

void TDrawGrid::SetRowHeight(int row, int height) {
    if (row < 0 || row >= RowCount()) {
        throw Error(kArgumentOutOfRange);
    }
    rowHeights_[static_cast<std::size_t>(row)] = std::max(0, height);
    UpdateScrollBar();
    SetTopRow(topRow_);
    Invalidate();
}

void TDrawGrid::SetGridLineWidth(int width) {
    lineWidth_ = std::max(0, width);
    UpdateScrollBar();
    Invalidate();
}

// ---- Geometry --------------------------------------------------------------------------

int TDrawGrid::ColLeft(int col) const {
    int x = 0;
    for (int c = 0; c < col; ++c) {
        x += colWidths_[static_cast<std::size_t>(c)] + lineWidth_;
    }
    return x;
}

int TDrawGrid::FixedRowsHeight() const {
    int h = 0;
    for (int r = 0; r < fixedRows_; ++r) {
        h += rowHeights_[static_cast<std::size_t>(r)] + lineWidth_;
    }
    return h;
}

std::optional<int> TDrawGrid::RowTop(int row) const {
    if (row < 0 || row >= RowCount()) {
        return std::nullopt;
    }
    if (row < fixedRows_) {
        int y = 0;
        for (int r = 0; r < row; ++r) {
            y += rowHeights_[static_cast<std::size_t>(r)] + lineWidth_;
        }
        return y;
    }
    if (row < topRow_) {
        return std::nullopt;
    }
    int y = FixedRowsHeight();
    for (int r = topRow_; r < row; ++r) {
        y += rowHeights_[static_cast<std::size_t>(r)] + lineWidth_;
        if (y >= Height()) {
            return std::nullopt;
        }
    }
    return y;
}

int TDrawGrid::MaxTopRow() const {
    const int available = Height() - FixedRowsHeight();
    int used = 0;
    int top = RowCount();
    while (top > fixedRows_) {
        const int h = rowHeights_[static_cast<std::size_t>(top - 1)];
        if (used + h > available) {
            break;
        }
        used += h + lineWidth_;
        --top;
    }
    return std::max(fixedRows_, std::min(top, RowCount() - 1));
}

int TDrawGrid::VisibleRowCount() const {
    const int available = Height() - FixedRowsHeight();
    int used = 0;
    int count = 0;
    for (int r = topRow_; r < RowCount(); ++r) {
        const int h = rowHeights_[static_cast<std::size_t>(r)];
        if (used + h > available) {
            break;
        }
        used += h + lineWidth_;
        ++count;
    }
    return count;
}

bool TDrawGrid::VerticalScrollBarVisible() const {
    return scrollBar_->Visible();
}

int TDrawGrid::GridClientWidth() const {
    return Width() - (VerticalScrollBarVisible() ? GetSystemScrollBarWidth() : 0);
}

Rect TDrawGrid::CellRect(int col, int row) const {
    if (col < 0 || col >= ColCount()) {
        return {};
    }
    const std::optional<int> top = RowTop(row);
    if (!top) {
        return {};
    }
    const int left = ColLeft(col);
    const Rect r = Rect::FromSize(left, *top, colWidths_[static_cast<std::size_t>(col)],
                                  rowHeights_[static_cast<std::size_t>(row)]);
    return r.Intersect({0, 0, GridClientWidth(), Height()}).IsEmpty() ? Rect{} : r;
}

TGridCoord TDrawGrid::MouseCoord(int x, int y) const {
    if (x < 0 || y < 0 || x >= GridClientWidth() || y >= Height()) {
        return {};
    }
    TGridCoord coord;
    int left = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int right = left + colWidths_[static_cast<std::size_t>(c)] + lineWidth_;
        if (x >= left && x < right) {
            coord.X = c;
            break;
        }
        left = right;
    }
    auto rowAt = [&](int first, int last, int top) {
        for (int r = first; r < last; ++r) {
            const int bottom = top + rowHeights_[static_cast<std::size_t>(r)] + lineWidth_;
            if (y >= top && y < bottom) {
                return r;
            }
            top = bottom;
        }
        return -1;
    };
    coord.Y = rowAt(0, fixedRows_, 0);
    if (coord.Y < 0) {
        coord.Y = rowAt(topRow_, RowCount(), FixedRowsHeight());
    }
    if (coord.X < 0 || coord.Y < 0) {
        return {};
    }
    return coord;
}

bool TDrawGrid::MouseToCell(int x, int y, int& col, int& row) const {
    const TGridCoord c = MouseCoord(x, y);
    col = c.X;
    row = c.Y;
    return c.X >= 0;
}

// ---- Repaint requests --------------------------------------------------------------------

void TDrawGrid::InvalidateCell(int col, int row) {
    const Rect r = CellRect(col, row);
    if (!r.IsEmpty()) {
        Invalidate({r.left, r.top, r.right + lineWidth_, r.bottom + lineWidth_});
    }
}

void TDrawGrid::InvalidateCol(int col) {
    if (col < 0 || col >= ColCount()) {
        return;
    }
    const int left = ColLeft(col);
    Invalidate({left, 0, left + colWidths_[static_cast<std::size_t>(col)] + lineWidth_, Height()});
}

void TDrawGrid::InvalidateRow(int row) {
    const std::optional<int> top = RowTop(row);
    if (top) {
        Invalidate(
            {0, *top, Width(), *top + rowHeights_[static_cast<std::size_t>(row)] + lineWidth_});
    }
}

// ---- Scrolling -------------------------------------------------------------------------

void TDrawGrid::SetTopRow(int row) {
    row = std::clamp(row, fixedRows_, std::max(fixedRows_, MaxTopRow()));
    if (row == topRow_) {
        return;
    }
    topRow_ = row;
    updatingScrollBar_ = true;
    scrollBar_->SetPosition(topRow_ - fixedRows_);
    updatingScrollBar_ = false;
    Invalidate();
    if (OnTopLeftChanged) {
        OnTopLeftChanged();
    }
}

void TDrawGrid::UpdateScrollBar() {
    if (scrollBar_ == nullptr) {
        return; // still being built
    }
    const int sb = GetSystemScrollBarWidth();
    const bool needed = MaxTopRow() > fixedRows_;
    updatingScrollBar_ = true;
    scrollBar_->SetBounds(Width() - sb, 0, sb, Height());
    scrollBar_->SetVisible(needed);
    scrollBar_->SetParams(0, std::max(0, MaxTopRow() - fixedRows_), std::max(1, VisibleRowCount()));
    scrollBar_->SetPosition(topRow_ - fixedRows_);
    updatingScrollBar_ = false;
}

void TDrawGrid::Resized() {
    UpdateScrollBar();
    SetTopRow(topRow_);
    Widget::Resized();
}

// ---- Input -----------------------------------------------------------------------------

bool TDrawGrid::MouseDown(const MouseEvent& e) {
    SetFocus(FocusReason::Mouse); // also brings the window's focus back from the host
    Widget::MouseDown(e);
    if (e.button == MouseButton::Left && OnFixedCellClick) {
        const TGridCoord c = MouseCoord(e.pos.x, e.pos.y);
        if (c.X >= 0 && (c.X < fixedCols_ || c.Y < fixedRows_)) {
            OnFixedCellClick(c.X, c.Y);
        }
    }
    return true;
}

bool TDrawGrid::MouseWheel(const WheelEvent& e) {
    if (e.delta < 0 && OnMouseWheelDown && OnMouseWheelDown(e.mods, e.pos)) {
        return true;
    }
    if (e.delta > 0 && OnMouseWheelUp && OnMouseWheelUp(e.mods, e.pos)) {
        return true;
    }
    if (e.delta < 0) {
        SetTopRow(topRow_ + 1);
    } else if (e.delta > 0) {
        SetTopRow(topRow_ - 1);
    }
    return true;
}

bool TDrawGrid::KeyDown(const KeyEvent& e) {
    namespace K = platform::Key;
    const int page = std::max(1, VisibleRowCount());
    switch (e.key) {
    case K::Up:
        SetTopRow(topRow_ - 1);
        return true;
    case K::Down:
        SetTopRow(topRow_ + 1);
        return true;
    case K::Prior:
        SetTopRow(topRow_ - page);
        return true;
    case K::Next:
        SetTopRow(topRow_ + page);
        return true;
    case K::Home:
        SetTopRow(fixedRows_);
        return true;
    case K::End:
        SetTopRow(MaxTopRow());
        return true;
    default:
        return false;
    }
}

// ---- Painting --------------------------------------------------------------------------

Color TDrawGrid::CellColor() const {
    return cellColor_.value_or(ActiveSkin().GridCell);
}

Color TDrawGrid::FixedColor() const {
    return fixedColor_.value_or(ActiveSkin().GridFixed);
}

Color TDrawGrid::LineColor() const {
    return lineColor_.value_or(ActiveSkin().GridLine);
}

void TDrawGrid::Paint(Canvas& canvas) {
    const int clientW = GridClientWidth();
    const Rect client{0, 0, clientW, Height()};
    const ClipScope clip(canvas, client);
    canvas.FillRect(client, CellColor());
    const Rect dirty = canvas.ClipRect();

    auto paintRow = [&](int row, int top) {
        const int h = rowHeights_[static_cast<std::size_t>(row)];
        if (top + h + lineWidth_ <= dirty.top || top >= dirty.bottom) {
            return;
        }
        int left = 0;
        for (int col = 0; col < ColCount() && left < clientW; ++col) {
            const int w = colWidths_[static_cast<std::size_t>(col)];
            const Rect cell = Rect::FromSize(left, top, w, h);
            const bool fixed = col < fixedCols_ || row < fixedRows_;
            if (w > 0 && !cell.Intersect(dirty).IsEmpty()) {
                canvas.FillRect(cell, fixed ? FixedColor() : CellColor());
                if (OnDrawCell) {
                    const ClipScope cellClip(canvas, cell);
                    OnDrawCell(canvas, col, row, cell, TGridDrawState{fixed});
                }
            }
            if (lineWidth_ > 0) {
                canvas.FillRect({left + w, top, left + w + lineWidth_, top + h + lineWidth_},
                                LineColor());
            }
            left += w + lineWidth_;
        }
        if (lineWidth_ > 0) {
            canvas.FillRect({0, top + h, std::min(left, clientW), top + h + lineWidth_},
                            LineColor());
        }
    };

    int y = 0;
    for (int row = 0; row < fixedRows_ && y < Height(); ++row) {
        paintRow(row, y);
        y += rowHeights_[static_cast<std::size_t>(row)] + lineWidth_;
    }
    for (int row = topRow_; row < RowCount() && y < Height(); ++row) {
        paintRow(row, y);
        y += rowHeights_[static_cast<std::size_t>(row)] + lineWidth_;
    }
}

} // namespace ostinel::gui
