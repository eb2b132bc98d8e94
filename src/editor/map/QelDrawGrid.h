#pragma once
// TQelDrawGrid: the map grid's control. A draw grid that stays out of the Tab order, takes
// the keyboard focus on a press (so later wheel turns reach it) and hands every move to its
// owner while the left button is held, wherever the pointer is; dragging neither moves a
// current cell nor scrolls. Cell and column repaints are public for the editor.
#include "gui/controls/DrawGrid.h"

#include <functional>

namespace ostinel {

class TQelDrawGrid final : public gui::TDrawGrid {
public:
    TQelDrawGrid();

    // The pointer was taken away (an overlay opened) while the grid held it.
    std::function<void()> OnMouseCaptureLost;

    bool MouseMove(gui::Point pos, gui::Modifiers mods) override;
    void MouseCaptureLost() override;
};

} // namespace ostinel
