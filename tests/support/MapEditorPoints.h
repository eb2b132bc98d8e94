#pragma once
// Where the map editor's controls lie in its window, for host tests that press with a real
// pointer: the header's positions are the editor's design; the grid's cells come from the
// toolkit's own grid laid out in the editor's shape, so they match what the plug-in draws
// (default range 0..127, scrolled to the top).
#include "editor/map/MapGridLayout.h"
#include "gui/controls/DrawGrid.h"

#include <cstddef>

namespace ostinel::test {

// panMain's top-left in the editor window; the header's controls and the grid sit inside it.
inline constexpr gui::Point kMainPanelOrigin{3, 45};
inline constexpr gui::Rect kGridBoundsInPanel = gui::Rect::FromSize(6, 75, 932, 471);

inline gui::Point InMainPanel(gui::Point p) {
    return {kMainPanelOrigin.x + p.x, kMainPanelOrigin.y + p.y};
}

// btnChannel01 .. btnChannel16 (i = 1..16): 24x24 at left 524 + 26 * (i - 1), top 8.
inline gui::Point ChannelButtonCentre(int i) {
    return InMainPanel({524 + 26 * (i - 1) + 12, 8 + 12});
}

// switchActive: 24x24 at (6, 7).
inline gui::Point ActiveSwitchCentre() {
    return InMainPanel({6 + 12, 7 + 12});
}

// The centre of grid cell (col, row) in the editor window.
inline gui::Point GridCellCentre(int col, int row) {
    gui::TDrawGrid grid;
    grid.SetBounds(kGridBoundsInPanel);
    grid.SetColCount(kGridColCount);
    grid.SetRowCount(RowCountForRange(0, 127));
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetGridLineWidth(1);
    grid.SetDefaultRowHeight(kGridRowHeight);
    grid.SetRowHeight(0, kGridHeaderHeight);
    for (int c = 0; c < kGridColCount; ++c)
        grid.SetColWidth(c, kGridColWidths[static_cast<std::size_t>(c)]);
    const gui::Rect r = grid.CellRect(col, row);
    return InMainPanel({kGridBoundsInPanel.left + (r.left + r.right) / 2,
                        kGridBoundsInPanel.top + (r.top + r.bottom) / 2});
}

} // namespace ostinel::test
