#include "editor/map/QelDrawGrid.h"

#include "gui/widgets/WidgetRoot.h"

namespace ostinel {

TQelDrawGrid::TQelDrawGrid() {
    SetTabStop(false);
}

bool TQelDrawGrid::MouseMove(gui::Point pos, gui::Modifiers mods) {
    // Moves matter only as value drags: the left button held.
    const gui::WidgetRoot* root = Root();
    if (root == nullptr || !gui::LeftButtonDown(*root)) {
        return false;
    }
    return gui::TDrawGrid::MouseMove(pos, mods);
}

void TQelDrawGrid::MouseCaptureLost() {
    if (OnMouseCaptureLost) {
        OnMouseCaptureLost();
    }
}

} // namespace ostinel
