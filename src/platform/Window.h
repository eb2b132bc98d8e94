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

// Shell requests: open a document with its program, show a folder. Results as the shell gives
// them (true/success); never block.
bool ShellOpen(const std::string& file);
bool ShowFolderInExplorer(const std::string& folder);

} // namespace ostinel::platform
