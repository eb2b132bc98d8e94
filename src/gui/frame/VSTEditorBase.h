#pragma once
// TfrmVSTEditorBase: the window content every editor of the plug-in derives from. The tiled
// perforated-metal background, the main panel filling the window inside a small margin, the
// focus timer that gives the window the keyboard focus 100 ms after it was shown, and the rule
// that moves the focus to the control under the pointer on clicks and wheel turns (so that the
// wheel reaches the numeric inputs and the grid). Derived editors add their controls to
// panMain and implement the two hooks.
//
// The form is the content of its WidgetRoot and lives as long as the root; it does not know
// the plug-in module (the concrete editor is given its owner). GUI thread only.
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "gui/controls/QelGuiPanel.h"
#include "gui/widgets/Timer.h"
#include "gui/widgets/Widget.h"

namespace ostinel::gui {

class WidgetRoot;

class TfrmVSTEditorBase : public Widget {
public:
    static constexpr int kFocusDelayMs = 100;
    // panMain's distance from the window's edges.
    static constexpr int kMarginLeft = 3;
    static constexpr int kMarginTop = 4;
    static constexpr int kMarginRight = 3;
    static constexpr int kMarginBottom = 3;
    static constexpr std::uint8_t kPanelAlpha = 220;

    // FormCreate: builds the tile, panMain and the (stopped) focus timer. Hand the form to the
    // root as its content (WidgetRoot::SetContent) before the window shows it.
    explicit TfrmVSTEditorBase(WidgetRoot& root);
    ~TfrmVSTEditorBase() override;

    // The window was made visible: runs FormShow. Call once per showing.
    void Show();

    // Runs when the window is shown and from the plug-in's editor-idle handler. Empty here.
    virtual void EditorIdle() {}
    // The module's preset name changed. Empty here.
    virtual void PresetNameChanged() {}

    // The control under the mouse pointer takes the keyboard focus, unless it is a button.
    // Also called by the module when the host reports a wheel turn.
    void FocusControlUnderCursor();

    [[nodiscard]] TQelGuiPanel& panMain() { return *panMain_; }
    [[nodiscard]] TTimer& timFormActivated() { return timFormActivated_; }
    [[nodiscard]] const Image& BackgroundTile() const { return tile_; }
    // The form's font (Segoe UI, 12 px, bold); controls that take the form's font use it.
    [[nodiscard]] const Font& FormFont() const { return font_; }

    // FormPaint: the tile over the clip, anchored at the window's top-left corner.
    void Paint(Canvas& canvas) override;
    void Resized() override;

protected:
    [[nodiscard]] WidgetRoot& OwnerRoot() const { return root_; }

    virtual void FormShow();
    virtual void FormClick();
    virtual void panMainClick();
    virtual void timFormActivatedTimer();

private:
    void PlacePanel();

    WidgetRoot& root_;
    Image tile_;
    Font font_;
    TQelGuiPanel* panMain_ = nullptr;
    TTimer timFormActivated_;
};

} // namespace ostinel::gui
