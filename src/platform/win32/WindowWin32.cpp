// The editor's window on Windows: a child HWND in the host's window. Its messages come from
// the host's message loop; WM_PAINT blits the client's surface as a 32-bit top-down DIB.
// Wide-character APIs only. No exception may leave the window procedure (it returns into
// Windows), so handler errors end there.
#include "common/Error.h"
#include "platform/Window.h"

#include "common/win32/WinApi.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace ostinel::platform {

namespace {

constexpr UINT kMouseFirst = 0x0200; // WM_MOUSEMOVE
constexpr UINT kMouseLast = 0x020E;  // WM_MOUSEHWHEEL

HMODULE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

Modifiers KeyboardModifiers() {
    return {::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_MENU) < 0};
}

// Mouse messages carry Shift and Ctrl; Alt comes from the keyboard state.
Modifiers MouseModifiers(WPARAM keys) {
    return {(keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0, ::GetKeyState(VK_MENU) < 0};
}

Point PointFromLParam(LPARAM lParam) {
    // GET_X_LPARAM / GET_Y_LPARAM: signed, for positions left of or above the window.
    return {static_cast<int>(static_cast<short>(LOWORD(lParam))),
            static_cast<int>(static_cast<short>(HIWORD(lParam)))};
}

LPCWSTR SystemCursorName(Cursor cursor) {
    switch (cursor) {
    case Cursor::Hand:
        return IDC_HAND;
    case Cursor::IBeam:
        return IDC_IBEAM;
    case Cursor::SizeNS:
        return IDC_SIZENS;
    case Cursor::SizeWE:
        return IDC_SIZEWE;
    case Cursor::SizeAll:
        return IDC_SIZEALL;
    case Cursor::Cross:
        return IDC_CROSS;
    case Cursor::Arrow:
        break;
    }
    return IDC_ARROW;
}

// One window class per loaded copy of the module: two copies of the plug-in (or two
// plug-ins built from this code) in one host must not share a window procedure. Registered
// while windows exist, so that an unloaded module leaves no class behind.
class WindowClass {
public:
    static LPCWSTR Acquire(WNDPROC procedure) {
        WindowClass& c = Instance();
        std::lock_guard lock(c.mutex_);
        if (c.users_ == 0) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = procedure;
            wc.hInstance = ThisModule();
            wc.hCursor = nullptr; // WM_SETCURSOR sets it
            wc.lpszClassName = c.name_.c_str();
            if (::RegisterClassExW(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
                throw Error("Cannot register the editor's window class");
            }
        }
        ++c.users_;
        return c.name_.c_str();
    }
    static void Release() {
        WindowClass& c = Instance();
        std::lock_guard lock(c.mutex_);
        if (c.users_ > 0 && --c.users_ == 0) {
            ::UnregisterClassW(c.name_.c_str(), ThisModule());
        }
    }

private:
    WindowClass() {
        wchar_t text[64];
        std::swprintf(
            text, 64, L"OstinelEditor%llX",
            static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(ThisModule())));
        name_ = text;
    }
    static WindowClass& Instance() {
        static WindowClass c;
        return c;
    }
    std::mutex mutex_;
    std::wstring name_;
    int users_ = 0;
};

class Win32Window final : public IPlatformWindow {
public:
    Win32Window(HWND parent, int width, int height, IWindowClient& client);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    [[nodiscard]] int ClientWidth() const override { return width_; }
    [[nodiscard]] int ClientHeight() const override { return height_; }
    [[nodiscard]] void* NativeHandle() const override { return hwnd_; }
    void Invalidate(const Rect& area) override;
    void PumpEvents() override;
    void SetTimer(int id, int intervalMs) override;
    void KillTimer(int id) override;
    void SetCursor(Cursor cursor) override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    [[nodiscard]] std::optional<Point> CursorPos() const override;
    [[nodiscard]] bool IsButtonDown(MouseButton button) const override;
    void DiscardPendingMouseInput() override;
    void Focus() override;
    [[nodiscard]] bool HasFocus() const override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Blit(HDC dc, const Rect& area);
    void ButtonEvent(MouseButton button, bool down, bool doubleClick, WPARAM wParam, LPARAM lParam);
    void MouseMoved(WPARAM wParam, LPARAM lParam);
    void CharTyped(wchar_t unit);
    void ShowCursorShape() const;
    [[nodiscard]] bool PointerIsOurs() const;

