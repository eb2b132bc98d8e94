#pragma once
// The retained widget tree. A widget owns its children, paints itself into the canvas in its
// own coordinates (origin at its top-left, clipped to its bounds) and answers input in the
// same coordinates. Mouse handlers return whether they consumed the event: an unconsumed event
// goes on to the parent; the widget that consumes a press holds the pointer until the release.
// Children added later lie on top and are asked first.
//
// Event hooks (OnClick, OnMouseDown, ...) are called only when set. A control's handler runs
// its own behaviour and then the "standard processing", the base handler, which calls the hooks.
//
// GUI thread only. A widget attached to a WidgetRoot must not outlive it.
#include "graphics/Canvas.h"
#include "platform/Input.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ostinel::gui {

using platform::Cursor;
using platform::KeyEvent;
using platform::Modifiers;
using platform::MouseButton;
using platform::MouseEvent;
using platform::WheelEvent;

class WidgetRoot;

enum class FocusReason : std::uint8_t { Mouse, Keyboard, Program };

// A menu that a widget shows on a right click (implemented by TQelPopupMenu).
class IContextMenu {
public:
    // Opens the menu with its top-left at rootPos (root coordinates).
    virtual void PopupAt(WidgetRoot& root, Point rootPos) = 0;

protected:
    ~IContextMenu() = default;
};

class Widget {
public:
    Widget();
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    // ---- Tree ----------------------------------------------------------------------
    template <class T, class... Args> T& Add(Args&&... args) {
        auto child = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *child;
        AddChild(std::move(child));
        return ref;
    }
    Widget& AddChild(std::unique_ptr<Widget> child);
    // Detaches a child; nullptr when it is not a child of this widget.
    std::unique_ptr<Widget> RemoveChild(Widget& child);
    // Moves this widget to the end of its parent's list (painted last, hit first).
    void BringToFront();
    [[nodiscard]] Widget* Parent() const { return parent_; }
    [[nodiscard]] const std::vector<std::unique_ptr<Widget>>& Children() const { return children_; }
    // The root this widget is attached to, or nullptr.
    [[nodiscard]] WidgetRoot* Root() const { return root_; }
    [[nodiscard]] bool IsAncestorOf(const Widget& other) const;

    // ---- Geometry (parent coordinates) ---------------------------------------------
    [[nodiscard]] const Rect& Bounds() const { return bounds_; }
    void SetBounds(const Rect& bounds);
    void SetBounds(int left, int top, int width, int height) {
        SetBounds(Rect::FromSize(left, top, width, height));
    }
    void SetPosition(int left, int top) { SetBounds(left, top, Width(), Height()); }
    void SetSize(int width, int height) { SetBounds(bounds_.left, bounds_.top, width, height); }
    [[nodiscard]] int Left() const { return bounds_.left; }
    [[nodiscard]] int Top() const { return bounds_.top; }
    [[nodiscard]] int Width() const { return bounds_.Width(); }
    [[nodiscard]] int Height() const { return bounds_.Height(); }
    [[nodiscard]] Rect ClientRect() const { return {0, 0, Width(), Height()}; }
    // Local <-> root coordinates.
    [[nodiscard]] Point ToRoot(Point local) const;
    [[nodiscard]] Point FromRoot(Point rootPos) const;
    [[nodiscard]] Rect RootRect() const;

    // ---- State ---------------------------------------------------------------------
    [[nodiscard]] bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible itself and every ancestor up to a root.
    [[nodiscard]] bool IsShowing() const;
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Enabled itself and every ancestor.
    [[nodiscard]] bool IsEnabledInTree() const;

    // A focusable widget can hold the keyboard focus (a "window" in the platform's sense);
    // TabStop puts it into the Tab order of its layer.
    [[nodiscard]] bool Focusable() const { return focusable_; }
    void SetFocusable(bool focusable) { focusable_ = focusable; }
    [[nodiscard]] bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    [[nodiscard]] bool CanFocus() const;
    [[nodiscard]] bool HasFocus() const;
    // Gives this widget the keyboard focus; false when it cannot take it.
    bool SetFocus(FocusReason reason = FocusReason::Program);

    [[nodiscard]] int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    [[nodiscard]] const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    [[nodiscard]] IContextMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(IContextMenu* menu) { popupMenu_ = menu; }

    [[nodiscard]] Cursor GetCursor() const { return cursor_; }
    void SetCursor(Cursor cursor);

    // ---- Repainting ----------------------------------------------------------------
    void Invalidate();
    void Invalidate(const Rect& local);

    // Calls Loaded() once for this widget and its children, after the owner has set their
    // properties (the forms call it when they are built).
    void NotifyLoaded();
    [[nodiscard]] bool IsLoaded() const { return loaded_; }

    // ---- Hooks ---------------------------------------------------------------------
    std::function<void(const MouseEvent&)> OnMouseDown;
    std::function<void(const MouseEvent&)> OnMouseUp;
    std::function<void(Point, Modifiers)> OnMouseMove;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;
    std::function<void()> OnResize;

    // ---- Handlers (local coordinates) ----------------------------------------------
    // Paints the widget; children are painted after it, then PaintOverChildren.
    virtual void Paint(Canvas& canvas);
    virtual void PaintOverChildren(Canvas& canvas);
    // Whether a point inside the bounds belongs to the widget (for round shapes).
    [[nodiscard]] virtual bool HitTest(Point local) const;

    // The base handlers are the standard processing: they call the hooks. MouseDown consumes
    // the press when a mouse or click hook is set; MouseUp fires OnClick for a left release
    // inside the widget.
    virtual bool MouseDown(const MouseEvent& e);
    virtual bool MouseUp(const MouseEvent& e);
    // A left press and release inside the widget; fires OnClick.
    virtual void Click();
    virtual bool MouseMove(Point pos, Modifiers mods);
    virtual bool MouseWheel(const WheelEvent& e);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // The pointer was taken away while this widget held it (an overlay opened).
    virtual void MouseCaptureLost() {}
    virtual bool KeyDown(const KeyEvent& e);
    virtual bool KeyUp(const KeyEvent& e);
    // A typed character; control characters are handled on key-down and never arrive here.
    virtual bool Char(char32_t ch);
    virtual void FocusEnter(FocusReason reason);
    virtual void FocusExit();
    virtual void Resized();
    virtual void Loaded() {}
    // Buttons never take the focus through the focus-under-cursor rule.
    [[nodiscard]] virtual bool IsButtonControl() const { return false; }

private:
    friend class WidgetRoot;
    void AttachTo(WidgetRoot* root);

    Widget* parent_ = nullptr;
    WidgetRoot* root_ = nullptr;
    std::vector<std::unique_ptr<Widget>> children_;
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    bool focusable_ = false;
    bool tabStop_ = false;
    bool loaded_ = false;
    bool clickArmed_ = false;
    int tag_ = 0;
    std::string name_;
    IContextMenu* popupMenu_ = nullptr;
    Cursor cursor_ = Cursor::Arrow;
};

} // namespace ostinel::gui
