#include "gui/widgets/OverlayLayer.h"

#include "gui/widgets/WidgetRoot.h"

namespace ostinel::gui {

TOverlayLayer::TOverlayLayer() {
    SetFocusable(true);
}

void TOverlayLayer::Close() {
    if (WidgetRoot* root = Root(); root != nullptr) {
        root->CloseOverlay(*this);
    }
}

bool TOverlayLayer::IsOpen() const {
    return Root() != nullptr;
}

bool TOverlayLayer::MouseDown(const MouseEvent& e) {
    Widget::MouseDown(e);
    return true;
}

bool TOverlayLayer::MouseUp(const MouseEvent& e) {
    Widget::MouseUp(e);
    return true;
}

bool TOverlayLayer::MouseWheel(const WheelEvent&) {
    return true;
}

void TOverlayLayer::Paint(Canvas& canvas) {
    if (backdrop_.a != 0) {
        canvas.FillRect(ClientRect(), backdrop_);
    }
}

} // namespace ostinel::gui