    IWindowClient& client_;
    HWND hwnd_ = nullptr;
    int width_;
    int height_;
    Cursor cursor_ = Cursor::Arrow;
    bool trackingLeave_ = false;
    std::optional<Point> lastMove_;
    wchar_t pendingHighSurrogate_ = 0;
    // Our timer ids and the event ids given to SetTimer (never 0).
    std::vector<std::pair<int, UINT_PTR>> timers_;
    UINT_PTR nextTimerEvent_ = 1;
};

Win32Window::Win32Window(HWND parent, int width, int height, IWindowClient& client)
    : client_(client), width_(width), height_(height) {
    if (width < 1 || height < 1 || width > gui::Image::kMaxSide || height > gui::Image::kMaxSide) {
        throw Error("Invalid window size " + std::to_string(width) + " x " +
                    std::to_string(height));
    }
    if (::IsWindow(parent) == FALSE) {
        throw Error("The host's window does not exist");
    }
    LPCWSTR className = WindowClass::Acquire(&WindowProc);
    ::CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                      0, 0, width, height, parent, nullptr, ThisModule(), this);
    if (hwnd_ == nullptr) {
        WindowClass::Release();
        throw Error("Cannot create the editor window (error " + std::to_string(::GetLastError()) +
                    ")");
    }
}

Win32Window::~Win32Window() {
    if (hwnd_ != nullptr) {
        for (const auto& timer : timers_) {
            ::KillTimer(hwnd_, timer.second);
        }
        if (::GetCapture() == hwnd_) {
            ::ReleaseCapture();
        }
        // WM_NCDESTROY detaches us; the host may have destroyed the window already.
        ::DestroyWindow(hwnd_);
    }
    WindowClass::Release();
}

