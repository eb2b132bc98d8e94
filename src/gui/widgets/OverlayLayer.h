#pragma once
// A modal layer over the window's content: popup menus, message boxes, prompts and the preset
// browser live in one. A layer covers the whole root; while it is the top layer it receives
// all input and holds the keyboard focus. Closing it restores the focus it took and destroys
// it once the event being handled is finished.
#include "gui/widgets/Widget.h"

namespace ostinel::gui {

class TOverlayLayer : public Widget {
public:
    TOverlayLayer();

    // Removes the layer from its root (deferred destruction). Does nothing when not shown.
    void Close();
    [[nodiscard]] bool IsOpen() const;

    // Backdrop painted over the layers below (transparent: none).
    [[nodiscard]] Color Backdrop() const { return backdrop_; }
    void SetBackdrop(Color backdrop) { backdrop_ = backdrop; }

    // A press that no child consumed lands here. The default swallows it (modal). A layer
    // that returns false lets the press go on to the layers below.
    bool MouseDown(const MouseEvent& e) override;
    bool MouseUp(const MouseEvent& e) override;
    bool MouseWheel(const WheelEvent& e) override;
    void Paint(Canvas& canvas) override;

    // Called by the root right after the layer left the stack.
    virtual void Closed() {}

private:
    friend class WidgetRoot;
    Widget* savedFocus_ = nullptr;
    Color backdrop_ = Color::Transparent();
};

} // namespace ostinel::gui
