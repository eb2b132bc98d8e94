// A top-level window on X11 for a program that hosts an editor itself. Like the child window
// it has a Display connection of its own; the child windows inside it (the plug-in's editor,
// our own dialogs) keep theirs and are pumped by their owners.
//
// Shortcuts are passive key grabs on this window: while the focus is in it or in any window
// inside it, the key press comes to this connection instead of the focused child, so Ctrl+S
// reaches us whatever the plug-in's editor does with keys. A close from the window manager
// arrives as the WM_DELETE_WINDOW client message.
#include "common/Error.h"
#include "platform/Window.h"
#include "platform/x11/ErrorTrap.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace ostinel::platform {

namespace x11 {
namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// The keysym of a virtual-key code a shortcut may use: letters and digits.
KeySym KeysymOf(std::uint32_t key) {
    if (key >= Key::LetterA && key < Key::LetterA + 26) {
        return XK_a + (key - Key::LetterA);
    }
    if (key >= Key::Digit0 && key < Key::Digit0 + 10) {
        return XK_0 + (key - Key::Digit0);
    }
    throw Error("A shortcut needs a letter or a digit key");
}

unsigned MaskOf(Modifiers mods) {
    return (mods.ctrl ? ControlMask : 0u) | (mods.shift ? ShiftMask : 0u) |
           (mods.alt ? Mod1Mask : 0u);
}

class X11TopLevel final : public ITopLevelWindow {
public:
    X11TopLevel(const std::string& title, int width, int height, ITopLevelClient& client);
    ~X11TopLevel() override;
    X11TopLevel(const X11TopLevel&) = delete;
    X11TopLevel& operator=(const X11TopLevel&) = delete;

    [[nodiscard]] void* NativeHandle() const override {
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window_));
    }
    [[nodiscard]] int ClientWidth() const override { return width_; }
    [[nodiscard]] int ClientHeight() const override { return height_; }
    void SetClientSize(int width, int height) override;
    void SetTitle(const std::string& utf8) override;
    [[nodiscard]] const std::string& Title() const override { return title_; }
    [[nodiscard]] bool Destroyed() const override { return !alive_; }
    void Show() override;
    void PlaceChild(void* child, const Rect& bounds) override;
    void AddShortcut(int id, std::uint32_t key, Modifiers mods) override;
    void PumpEvents() override;
    void WaitForEvents(int maxMs) override;

private:
    struct Shortcut {
        int id;
        KeyCode code;
        unsigned mask;
    };
    [[nodiscard]] Display* Dpy() const { return display_.get(); }
    void FixSize();
    void KeyPressed(const XKeyEvent& e);

    std::unique_ptr<Display, DisplayCloser> display_;
    ITopLevelClient& client_;
    ::Window window_ = 0;
    bool alive_ = false;
    Atom protocols_ = 0;
    Atom deleteWindow_ = 0;
    int width_;
    int height_;
    std::string title_;
    std::vector<Shortcut> shortcuts_;
};

X11TopLevel::X11TopLevel(const std::string& title, int width, int height, ITopLevelClient& client)
    : display_(XOpenDisplay(nullptr)), client_(client), width_(width), height_(height) {
    if (width < 1 || height < 1 || width > 16384 || height > 16384) {
        throw Error("Invalid window size " + std::to_string(width) + " x " +
                    std::to_string(height));
    }
    if (!display_) {
        const char* name = std::getenv("DISPLAY");
        throw Error(name == nullptr || *name == '\0'
                        ? std::string("cannot open display (DISPLAY is not set)")
                        : "cannot open display \"" + std::string(name) + "\"");
    }
    Display* dpy = Dpy();
    ErrorTrap trap(dpy);
    const int screen = DefaultScreen(dpy);
    window_ = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), 0, BlackPixel(dpy, screen),
                                  BlackPixel(dpy, screen));
    if (window_ == 0 || trap.Failed()) {
        throw Error("Cannot create a window on the X display");
    }
    alive_ = true;
    XSelectInput(dpy, window_, StructureNotifyMask | KeyPressMask | KeyReleaseMask);
    protocols_ = XInternAtom(dpy, "WM_PROTOCOLS", False);
    deleteWindow_ = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(dpy, window_, &deleteWindow_, 1);
    XClassHint hint{};
    std::string name = "ostinel";
    std::string className = "Ostinel";
    hint.res_name = name.data();
    hint.res_class = className.data();
    XSetClassHint(dpy, window_, &hint);
    FixSize();
    SetTitle(title);
}

X11TopLevel::~X11TopLevel() {
    Display* dpy = Dpy();
    ErrorTrap trap(dpy);
    if (alive_) {
        XDestroyWindow(dpy, window_);
    }
}