LRESULT CALLBACK Win32Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32Window*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        // The toolkit reports its own errors; whatever escapes it must not unwind into
        // Windows.
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT Win32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    using Button = MouseButton;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers everything; erasing first would flicker
    case WM_SIZE:
        width_ = std::max(1, static_cast<int>(LOWORD(lParam)));
        height_ = std::max(1, static_cast<int>(HIWORD(lParam)));
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        ButtonEvent(Button::Left, true, false, wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        ButtonEvent(Button::Left, true, true, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        ButtonEvent(Button::Left, false, false, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        ButtonEvent(Button::Right, true, false, wParam, lParam);
        return 0;
    case WM_RBUTTONDBLCLK:
        ButtonEvent(Button::Right, true, true, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        ButtonEvent(Button::Right, false, false, wParam, lParam);
        return 0;
    case WM_MBUTTONDOWN:
        ButtonEvent(Button::Middle, true, false, wParam, lParam);
        return 0;
    case WM_MBUTTONDBLCLK:
        ButtonEvent(Button::Middle, true, true, wParam, lParam);
        return 0;
    case WM_MBUTTONUP:
        ButtonEvent(Button::Middle, false, false, wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        MouseMoved(wParam, lParam);
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        lastMove_.reset();
        client_.OnMouseLeave();
        return 0;
    case WM_MOUSEWHEEL: {
        // Wheel positions are in screen coordinates.
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ScreenToClient(hwnd_, &p);
        client_.OnMouseWheel({{static_cast<int>(p.x), static_cast<int>(p.y)},
                              static_cast<short>(HIWORD(wParam)),
                              MouseModifiers(LOWORD(wParam))});
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        client_.OnKeyDown({static_cast<std::uint32_t>(wParam), KeyboardModifiers(),
                           (lParam & (LPARAM{1} << 30)) != 0});
        // Alt+key and F10 stay the host's (its menu, Alt+F4).
        return message == WM_SYSKEYDOWN ? ::DefWindowProcW(hwnd_, message, wParam, lParam) : 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        client_.OnKeyUp({static_cast<std::uint32_t>(wParam), KeyboardModifiers(), false});
        return message == WM_SYSKEYUP ? ::DefWindowProcW(hwnd_, message, wParam, lParam) : 0;
    case WM_CHAR:
        CharTyped(static_cast<wchar_t>(wParam));
        return 0;
    case WM_GETDLGCODE:
        // Hosts that run dialog navigation must still let arrows, Tab and Enter reach us.
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case WM_SETFOCUS:
        client_.OnFocusChanged(true);
        return 0;
    case WM_KILLFOCUS:
        client_.OnFocusChanged(false);
        return 0;
    case WM_TIMER:
        for (const auto& [id, event] : timers_) {
            if (event == wParam) {
                client_.OnTimer(id);
                break;
            }
        }
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ShowCursorShape();
            return TRUE;
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

// EndPaint must follow BeginPaint also when the client throws.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
    ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    [[nodiscard]] HDC Dc() const { return dc_; }
    [[nodiscard]] Rect Area() const {
        return {static_cast<int>(ps_.rcPaint.left), static_cast<int>(ps_.rcPaint.top),
                static_cast<int>(ps_.rcPaint.right), static_cast<int>(ps_.rcPaint.bottom)};
    }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

void Win32Window::Paint() {
    PaintScope paint(hwnd_);
    const Rect area = paint.Area().Intersect({0, 0, width_, height_});
    if (paint.Dc() == nullptr || area.IsEmpty()) {
        return;
    }
    client_.OnPaint(area);
    Blit(paint.Dc(), area);
}

void Win32Window::Blit(HDC dc, const Rect& area) {
    const gui::Image& surface = client_.Surface();
    const Rect copy = area.Intersect(surface.Bounds());
    if (copy.IsEmpty()) {
        return;
    }
    // The rows of the area as a DIB of their own: top-down, source y 0, whatever the
    // driver makes of y for partial top-down sources. The canvas pixel is the DIB's BGRA;
    // the unused high byte is ignored, so premultiplied colour shows over black.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = surface.Width();
    info.bmiHeader.biHeight = -copy.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::StretchDIBits(dc, copy.left, copy.top, copy.Width(), copy.Height(), copy.left, 0,
                    copy.Width(), copy.Height(), surface.Row(copy.top), &info, DIB_RGB_COLORS,
                    SRCCOPY);
}

void Win32Window::ButtonEvent(MouseButton button, bool down, bool doubleClick, WPARAM wParam,
                              LPARAM lParam) {
    const MouseEvent event{PointFromLParam(lParam), button, MouseModifiers(wParam), doubleClick};
    if (down) {
        client_.OnMouseDown(event);
    } else {
        client_.OnMouseUp(event);
    }
}

void Win32Window::MouseMoved(WPARAM wParam, LPARAM lParam) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd_;
        trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
    }
    // Windows repeats WM_MOUSEMOVE without a move (after cursor or window changes).
    const Point pos = PointFromLParam(lParam);
    if (lastMove_ == pos) {
        return;
    }
    lastMove_ = pos;
    client_.OnMouseMove(pos, MouseModifiers(wParam));
}

void Win32Window::CharTyped(wchar_t unit) {
    const auto u = static_cast<char32_t>(unit);
    if (u >= 0xD800 && u <= 0xDBFF) {
        pendingHighSurrogate_ = unit;
        return;
    }
    if (u >= 0xDC00 && u <= 0xDFFF) {
        const auto high = static_cast<char32_t>(pendingHighSurrogate_);
        pendingHighSurrogate_ = 0;
        if (high != 0) {
            client_.OnChar(0x10000 + ((high - 0xD800) << 10) + (u - 0xDC00));
        }
        return; // a lone low surrogate is dropped
    }
    pendingHighSurrogate_ = 0;
    client_.OnChar(u);
}

void Win32Window::Invalidate(const Rect& area) {
    const Rect r = area.Intersect({0, 0, width_, height_});
    if (hwnd_ == nullptr || r.IsEmpty()) {
        return;
    }
    const RECT rect{r.left, r.top, r.right, r.bottom};
    ::InvalidateRect(hwnd_, &rect, FALSE);
}

void Win32Window::PumpEvents() {
    if (hwnd_ != nullptr) {
        ::UpdateWindow(hwnd_);
    }
}

void Win32Window::SetTimer(int id, int intervalMs) {
    if (hwnd_ == nullptr) {
        return;
    }
    auto it = std::find_if(timers_.begin(), timers_.end(),
                           [id](const auto& timer) { return timer.first == id; });
    if (it == timers_.end()) {
        timers_.emplace_back(id, nextTimerEvent_++);
        it = std::prev(timers_.end());
    }
    // Windows raises intervals below USER_TIMER_MINIMUM (10 ms) itself.
    ::SetTimer(hwnd_, it->second, static_cast<UINT>(std::max(intervalMs, 1)), nullptr);
}

void Win32Window::KillTimer(int id) {
    auto it = std::find_if(timers_.begin(), timers_.end(),
                           [id](const auto& timer) { return timer.first == id; });
    if (it == timers_.end()) {
        return;
    }
    if (hwnd_ != nullptr) {
        ::KillTimer(hwnd_, it->second);
    }
    timers_.erase(it);
}

bool Win32Window::PointerIsOurs() const {
    if (::GetCapture() == hwnd_) {
        return true;
    }
    POINT p{};
    return ::GetCursorPos(&p) != FALSE && ::WindowFromPoint(p) == hwnd_;
}

void Win32Window::ShowCursorShape() const {
    ::SetCursor(::LoadCursorW(nullptr, SystemCursorName(cursor_)));
}

void Win32Window::SetCursor(Cursor cursor) {
    cursor_ = cursor;
    if (hwnd_ != nullptr && PointerIsOurs()) {
        ShowCursorShape();
    }
}

void Win32Window::CaptureMouse() {
    if (hwnd_ != nullptr) {
        ::SetCapture(hwnd_);
    }
}

void Win32Window::ReleaseMouse() {
    if (hwnd_ != nullptr && ::GetCapture() == hwnd_) {
        ::ReleaseCapture();
    }
}

std::optional<Point> Win32Window::CursorPos() const {
    POINT p{};
    if (hwnd_ == nullptr || ::GetCursorPos(&p) == FALSE || ::ScreenToClient(hwnd_, &p) == FALSE) {
        return std::nullopt;
    }
    return Point{static_cast<int>(p.x), static_cast<int>(p.y)};
}

bool Win32Window::IsButtonDown(MouseButton button) const {
    int key = VK_LBUTTON;
    if (button == MouseButton::Right) {
        key = VK_RBUTTON;
    } else if (button == MouseButton::Middle) {
        key = VK_MBUTTON;
    }
    return ::GetKeyState(key) < 0;
}

void Win32Window::DiscardPendingMouseInput() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, kMouseFirst, kMouseLast, PM_REMOVE) != FALSE) {
    }
}

void Win32Window::Focus() {
    if (hwnd_ != nullptr) {
        ::SetFocus(hwnd_);
    }
}

bool Win32Window::HasFocus() const {
    return hwnd_ != nullptr && ::GetFocus() == hwnd_;
}

} // namespace

std::unique_ptr<IPlatformWindow> CreateChildWindow(void* parent, int width, int height,
                                                   IWindowClient& client) {
    if (parent == nullptr) {
        throw Error("No parent window");
    }
    return std::make_unique<Win32Window>(static_cast<HWND>(parent), width, height, client);
}

} // namespace ostinel::platform
