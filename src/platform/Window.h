#pragma once
// A native window that shows the toolkit's pixels and feeds it input. One contract, three
// implementations (win32/, x11/, headless/). GUI thread only; nothing here blocks: timers and
// (on X11 and headless) events are driven from PumpEvents(), which the editor calls from the
// host's idle calls.
#include "graphics/Image.h"
#include "platform/Clipboard.h"
#include "platform/Input.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::platform {

// Implemented by the toolkit's root: it owns the pixels and reacts to input.
class IWindowClient {
public:
    // Bring the surface up to date inside `dirty` (client coordinates); the window then shows
    // that part of Surface().
    virtual void OnPaint(const Rect& dirty) = 0;
    [[nodiscard]] virtual const gui::Image& Surface() const = 0;

    virtual void OnMouseDown(const MouseEvent& e) = 0;
    virtual void OnMouseUp(const MouseEvent& e) = 0;
    virtual void OnMouseMove(Point pos, Modifiers mods) = 0;
    virtual void OnMouseLeave() = 0;
    virtual void OnMouseWheel(const WheelEvent& e) = 0;
    virtual void OnKeyDown(const KeyEvent& e) = 0;
    virtual void OnKeyUp(const KeyEvent& e) = 0;
    virtual void OnChar(char32_t ch) = 0;
    virtual void OnTimer(int id) = 0;
    virtual void OnFocusChanged(bool focused) = 0;

protected:
    ~IWindowClient() = default;
};

class IPlatformWindow {
public:
    virtual ~IPlatformWindow() = default;

    [[nodiscard]] virtual int ClientWidth() const = 0;
    [[nodiscard]] virtual int ClientHeight() const = 0;
    // The native handle (HWND, X11 Window id, or a headless token).
    [[nodiscard]] virtual void* NativeHandle() const = 0;

    // Marks a part of the client area for repainting; the repaint comes later (WM_PAINT,
    // Expose, or the next PumpEvents()).
    virtual void Invalidate(const Rect& area) = 0;
    // Non-blocking: dispatch what is pending (X11 events, due timers, repaints). Win32 windows
    // get their messages from the host's message loop, so this only flushes repaints there.
    virtual void PumpEvents() = 0;

    // Repeating timers, reported through IWindowClient::OnTimer(id). Re-setting an id restarts it.
    // Intervals below 1 ms count as 1 ms (Windows itself raises them to 10 ms).
    virtual void SetTimer(int id, int intervalMs) = 0;
    virtual void KillTimer(int id) = 0;

    virtual void SetCursor(Cursor cursor) = 0;
    // The pointer keeps reporting to this window until released (a press grabs it).
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // Pointer position in client coordinates (may lie outside the window); nullopt when it
    // cannot be read.
    [[nodiscard]] virtual std::optional<Point> CursorPos() const = 0;
    [[nodiscard]] virtual bool IsButtonDown(MouseButton button) const = 0;
    // Throws away mouse input that queued up and was not dispatched yet.
    virtual void DiscardPendingMouseInput() = 0;

    virtual void Focus() = 0;
    [[nodiscard]] virtual bool HasFocus() const = 0;
};

// Creates the editor's window as a child of the host's window (HWND or X11 Window id).
// Throws ostinel::Error when it cannot.
[[nodiscard]] std::unique_ptr<IPlatformWindow> CreateChildWindow(void* parent, int width,
                                                                 int height, IWindowClient& client);

// Implemented by a program that owns a top-level window (the standalone editor): what the
// window's frame and its shortcuts ask for.
class ITopLevelClient {
public:
    // The user asked to close the window (window manager close, WM_CLOSE). The window stays
    // until its owner destroys it, so the client may ask first.
    virtual void OnCloseRequest() = 0;
    // A shortcut added with AddShortcut was pressed, also while a child window (a plug-in's
    // editor) has the keyboard focus. The child does not see that key press.
    virtual void OnShortcut(int id) = 0;

protected:
    ~ITopLevelClient() = default;
};

// A window of its own on the desktop, with a title, whose client area holds child windows
// (CreateChildWindow with NativeHandle() as the parent). Fixed size. GUI thread only.
class ITopLevelWindow {
public:
    virtual ~ITopLevelWindow() = default;

    [[nodiscard]] virtual void* NativeHandle() const = 0;
    [[nodiscard]] virtual int ClientWidth() const = 0;
    [[nodiscard]] virtual int ClientHeight() const = 0;
    // Resizes the client area; a side below 1 leaves the size as it is.
    virtual void SetClientSize(int width, int height) = 0;
    virtual void SetTitle(const std::string& utf8) = 0;
    [[nodiscard]] virtual const std::string& Title() const = 0;
    // True once the window system destroyed the window behind our back (xkill and the like):
    // there is nothing left to show or ask in.
    [[nodiscard]] virtual bool Destroyed() const = 0;
    // Shows the window (it is created hidden, so that it appears at its final size).
    virtual void Show() = 0;
    // Moves a child window (its native handle) to `bounds` in client coordinates and puts it
    // above its siblings.
    virtual void PlaceChild(void* child, const Rect& bounds) = 0;
    // Ctrl/Shift/Alt + key (the virtual-key code of a letter or digit) reported through
    // OnShortcut(id). Throws ostinel::Error for other keys on X11.
    virtual void AddShortcut(int id, std::uint32_t key, Modifiers mods) = 0;

    // Non-blocking: dispatches what is pending for this window. On Win32 this is the thread's
    // message loop, so every window of the thread (child windows too) gets its messages here.
    virtual void PumpEvents() = 0;
    // Sleeps until input arrives for this window or `maxMs` has passed, whichever is first.
    virtual void WaitForEvents(int maxMs) = 0;
};

// Creates a hidden top-level window with a client area of width x height. Throws
// ostinel::Error when it cannot (on X11 "cannot open display" when there is no display).
[[nodiscard]] std::unique_ptr<ITopLevelWindow>
CreateTopLevelWindow(const std::string& title, int width, int height, ITopLevelClient& client);

// Shell requests: open a document with its program, show a folder. Results as the shell gives
// them (true/success); never block.
bool ShellOpen(const std::string& file);
bool ShowFolderInExplorer(const std::string& folder);

} // namespace ostinel::platform
