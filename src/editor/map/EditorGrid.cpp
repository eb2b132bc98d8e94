// TfrmEditor: the map grid: its shape, the hit test, the cell painter and the mouse and wheel
// editing of the target values, and the note preview on the label column.
#include "common/QelCommon.h"
#include "editor/map/CellValues.h"
#include "editor/map/Editor.h"
#include "editor/map/QelDrawGrid.h"
#include "gui/controls/QelNumericInput.h"
#include "gui/controls/ScrollBar.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"
#include "services/VSTPluginBase.h"

#include <algorithm>
#include <numeric>

namespace ostinel {

namespace {

constexpr float kDragStep = 0.25f;
constexpr float kFineDragStep = 0.05f;
constexpr float kWheelStep = 0.5f;
// A data cell's edge that belongs to no cell for the mouse.
constexpr int kHitMarginX = 3;
constexpr int kHitMarginY = 2;

} // namespace

void TfrmEditor::CreateGrid() {
    grdMap_ = &panMain().Add<TQelDrawGrid>();
    grdMap_->SetName("grdMap");
    grdMap_->SetBounds(6, 75, 932, 471);
    grdMap_->SetColCount(kGridColCount);
    grdMap_->SetFixedCols(1);
    grdMap_->SetFixedRows(1);
    grdMap_->SetGridLineWidth(1);
    grdMap_->OnDrawCell = [this](gui::Canvas& canvas, int col, int row, const gui::Rect& r,
                                 gui::TGridDrawState) { grdMapDrawCell(canvas, col, row, r); };
    grdMap_->OnMouseDown = [this](const gui::MouseEvent& e) { grdMapMouseDown(e); };
    grdMap_->OnMouseMove = [this](gui::Point pos, gui::Modifiers mods) {
        grdMapMouseMove(pos, mods);
    };
    grdMap_->OnMouseUp = [this](const gui::MouseEvent& e) { grdMapMouseUp(e); };
    grdMap_->OnMouseCaptureLost = [this] {
        // An overlay took the pointer in the middle of a drag: end it as a release would.
        if (dragging_) {
            grdMapMouseUp(gui::MouseEvent{});
        }
    };
    grdMap_->OnMouseWheelDown = [this](gui::Modifiers, gui::Point pos) {
        return grdMapMouseWheel(pos, -1);
    };
    grdMap_->OnMouseWheelUp = [this](gui::Modifiers, gui::Point pos) {
        return grdMapMouseWheel(pos, 1);
    };
    grdMap_->OnFixedCellClick = [this](int col, int row) { grdMapFixedCellClick(col, row); };
    grdMap_->OnTopLeftChanged = [this] { grdMapTopLeftChanged(); };
}

void TfrmEditor::RebuildGrid() {
    lastTopRow_ = -1;
    TQelDrawGrid& grid = *grdMap_;
    grid.SetColCount(kGridColCount);
    // A pasted state may hold a range outside 0..127; the rows show the notes that exist.
    const TOstinelChannel& channel = ShownChannel();
    const int from = std::clamp(RoundedValue(channel.RangeFrom()), 0, kMapNotes - 1);
    const int to = std::clamp(RoundedValue(channel.RangeTo()), 0, kMapNotes - 1);
    gridFrom_ = from;
    grid.SetRowCount(RowCountForRange(from, to));
    grid.SetDefaultRowHeight(kGridRowHeight);
    grid.SetRowHeight(0, kGridHeaderHeight);
    int used = 0;
    for (int col = 0; col < kGridColCount; ++col) {
        grid.SetColWidth(col, kGridColWidths[static_cast<std::size_t>(col)]);
        if (col < kGridFillCol) {
            used += kGridColWidths[static_cast<std::size_t>(col)] + grid.GridLineWidth();
        }
    }
    // Room for the scroll bar is kept whether it shows now or not.
    const int scrollBar = grid.VerticalScrollBarVisible() ? 0 : gui::GetSystemScrollBarWidth();
    grid.SetColWidth(kGridFillCol, std::max(0, grid.GridClientWidth() - used - scrollBar));
    grid.SetTopRow(1);
    grid.InvalidateGrid();
}

void TfrmEditor::HitTest(int x, int y) {
    cellInfo_.Clear();
    const gui::TGridCoord cell = grdMap_->MouseCoord(x, y);
    if (cell.X < 0) {
        return;
    }
    if (cell.X > 0 && cell.Y > 0) {
        const gui::Rect r = grdMap_->CellRect(cell.X, cell.Y);
        if (x < r.left + kHitMarginX || x > r.right - kHitMarginX || y < r.top + kHitMarginY ||
            y > r.bottom - kHitMarginY) {
            return;
        }
    }
    TCellInfo hit;
    hit.Kind = ColumnKind(cell.X);
    hit.Col = cell.X;
    hit.Row = cell.Y;
    hit.MouseX = x;
    hit.MouseY = y;
    hit.Channel = ShownChannelIndex();
    if (cell.Y > 0) {
        hit.SourceNote = NoteOfRow(cell.Y, grdMap_->RowCount(), gridFrom_);
        if (hit.SourceNote < 0 || hit.SourceNote >= kMapNotes) {
            return;
        }
        hit.TargetIndex = ColumnTargetIndex(cell.X);
    }
    cellInfo_ = hit;
}

void TfrmEditor::RepaintTarget(bool whole) {
    const int row = cellInfo_.Row;
    if (whole && cellInfo_.TargetIndex >= 0) {
        // The five cells of the target, whichever of them was hit.
        const int first = TargetFirstColumn(cellInfo_.TargetIndex);
        for (int c = first; c < first + kGridColsPerTarget; ++c) {
            grdMap_->InvalidateCell(c, row);
        }
        return;
    }
    grdMap_->InvalidateCell(cellInfo_.Col, row);
}

void TfrmEditor::ShowCellInfo() {
    if (const TOstinToItem* target = CellTarget()) {
        const std::string text =
            CellInfoText(*target, cellInfo_.Kind, cellInfo_.TargetIndex, Owner().LowestOctave());
        if (!text.empty()) {
            ShowInfo(text);
        }
    }
}

void TfrmEditor::grdMapDrawCell(gui::Canvas& canvas, int col, int row, const gui::Rect& r) {
    TGridPaintContext context;
    context.Channel = &ShownChannel();
    context.From = gridFrom_;
    context.RowCount = grdMap_->RowCount();
    context.LowestOctave = Owner().LowestOctave();
    if (learnTarget_ == TLearnTarget::Grid) {
        context.LearnCol = cellInfo_.Col;
        context.LearnRow = cellInfo_.Row;
    }
    context.LearnColor = inputRangeFrom_->HighlightColor();
    context.HighlightColor = highlightColor_;
    context.Highlighted = &highlightedNotes_;
    painter_->Paint(canvas, col, row, r, context);
}

// ---- Mouse -------------------------------------------------------------------------------

void TfrmEditor::grdMapMouseDown(const gui::MouseEvent& e) {
    EndLearn();
    HitTest(e.pos.x, e.pos.y);
    const TCellKind kind = cellInfo_.Kind;
    if (!IsTargetKind(kind) || cellInfo_.Row <= 0) {
        return; // a press on a note label is answered by the fixed-cell click
    }
    TOstinToItem* target = CellTarget();
    if (target == nullptr || (IsValueKind(kind) && IsEmptyTarget(*target))) {
        cellInfo_.Clear(); // the Note cell of an empty target stays editable
        return;
    }
    if (e.button == gui::MouseButton::Right) {
        if (gui::TQelPopupMenu* menu = cellMenus_.MenuFor(kind)) {
            cellMenus_.Prepare(kind, RoundedValue(CellValue(*target, kind)),
                               ShownChannel().Active());
            menu->Popup(OwnerRoot(), grdMap_->ToRoot(e.pos));
        }
        return;
    }
    if (e.button != gui::MouseButton::Left) {
        return;
    }
    if (e.mods.ctrl) {
        SetCellValue(*target, kind, CellDefault(kind, cellInfo_.TargetIndex, cellInfo_.SourceNote));
        NotifyHostOfChange();
        RepaintTarget(true);
        cellInfo_.Clear();
        return;
    }
    OwnerRoot().SetOverrideCursor(gui::Cursor::SizeNS);
    dragLastY_ = e.pos.y;
    dragging_ = true;
    ShowCellInfo();
}

void TfrmEditor::grdMapMouseMove(gui::Point pos, gui::Modifiers mods) {
    if (!dragging_ || cellInfo_.Row <= 0 || !gui::LeftButtonDown(OwnerRoot())) {
        return;
    }
    if (pos.y != dragLastY_) {
        // One step per move event, however far the pointer went; up raises the value.
        const float step = mods.shift ? kFineDragStep : kDragStep;
        ApplyCellStep(pos.y > dragLastY_ ? -step : step);
        if (IsTargetKind(cellInfo_.Kind)) {
            dragChanged_ = true;
        }
    }
    dragLastY_ = pos.y;
}

void TfrmEditor::ApplyCellStep(float step) {
    TOstinToItem* target = CellTarget();
    const TCellKind kind = cellInfo_.Kind;
    if (target == nullptr || !IsTargetKind(kind)) {
        return;
    }
    const bool wasEmpty = IsEmptyTarget(*target);
    SetCellValue(*target, kind, CellValue(*target, kind) + step);
    if (kind == TCellKind::ckNote) {
        RepaintTarget(wasEmpty || IsEmptyTarget(*target));
    } else {
        grdMap_->InvalidateCell(cellInfo_.Col, cellInfo_.Row);
    }
    ShowCellInfo();
}

void TfrmEditor::grdMapMouseUp(const gui::MouseEvent& /*e*/) {
    if (dragChanged_) {
        NotifyHostOfChange(); // once per drag
    }
    OwnerRoot().SetOverrideCursor(std::nullopt);
    dragLastY_ = -1;
    dragging_ = false;
    cellInfo_.Clear();
    dragChanged_ = false;
}

bool TfrmEditor::grdMapMouseWheel(gui::Point pos, int direction) {
    TQelDrawGrid& grid = *grdMap_;
    if (!grid.ClientRect().Contains(pos)) {
        return true;
    }
    const gui::TGridCoord cell = grid.MouseCoord(pos.x, pos.y);
    if (cell.X <= 0 || cell.Y <= 0) {
        // Over the labels, the header or no cell: one row.
        if (direction < 0 && grid.TopRow() + grid.VisibleRowCount() < grid.RowCount()) {
            grid.SetTopRow(grid.TopRow() + 1);
        } else if (direction > 0 && grid.TopRow() > 1) {
            grid.SetTopRow(grid.TopRow() - 1);
        }
        return true;
    }
    // The hit test below replaces the cell a pending learn waits on.
    if (learnTarget_ == TLearnTarget::Grid) {
        EndLearn();
    }
    HitTest(pos.x, pos.y);
    const TCellKind kind = cellInfo_.Kind;
    TOstinToItem* target = CellTarget();
    if (target == nullptr || !IsTargetKind(kind)) {
        return true; // a cell margin
    }
    if (IsValueKind(kind) && IsEmptyTarget(*target)) {
        cellInfo_.Clear();
        return true;
    }
    ApplyCellStep(static_cast<float>(direction) * kWheelStep);
    NotifyHostOfChange();
    ShowCellInfo();
    return true;
}

void TfrmEditor::grdMapFixedCellClick(int col, int row) {
    if (row <= 0 || col != 0 || cellInfo_.Kind != TCellKind::ckNoteLabel) {
        return;
    }
    const int width = std::max(1, grdMap_->ColWidths(0));
    const auto velocity = static_cast<int>(std::clamp<std::int64_t>(
        RoundDouble(static_cast<double>(cellInfo_.MouseX) / width * 127.0), 0, 127));
    ShowInfo("PREVIEW: Note: " + NoteLabel(cellInfo_.SourceNote) +
             " / Velocity: " + FormatInt(velocity));
    (void)module_.PreviewNote(ShownChannelIndex(), cellInfo_.SourceNote, velocity);
}

void TfrmEditor::grdMapTopLeftChanged() {
    if (grdMap_->TopRow() == lastTopRow_) {
        return;
    }
    EndLearn();
    if (gui::ActiveSkin().Kind == gui::TSkinKind::Light) {
        grdMap_->InvalidateGrid();
    }
    lastTopRow_ = grdMap_->TopRow();
}

} // namespace ostinel
