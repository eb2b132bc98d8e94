#pragma once
// The top of a window's widget tree and the toolkit's side of the platform window: it owns the
// canvas, the content widget and the stack of overlay layers; routes input top-most first;
// keeps the keyboard focus, the pointer grab and the hovered widget; collects dirty
// rectangles; and runs the timers.
//
// Routing: a press goes to the deepest widget under the pointer in the top layer and bubbles
// up until a widget consumes it; that widget then gets every move and the release (the grab).
// A layer that does not consume the press passes it to the layer below. Moves without a grab go
// to the hovered widget; the wheel goes to the widget under the pointer and bubbles; keys go to
// the focused widget and bubble, and an unconsumed Tab moves the focus.
//
// GUI thread only. Nothing here blocks or runs a nested loop: overlays return at once and
// report through callbacks.
#include "graphics/Canvas.h"
#include "gui/widgets/OverlayLayer.h"
#include "gui/widgets/Widget.h"
#include "platform/Window.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace ostinel::gui {

class TTimer;

class WidgetRoot final : public platform::IWindowClient {
public:
    WidgetRoot(int width, int height);
    ~WidgetRoot();
    WidgetRoot(const WidgetRoot&) = delete;
    WidgetRoot& operator=(const WidgetRoot&) = delete;

    // The window that shows this root (not owned); null detaches. Pending timers start.
    void AttachWindow(platform::IPlatformWindow* window);
    [[nodiscard]] platform::IPlatformWindow* Window() const { return window_; }
    // The clipboard for edit boxes (not owned); without one, clipboard keys do nothing.
    void SetClipboard(platform::IClipboard* clipboard) { clipboard_ = clipboard; }
    [[nodiscard]] platform::IClipboard* Clipboard() const { return clipboard_; }

    [[nodiscard]] int Width() const { return canvas_.Width(); }
    [[nodiscard]] int Height() const { return canvas_.Height(); }
    // Resizes the surface, the content and every layer, and repaints everything.
    void Resize(int width, int height);

    // ---- Content and layers --------------------------------------------------------
    // The window's content fills the root. Replaces (and destroys) the previous content.
    Widget& SetContent(std::unique_ptr<Widget> content);
    template <class T, class... Args> T& EmplaceContent(Args&&... args) {
        auto content = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *content;
        SetContent(std::move(content));
        return ref;
    }
    [[nodiscard]] Widget* Content() const { return content_.get(); }

    // Puts a layer on top. It takes the pointer grab if a press is under way and the keyboard
    // focus (remembering the previous one).
    TOverlayLayer& PushOverlay(std::unique_ptr<TOverlayLayer> layer);
    // Takes the layer off the stack now and destroys it after the current event.
    void CloseOverlay(TOverlayLayer& layer);
    [[nodiscard]] std::size_t OverlayCount() const { return overlays_.size(); }
    [[nodiscard]] TOverlayLayer* TopOverlay() const;
    [[nodiscard]] TOverlayLayer* Overlay(std::size_t index) const;
    // The layer that gets input: the top overlay, else the content.
    [[nodiscard]] Widget* InputLayer() const;
    // Destroys closed layers and widgets handed to DeleteLater (done after every event).
    void ProcessDeferred();
    // Removes a child widget from its parent now and destroys it after the current event
    // (for widgets that remove themselves from inside their own handlers).
    void DeleteLater(Widget& widget);

    // ---- Focus ---------------------------------------------------------------------
    [[nodiscard]] Widget* FocusedWidget() const { return focus_; }
    // Moves the focus (nullptr clears it). False when the widget cannot take the focus.
    bool SetFocusedWidget(Widget* widget, FocusReason reason);
    // Moves the focus to the next (or previous) Tab stop of the input layer.
    void FocusNext(bool backwards);
    // The focus-under-cursor rule: the widget under the pointer takes the keyboard focus
    // (the nearest focusable one upwards from it), unless it is a button. Errors are ignored.
    void FocusControlUnderCursor();
    // Whether FocusControlUnderCursor runs after every wheel event (on by default).
    void SetFocusUnderCursorOnWheel(bool on) { focusUnderCursorOnWheel_ = on; }

