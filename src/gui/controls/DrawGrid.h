#pragma once
// A draw grid: rows and columns of cells that the owner paints (OnDrawCell), with fixed rows
// at the top and fixed columns at the left, one-pixel grid lines after every cell, and a
// vertical scroll bar (rows only; there is no sideways scrolling) that follows its thumb while
// it is dragged. The grid paints each cell's background (fixed colour or cell colour) and the
// lines, then calls OnDrawCell with the cell's rectangle, clipped to it.
//
// A press gives the grid the keyboard focus; while the button is held every move reaches
// OnMouseMove wherever the pointer is. A left press on a fixed cell is reported through
// OnFixedCellClick after OnMouseDown and before the release. The wheel is offered to
// OnMouseWheelDown/Up first; unhandled, it scrolls by one row.
//
// Coordinates are the grid's own (local) pixels. Cells are numbered from 0; a cell's extent
// for hit testing includes the grid line after it.
#include "graphics/Color.h"
#include "gui/controls/ScrollBar.h"
#include "gui/widgets/Widget.h"

#include <functional>
#include <optional>
#include <vector>

namespace ostinel::gui {

struct TGridDrawState {
    bool Fixed = false;
};

struct TGridCoord {
    int X = -1; // column
    int Y = -1; // row
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

class TDrawGrid : public Widget {
public:
    TDrawGrid();

    // ---- Shape ----
    [[nodiscard]] int ColCount() const { return static_cast<int>(colWidths_.size()); }
    void SetColCount(int count);
    [[nodiscard]] int RowCount() const { return static_cast<int>(rowHeights_.size()); }
    void SetRowCount(int count);
    [[nodiscard]] int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    [[nodiscard]] int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);
    [[nodiscard]] int DefaultColWidth() const { return defaultColWidth_; }
    // Sets every column to the width (like the toolkit's grids do).
    void SetDefaultColWidth(int width);
    [[nodiscard]] int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height);
    // Throws ostinel::Error "Argument out of range" for a column or row that does not exist.
    [[nodiscard]] int ColWidths(int col) const;
    void SetColWidth(int col, int width);
    [[nodiscard]] int RowHeights(int row) const;
    void SetRowHeight(int row, int height);
    [[nodiscard]] int GridLineWidth() const { return lineWidth_; }
    void SetGridLineWidth(int width);

    // ---- Scrolling ----
    // The first scrollable row shown (FixedRows..MaxTopRow); a change fires OnTopLeftChanged.
    [[nodiscard]] int TopRow() const { return topRow_; }
    void SetTopRow(int row);
    // Columns never scroll: the left column is always the first non-fixed one.
    [[nodiscard]] int LeftCol() const { return fixedCols_; }
    [[nodiscard]] int MaxTopRow() const;
    // Scrollable rows shown completely from TopRow.
    [[nodiscard]] int VisibleRowCount() const;
    [[nodiscard]] bool VerticalScrollBarVisible() const;
    // The width the cells can use: the client width minus the scroll bar when it shows.
    [[nodiscard]] int GridClientWidth() const;
    [[nodiscard]] TScrollBar& VerticalScrollBar() { return *scrollBar_; }

    // ---- Cells ----
    // Local rectangle of a cell without its grid lines; empty when not shown.
    [[nodiscard]] Rect CellRect(int col, int row) const;
    // The cell under a local point (its lines included); X and Y -1 when there is none.
    [[nodiscard]] TGridCoord MouseCoord(int x, int y) const;
    bool MouseToCell(int x, int y, int& col, int& row) const;

    // Repaint requests.
    void InvalidateCell(int col, int row);
    void InvalidateCol(int col);
    void InvalidateRow(int row);
    void InvalidateGrid() { Invalidate(); }

    // Cell colours; the skin's grid colours unless set.
    [[nodiscard]] Color CellColor() const;
    [[nodiscard]] Color FixedColor() const;
    [[nodiscard]] Color LineColor() const;
    void SetCellColor(Color c) { cellColor_ = c; }
    void SetFixedColor(Color c) { fixedColor_ = c; }
    void SetLineColor(Color c) { lineColor_ = c; }

    std::function<void(Canvas&, int col, int row, const Rect&, TGridDrawState)> OnDrawCell;
    std::function<void()> OnTopLeftChanged;
    std::function<void(int col, int row)> OnFixedCellClick;
    // (modifiers, local pointer position) -> handled.
    std::function<bool(Modifiers, Point)> OnMouseWheelDown;
    std::function<bool(Modifiers, Point)> OnMouseWheelUp;

    void Paint(Canvas& canvas) override;
    bool MouseDown(const MouseEvent& e) override;
    bool MouseWheel(const WheelEvent& e) override;
    bool KeyDown(const KeyEvent& e) override;
    void Resized() override;

private:
    [[nodiscard]] int ColLeft(int col) const;
    [[nodiscard]] int FixedRowsHeight() const;
    // Top of a row, or nullopt when the row is scrolled away.
    [[nodiscard]] std::optional<int> RowTop(int row) const;
    void UpdateScrollBar();

    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    int lineWidth_ = 1;
    int topRow_ = 1;
    std::optional<Color> cellColor_;
    std::optional<Color> fixedColor_;
    std::optional<Color> lineColor_;
    TScrollBar* scrollBar_ = nullptr;
    bool updatingScrollBar_ = false;
};

} // namespace ostinel::gui