// The editor has one size: the window manager is told not to offer resizing.
void X11TopLevel::FixSize() {
    XSizeHints* hints = XAllocSizeHints();
    if (hints == nullptr) {
        return;
    }
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width_;
    hints->min_height = hints->max_height = height_;
    XSetWMNormalHints(Dpy(), window_, hints);
    XFree(hints);
}

void X11TopLevel::SetClientSize(int width, int height) {
    if (width < 1 || height < 1 || !alive_) {
        return;
    }
    ErrorTrap trap(Dpy());
    width_ = width;
    height_ = height;
    FixSize();
    XResizeWindow(Dpy(), window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFlush(Dpy());
}

void X11TopLevel::SetTitle(const std::string& utf8) {
    title_ = utf8;
    if (!alive_) {
        return;
    }
    Display* dpy = Dpy();
    ErrorTrap trap(dpy);
    // _NET_WM_NAME carries UTF-8 for current window managers; WM_NAME for the others.
    const Atom utf8String = XInternAtom(dpy, "UTF8_STRING", False);
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const int length = static_cast<int>(utf8.size());
    XChangeProperty(dpy, window_, XInternAtom(dpy, "_NET_WM_NAME", False), utf8String, 8,
                    PropModeReplace, bytes, length);
    XChangeProperty(dpy, window_, XA_WM_NAME, XA_STRING, 8, PropModeReplace, bytes, length);
    XFlush(dpy);
}

void X11TopLevel::Show() {
    if (!alive_) {
        return;
    }
    ErrorTrap trap(Dpy());
    XMapRaised(Dpy(), window_);
    XFlush(Dpy());
}

void X11TopLevel::PlaceChild(void* child, const Rect& bounds) {
    if (child == nullptr || !alive_ || bounds.IsEmpty()) {
        return;
    }
    const auto xid = static_cast<::Window>(reinterpret_cast<std::uintptr_t>(child));
    ErrorTrap trap(Dpy());
    XMoveResizeWindow(Dpy(), xid, bounds.left, bounds.top, static_cast<unsigned>(bounds.Width()),
                      static_cast<unsigned>(bounds.Height()));
    XRaiseWindow(Dpy(), xid);
    XFlush(Dpy());
}

void X11TopLevel::AddShortcut(int id, std::uint32_t key, Modifiers mods) {
    Display* dpy = Dpy();
    ErrorTrap trap(dpy);
    const KeyCode code = XKeysymToKeycode(dpy, KeysymOf(key));
    if (code == 0) {
        return; // the keyboard has no such key
    }
    const unsigned mask = MaskOf(mods);
    shortcuts_.push_back({id, code, mask});
    // Caps Lock and Num Lock (usually Mod2) must not make the shortcut fail.
    for (const unsigned locks :
         {0u, unsigned{LockMask}, unsigned{Mod2Mask}, unsigned{LockMask | Mod2Mask}}) {
        XGrabKey(dpy, code, mask | locks, window_, False, GrabModeAsync, GrabModeAsync);
    }
    XFlush(dpy);
}

void X11TopLevel::KeyPressed(const XKeyEvent& e) {
    constexpr unsigned kRelevant = ControlMask | ShiftMask | Mod1Mask;
    for (const Shortcut& s : shortcuts_) {
        if (s.code == e.keycode && (e.state & kRelevant) == s.mask) {
            client_.OnShortcut(s.id);
            return;
        }
    }
}

void X11TopLevel::PumpEvents() {
    Display* dpy = Dpy();
    ErrorTrap trap(dpy);
    for (int budget = 1000; budget > 0 && XPending(dpy) > 0; --budget) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            continue;
        }
        if (event.xany.window != window_) {
            continue;
        }
        switch (event.type) {
        case ClientMessage:
            if (event.xclient.message_type == protocols_ && event.xclient.format == 32 &&
                static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_) {
                client_.OnCloseRequest();
            }
            break;
        case KeyPress:
            KeyPressed(event.xkey);
            break;
        case DestroyNotify:
            // Destroyed by someone else (xkill and the like): nothing is left to show.
            alive_ = false;
            break;
        default:
            break;
        }
    }
    XFlush(dpy);
}

void X11TopLevel::WaitForEvents(int maxMs) {
    Display* dpy = Dpy();
    if (XPending(dpy) > 0) {
        return;
    }
    pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
    (void)poll(&fd, 1, maxMs < 0 ? 0 : maxMs);
}

} // namespace
} // namespace x11

std::unique_ptr<ITopLevelWindow> CreateTopLevelWindow(const std::string& title, int width,
                                                      int height, ITopLevelClient& client) {
    return std::make_unique<x11::X11TopLevel>(title, width, height, client);
}

} // namespace ostinel::platform
