// A top-level window on Win32 for a program that hosts an editor itself. Its PumpEvents() is
// the thread's message loop (PeekMessage, so it never blocks): the child windows inside it, the
// plug-in's editor among them, get their messages through it.
//
// Shortcuts are taken out of the loop before dispatch: a key press for this window or any
// window inside it that matches one goes to the client and never reaches the focused child, so
// Ctrl+S works whatever the plug-in's editor does with keys. WM_CLOSE goes to the client, which
// decides whether the window goes.
#include "common/Error.h"
#include "common/Utf.h"
#include "platform/Window.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ostinel::platform {

namespace win32 {
namespace {

constexpr wchar_t kClassName[] = L"OstinelTopLevelWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

bool KeyHeld(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

class Win32TopLevel final : public ITopLevelWindow {
public:
    Win32TopLevel(const std::string& title, int width, int height, ITopLevelClient& client);
    ~Win32TopLevel() override;
    Win32TopLevel(const Win32TopLevel&) = delete;
    Win32TopLevel& operator=(const Win32TopLevel&) = delete;

    [[nodiscard]] void* NativeHandle() const override { return hwnd_; }
    [[nodiscard]] int ClientWidth() const override { return width_; }
    [[nodiscard]] int ClientHeight() const override { return height_; }
    void SetClientSize(int width, int height) override;
    void SetTitle(const std::string& utf8) override;
    [[nodiscard]] const std::string& Title() const override { return title_; }
    [[nodiscard]] bool Destroyed() const override { return hwnd_ == nullptr; }
    void Show() override;
    void PlaceChild(void* child, const Rect& bounds) override;
    void AddShortcut(int id, std::uint32_t key, Modifiers mods) override;
    void PumpEvents() override;
    void WaitForEvents(int maxMs) override;

private:
    struct Shortcut {
        int id;
        std::uint32_t key;
        Modifiers mods;
    };
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] bool IsOurs(HWND hwnd) const {
        return hwnd_ != nullptr && (hwnd == hwnd_ || ::IsChild(hwnd_, hwnd) != FALSE);
    }
    [[nodiscard]] bool TakeShortcut(const MSG& msg);

    ITopLevelClient& client_;
    HWND hwnd_ = nullptr;
    int width_;
    int height_;
    std::string title_;
    std::vector<Shortcut> shortcuts_;
};

void RegisterClassOnce(WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    if (::RegisterClassExW(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw Error("Cannot register the window class");
    }
}

SIZE OuterSize(int width, int height) {
    RECT r{0, 0, width, height};
    ::AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    return {r.right - r.left, r.bottom - r.top};
}

Win32TopLevel::Win32TopLevel(const std::string& title, int width, int height,
                             ITopLevelClient& client)
    : client_(client), width_(width), height_(height), title_(title) {
    if (width < 1 || height < 1 || width > 16384 || height > 16384) {
        throw Error("Invalid window size " + std::to_string(width) + " x " +
                    std::to_string(height));
    }
    RegisterClassOnce(&Win32TopLevel::WindowProc);
    const SIZE outer = OuterSize(width, height);
    ::CreateWindowExW(0, kClassName, Utf8ToWide(title).c_str(), kStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, outer.cx, outer.cy, nullptr, nullptr,
                      ::GetModuleHandleW(nullptr), this);
    if (hwnd_ == nullptr) {
        throw Error("Cannot create the window (error " + std::to_string(::GetLastError()) + ")");
    }
}

Win32TopLevel::~Win32TopLevel() {
    if (hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_); // WM_NCDESTROY detaches us
    }
}

LRESULT CALLBACK Win32TopLevel::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // The object rides along in the creation parameters; from here on the window knows it.
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* created = static_cast<Win32TopLevel*>(create->lpCreateParams);
        created->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<Win32TopLevel*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_CLOSE:
        if (self != nullptr) {
            self->client_.OnCloseRequest();
        }
        return 0;
    case WM_NCDESTROY:
        if (self != nullptr) {
            self->hwnd_ = nullptr;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32TopLevel::SetClientSize(int width, int height) {
    if (hwnd_ == nullptr || width < 1 || height < 1) {
        return;
    }
    width_ = width;
    height_ = height;
    const SIZE outer = OuterSize(width, height);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32TopLevel::SetTitle(const std::string& utf8) {
    title_ = utf8;
    if (hwnd_ != nullptr) {
        ::SetWindowTextW(hwnd_, Utf8ToWide(utf8).c_str());
    }
}

void Win32TopLevel::Show() {
    if (hwnd_ != nullptr) {
        ::ShowWindow(hwnd_, SW_SHOWNORMAL);
        ::UpdateWindow(hwnd_);
        ::SetForegroundWindow(hwnd_);
    }
}

void Win32TopLevel::PlaceChild(void* child, const Rect& bounds) {
    auto* hwnd = static_cast<HWND>(child);
    if (hwnd == nullptr || !IsOurs(hwnd) || bounds.IsEmpty()) {
        return;
    }
    ::SetWindowPos(hwnd, HWND_TOP, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                   SWP_NOACTIVATE);
}

void Win32TopLevel::AddShortcut(int id, std::uint32_t key, Modifiers mods) {
    shortcuts_.push_back({id, key, mods});
}

bool Win32TopLevel::TakeShortcut(const MSG& msg) {
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || !IsOurs(msg.hwnd)) {
        return false;
    }
    const Modifiers held{KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL), KeyHeld(VK_MENU)};
    for (const Shortcut& s : shortcuts_) {
        if (s.key == static_cast<std::uint32_t>(msg.wParam) && s.mods == held) {
            // A held key repeats: one shortcut per press.
            if ((msg.lParam & (LPARAM{1} << 30)) == 0) {
                client_.OnShortcut(s.id);
            }
            return true;
        }
    }
    return false;
}

void Win32TopLevel::PumpEvents() {
    MSG msg;
    for (int budget = 1000; budget > 0 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != 0;
         --budget) {
        if (msg.message == WM_QUIT) {
            // Not ours to end the loop: hand the close to the client instead.
            client_.OnCloseRequest();
            continue;
        }
        if (TakeShortcut(msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void Win32TopLevel::WaitForEvents(int maxMs) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(maxMs < 0 ? 0 : maxMs),
                                  QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

} // namespace
} // namespace win32

std::unique_ptr<ITopLevelWindow> CreateTopLevelWindow(const std::string& title, int width,
                                                      int height, ITopLevelClient& client) {
    return std::make_unique<win32::Win32TopLevel>(title, width, height, client);
}

} // namespace ostinel::platform