    // ---- Pointer -------------------------------------------------------------------
    // The deepest visible widget at a root point in the input layer (the layer itself when no
    // child is there); nullptr outside the root.
    [[nodiscard]] Widget* WidgetAt(Point rootPos) const;
    // The pointer in root coordinates: the window's report, else the last event's position.
    [[nodiscard]] std::optional<Point> CursorPos() const;
    [[nodiscard]] bool IsControlUnderCursor(const Widget& widget) const;
    // Buttons held according to the events seen (or the window when it can tell).
    [[nodiscard]] bool IsButtonDown(MouseButton button) const;
    [[nodiscard]] Widget* HoveredWidget() const { return hover_; }
    [[nodiscard]] Widget* MouseGrab() const { return grab_; }
    // A cursor shown everywhere in the window (the numeric input's drag); nullopt ends it.
    void SetOverrideCursor(std::optional<Cursor> cursor);
    void DiscardPendingMouseInput();

    // ---- Painting ------------------------------------------------------------------
    void Invalidate(const Rect& rootRect);
    void InvalidateAll() { Invalidate({0, 0, Width(), Height()}); }
    // Rectangles asked for since the last paint (root coordinates, merged when they overlap).
    [[nodiscard]] const std::vector<Rect>& DirtyRects() const { return dirty_; }
    // Paints the dirty rectangles now (the window shows them at its next blit).
    void Update();
    [[nodiscard]] const Canvas& GetCanvas() const { return canvas_; }

    // ---- IWindowClient -------------------------------------------------------------
    void OnPaint(const Rect& dirty) override;
    [[nodiscard]] const Image& Surface() const override { return canvas_.Surface(); }
    void OnMouseDown(const MouseEvent& e) override;
    void OnMouseUp(const MouseEvent& e) override;
    void OnMouseMove(Point pos, Modifiers mods) override;
    void OnMouseLeave() override;
    void OnMouseWheel(const WheelEvent& e) override;
    void OnKeyDown(const KeyEvent& e) override;
    void OnKeyUp(const KeyEvent& e) override;
    void OnChar(char32_t ch) override;
    void OnTimer(int id) override;
    void OnFocusChanged(bool focused) override;
    [[nodiscard]] bool WindowHasFocus() const { return windowFocused_; }

private:
    friend class Widget;
    friend class TTimer;

    class DispatchScope;

    void WidgetDetached(Widget& widget);
    // Hidden or disabled: it loses the focus, the hover and the grab it holds.
    void WidgetHidden(Widget& widget);
    void RequestWindowFocus(const Widget* widget);
    int RegisterTimer(TTimer& timer);
    void UnregisterTimer(TTimer& timer);
    void StartPlatformTimer(const TTimer& timer);
    void StopPlatformTimer(const TTimer& timer);

    void PaintArea(const Rect& area);
    void PaintWidget(Widget& widget);
    void UpdateHover(Point pos);
    void UpdateCursor();
    [[nodiscard]] Widget* DeepestAt(Widget& widget, Point local) const;
    void DispatchPress(const MouseEvent& e);
    void ShowContextMenu(Widget& target, Point rootPos);
    void CollectTabStops(Widget& widget, std::vector<Widget*>& out) const;

    Canvas canvas_;
    platform::IPlatformWindow* window_ = nullptr;
    platform::IClipboard* clipboard_ = nullptr;
    std::unique_ptr<Widget> content_;
    std::vector<std::unique_ptr<TOverlayLayer>> overlays_;
    std::vector<std::unique_ptr<Widget>> graveyard_;
    std::vector<Rect> dirty_;
    // False until the first paint: before it the surface holds nothing worth copying.
    bool surfacePainted_ = false;
    std::map<int, TTimer*> timers_;
    int nextTimerId_ = 1;
    int dispatchDepth_ = 0;

    Widget* focus_ = nullptr;
    Widget* hover_ = nullptr;
    Widget* grab_ = nullptr;
    // The widget a right press landed on, for its context menu at the release.
    Widget* contextTarget_ = nullptr;
    Point lastPos_{-1, -1};
    bool pointerInside_ = false;
    bool buttonsDown_[3] = {false, false, false};
    bool windowFocused_ = false;
    bool pressInProgress_ = false;
    bool focusUnderCursorOnWheel_ = true;
    std::optional<Cursor> overrideCursor_;
    Cursor shownCursor_ = Cursor::Arrow;
};

// The GUI queries the controls use, as free functions over a widget's root.
[[nodiscard]] bool IsControlUnderCursor(const Widget& widget);
[[nodiscard]] bool LeftButtonDown(const WidgetRoot& root);
[[nodiscard]] bool RightButtonDown(const WidgetRoot& root);
void DiscardPendingMouseMessages(WidgetRoot& root);

} // namespace ostinel::gui
