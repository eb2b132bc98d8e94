// The editor's window on X11: a child of the host's window, on a Display connection of its
// own so that it never competes with the host's event loop. The host gives us no loop, so
// everything happens in PumpEvents(), which the editor calls from the host's idle calls:
// drain what the server sent (without blocking), run due timers against the monotonic clock,
// repaint what was exposed or invalidated and blit it with XPutImage.
//
// Hosts that forward events through an _XEventProc property are not served: the window's
// events arrive on our own connection, where nobody else reads them.
#include "common/Error.h"
#include "platform/TimerList.h"
#include "platform/Window.h"
#include "platform/x11/ErrorTrap.h"
#include "platform/x11/KeyMap.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace ostinel::platform {

namespace x11 {
namespace {

// Win32's defaults, so that a double click feels the same in every host.
constexpr std::uint32_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 2;
// A flood of events (a wild pointer) must not keep the host's idle call busy.
constexpr int kMaxEventsPerPump = 4000;

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                            FocusChangeMask | StructureNotifyMask;

std::int64_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

Modifiers ModifiersOf(unsigned state) {
    return {(state & ShiftMask) != 0, (state & ControlMask) != 0, (state & Mod1Mask) != 0};
}

std::string Hex(unsigned long value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "0x" + text;
}

unsigned FontCursorShape(Cursor cursor) {
    switch (cursor) {
    case Cursor::Hand:
        return XC_hand2;
    case Cursor::IBeam:
        return XC_xterm;
    case Cursor::SizeNS:
        return XC_sb_v_double_arrow;
    case Cursor::SizeWE:
        return XC_sb_h_double_arrow;
    case Cursor::SizeAll:
        return XC_fleur;
    case Cursor::Cross:
        return XC_crosshair;
    case Cursor::Arrow:
        break;
    }
    return XC_left_ptr;
}

// Where a TrueColor visual keeps its channels. The usual layout (0xRRGGBB in a 32-bit word)
// is the canvas pixel itself; anything else is converted channel by channel.
class PixelFormat {
public:
    explicit PixelFormat(const Visual* visual)
        : red_(visual->red_mask), green_(visual->green_mask), blue_(visual->blue_mask),
          usual_(red_.mask == 0xFF0000 && green_.mask == 0xFF00 && blue_.mask == 0xFF) {}

    // Premultiplied colour shown over black: the alpha byte is simply not used.
    [[nodiscard]] unsigned long Convert(gui::Pixel p) const {
        if (usual_) {
            return p & 0xFFFFFFu;
        }
        return red_.Place(p >> 16) | green_.Place(p >> 8) | blue_.Place(p);
    }
    [[nodiscard]] unsigned long RedMask() const { return red_.mask; }
    [[nodiscard]] unsigned long GreenMask() const { return green_.mask; }
    [[nodiscard]] unsigned long BlueMask() const { return blue_.mask; }

private:
    struct Channel {
        explicit Channel(unsigned long m)
            : mask(m), shift(m == 0 ? 0 : std::countr_zero(m)),
              bits(std::min(std::popcount(m), 8)) {}
        [[nodiscard]] unsigned long Place(std::uint32_t value) const {
            return (static_cast<unsigned long>((value & 0xFFu) >> (8 - bits)) << shift) & mask;
        }
        unsigned long mask;
        int shift;
        int bits;
    };
    Channel red_;
    Channel green_;
    Channel blue_;
    bool usual_;
};

Bool IsMouseEventOf(Display* /*display*/, XEvent* event, XPointer window) {
    const bool mouse =
        event->type == ButtonPress || event->type == ButtonRelease || event->type == MotionNotify;
    return mouse && event->xany.window == *reinterpret_cast<::Window*>(window) ? True : False;
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

class X11Window final : public IPlatformWindow {
public:
    X11Window(::Window parent, int width, int height, IWindowClient& client);
    ~X11Window() override;
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    [[nodiscard]] int ClientWidth() const override { return width_; }
    [[nodiscard]] int ClientHeight() const override { return height_; }
    [[nodiscard]] void* NativeHandle() const override {
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window_));
    }
    void Invalidate(const Rect& area) override { dirty_ = dirty_.Union(area.Intersect(Bounds())); }
    void PumpEvents() override;
    void SetTimer(int id, int intervalMs) override { timers_.Set(id, intervalMs, MonotonicMs()); }
    void KillTimer(int id) override { timers_.Kill(id); }
    void SetCursor(Cursor cursor) override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    [[nodiscard]] std::optional<Point> CursorPos() const override;
    [[nodiscard]] bool IsButtonDown(MouseButton button) const override;
    struct PointerState {
        Point pos;
        unsigned mask = 0;
    };
    // Pointer position in client coordinates and button state; nullopt when it cannot be read.
    [[nodiscard]] std::optional<PointerState> QueryPointer() const;
    void DiscardPendingMouseInput() override;
    void Focus() override;
    [[nodiscard]] bool HasFocus() const override { return focused_; }

private:
    [[nodiscard]] Display* Dpy() const { return display_.get(); }
    [[nodiscard]] Rect Bounds() const { return {0, 0, width_, height_}; }
    void Dispatch(XEvent& event);
    void ButtonPressed(const XButtonEvent& event);
    void KeyPressed(XKeyEvent& event);
    void KeyReleased(XKeyEvent& event);
    void FocusEvent(const XFocusChangeEvent& event);
    void SetFocused(bool focused);
    [[nodiscard]] bool FocusIsInOurToplevel() const;
    void RunTimers();
    void PaintPending();
    void Blit(const Rect& area);
    [[nodiscard]] ::Cursor XCursor(Cursor shape);

    // Declared first, so that it closes last: everything below lives on this connection.
    std::unique_ptr<Display, DisplayCloser> display_;
    IWindowClient& client_;
    ::Window window_ = 0;
    // False once the server destroyed the window (the host destroyed its own first).
    bool alive_ = false;
    Visual* visual_ = nullptr;
    int depth_ = 24;
    int bitsPerPixel_ = 32;
    Colormap ownColormap_ = 0;
    GC gc_ = nullptr;
    std::unique_ptr<PixelFormat> format_;
    std::vector<std::uint32_t> blitBuffer_;
    int width_;
    int height_;
    Rect dirty_;
    TimerList timers_;
    std::array<::Cursor, 7> cursors_{};
    Cursor shape_ = Cursor::Arrow;
    bool captured_ = false;
    bool focused_ = false;
    std::vector<unsigned> keysDown_;
    struct Press {
        unsigned button = 0;
        Time time = 0;
        int x = 0;
        int y = 0;
        bool wasDouble = false;
    } lastPress_;
};

X11Window::X11Window(::Window parent, int width, int height, IWindowClient& client)
    : display_(XOpenDisplay(nullptr)), client_(client), width_(width), height_(height) {
    if (width < 1 || height < 1 || width > gui::Image::kMaxSide || height > gui::Image::kMaxSide) {
        throw Error("Invalid window size " + std::to_string(width) + " x " +
                    std::to_string(height));
    }
    if (!display_) {
        throw Error("Cannot open the X display");
    }
    Display* dpy = Dpy();
    ErrorTrap trap(dpy);

    XWindowAttributes parentAttributes{};
    if (XGetWindowAttributes(dpy, parent, &parentAttributes) == 0 || trap.Failed()) {
        throw Error("The host's window " + Hex(parent) + " does not exist");
    }
    const int screen = XScreenNumberOfScreen(parentAttributes.screen);
    // A 24-bit TrueColor visual takes the canvas pixels as they are. Servers without one
    // (16-bit screens) get the parent's own visual when that is TrueColor, converted.
    XVisualInfo visualInfo{};
    if (XMatchVisualInfo(dpy, screen, 24, TrueColor, &visualInfo) != 0) {
        visual_ = visualInfo.visual;
        depth_ = visualInfo.depth;
    } else if (parentAttributes.visual->c_class == TrueColor) {
        visual_ = parentAttributes.visual;
        depth_ = parentAttributes.depth;
    } else {
        throw Error("The X server offers no TrueColor visual");
    }
    format_ = std::make_unique<PixelFormat>(visual_);
    int formatCount = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(dpy, &formatCount)) {
        for (int i = 0; i < formatCount; ++i) {
            if (formats[i].depth == depth_) {
                bitsPerPixel_ = formats[i].bits_per_pixel;
            }
        }
        XFree(formats);
    }

    XSetWindowAttributes attributes{};
    // No background: the server leaves exposed areas alone until we paint them, no flicker.
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.event_mask = kEventMask;
    attributes.bit_gravity = NorthWestGravity;
    unsigned long valueMask = CWBackPixmap | CWBorderPixel | CWEventMask | CWBitGravity;
    if (visual_ != parentAttributes.visual) {
        ownColormap_ = XCreateColormap(dpy, RootWindow(dpy, screen), visual_, AllocNone);
        attributes.colormap = ownColormap_;
        valueMask |= CWColormap;
    }
    window_ = XCreateWindow(dpy, parent, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, depth_, InputOutput, visual_,
                            valueMask, &attributes);
    // Holding a key then repeats presses only, without the release between them.
    XkbSetDetectableAutoRepeat(dpy, True, nullptr);
    gc_ = XCreateGC(dpy, window_, 0, nullptr);
    XMapWindow(dpy, window_);
    if (window_ == 0 || trap.Failed()) {
        throw Error("Cannot create the editor window in the host's window " + Hex(parent));
    }
    alive_ = true;
    dirty_ = Bounds();
}

X11Window::~X11Window() {
    Display* dpy = Dpy();
    ErrorTrap trap(dpy);
    if (captured_) {
        XUngrabPointer(dpy, CurrentTime);
    }
    if (alive_) {
        XDestroyWindow(dpy, window_);
    }
    for (::Cursor cursor : cursors_) {
        if (cursor != 0) {
            XFreeCursor(dpy, cursor);
        }
    }
    if (gc_ != nullptr) {
        XFreeGC(dpy, gc_);
    }
    if (ownColormap_ != 0) {
        XFreeColormap(dpy, ownColormap_);
    }
}

void X11Window::PumpEvents() {
    Display* dpy = Dpy();
    ErrorTrap trap(dpy);
    // XPending reads what has arrived without waiting for more.
    for (int budget = kMaxEventsPerPump; budget > 0 && XPending(dpy) > 0; --budget) {
        XEvent event;
        XNextEvent(dpy, &event);
        Dispatch(event);
    }
    RunTimers();
    PaintPending();
    XFlush(dpy);
}

void X11Window::Dispatch(XEvent& event) {
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        return;
    }
    if (event.xany.window != window_) {
        return;
    }
    switch (event.type) {
    case Expose: {
        const XExposeEvent& e = event.xexpose;
        Invalidate(Rect::FromSize(e.x, e.y, e.width, e.height));
        break;
    }
    case ButtonPress:
        ButtonPressed(event.xbutton);
        break;
    case ButtonRelease: {
        const XButtonEvent& e = event.xbutton;
        if (e.button >= Button1 && e.button <= Button3) {
            const MouseButton button = e.button == Button1   ? MouseButton::Left
                                       : e.button == Button2 ? MouseButton::Middle
                                                             : MouseButton::Right;
            client_.OnMouseUp({{e.x, e.y}, button, ModifiersOf(e.state), false});
        }
        break;
    }
    case MotionNotify: {
        // Only the latest of a run of motions matters.
        if (XEventsQueued(Dpy(), QueuedAlready) > 0) {
            XEvent next;
            XPeekEvent(Dpy(), &next);
            if (next.type == MotionNotify && next.xany.window == window_) {
                break;
            }
        }
        const XMotionEvent& e = event.xmotion;
        client_.OnMouseMove({e.x, e.y}, ModifiersOf(e.state));
        break;
    }
    case LeaveNotify: {
        const XCrossingEvent& e = event.xcrossing;
        if (e.mode == NotifyNormal && e.detail != NotifyInferior) {
            client_.OnMouseLeave();
        }
        break;
    }
    case KeyPress:
        KeyPressed(event.xkey);
        break;
    case KeyRelease:
        KeyReleased(event.xkey);
        break;
    case FocusIn:
    case FocusOut:
        FocusEvent(event.xfocus);
        break;
    case ConfigureNotify: {
        const XConfigureEvent& e = event.xconfigure;
        if (e.width != width_ || e.height != height_) {
            width_ = e.width;
            height_ = e.height;
            dirty_ = Bounds();
        }
        break;
    }
    case DestroyNotify:
        alive_ = false;
        captured_ = false;
        break;
    default:
        break;
    }
}

void X11Window::ButtonPressed(const XButtonEvent& e) {
    const Point pos{e.x, e.y};
    const Modifiers mods = ModifiersOf(e.state);
    if (e.button == Button4 || e.button == Button5) {
        client_.OnMouseWheel({pos, e.button == Button4 ? 120 : -120, mods});
        return;
    }
    if (e.button > Button3) {
        return; // sideways wheel and extra buttons
    }
    // X has no double clicks: a second press of the same button soon after and close to the
    // first one is one, and the press after a double click starts over.
    const auto elapsed = static_cast<std::uint32_t>(e.time - lastPress_.time);
    const bool isDouble = !lastPress_.wasDouble && lastPress_.button == e.button &&
                          elapsed <= kDoubleClickMs &&
                          std::abs(e.x - lastPress_.x) <= kDoubleClickSlop &&
                          std::abs(e.y - lastPress_.y) <= kDoubleClickSlop;
    lastPress_ = {e.button, e.time, e.x, e.y, isDouble};
    const MouseButton button = e.button == Button1   ? MouseButton::Left
                               : e.button == Button2 ? MouseButton::Middle
                                                     : MouseButton::Right;
    client_.OnMouseDown({pos, button, mods, isDouble});
}

void X11Window::KeyPressed(XKeyEvent& e) {
    char text[16];
    KeySym keysym = NoSymbol;
    XLookupString(&e, text, sizeof text, &keysym, nullptr);
    const KeySym base = XLookupKeysym(&e, 0);
    const Modifiers mods = ModifiersOf(e.state);
    const bool repeat = std::find(keysDown_.begin(), keysDown_.end(), e.keycode) != keysDown_.end();
    if (!repeat) {
        keysDown_.push_back(e.keycode);
    }
    if (const std::uint32_t key = VirtualKeyFromKeysym(keysym, base)) {
        client_.OnKeyDown({key, mods, repeat});
    }
    if (const char32_t ch = CharFromKeysym(keysym, mods)) {
        client_.OnChar(ch);
    }
}

void X11Window::KeyReleased(XKeyEvent& e) {
    // Servers without detectable auto-repeat send a release and a press with one time stamp
    // for every repeat; the press then counts as a repeat.
    if (XEventsQueued(Dpy(), QueuedAfterReading) > 0) {
        XEvent next;
        XPeekEvent(Dpy(), &next);
        if (next.type == KeyPress && next.xkey.keycode == e.keycode && next.xkey.time == e.time) {
            return;
        }
    }
    std::erase(keysDown_, e.keycode);
    char text[16];
    KeySym keysym = NoSymbol;
    XLookupString(&e, text, sizeof text, &keysym, nullptr);
    if (const std::uint32_t key = VirtualKeyFromKeysym(keysym, XLookupKeysym(&e, 0))) {
        client_.OnKeyUp({key, ModifiersOf(e.state), false});
    }
}

void X11Window::FocusEvent(const XFocusChangeEvent& e) {
    // Keyboard grabs (menus, window switchers) come and go without moving the focus, and
    // "pointer" details describe the pointer-root mode, not this window.
    if (e.mode == NotifyGrab || e.mode == NotifyUngrab || e.detail == NotifyPointer ||
        e.detail == NotifyPointerRoot || e.detail == NotifyDetailNone) {
        return;
    }
    if (e.type == FocusOut && e.detail == NotifyInferior) {
        return;
    }
    SetFocused(e.type == FocusIn);
}

void X11Window::SetFocused(bool focused) {
    if (focused != focused_) {
        focused_ = focused;
        client_.OnFocusChanged(focused);
    }
}

// Like SetFocus on Windows, the editor may move the focus within the host's window but never
// take it from another application.
bool X11Window::FocusIsInOurToplevel() const {
    Display* dpy = Dpy();
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    if (focus == None || focus == PointerRoot) {
        return true;
    }
    auto parentOf = [dpy](::Window w, ::Window& root) -> ::Window {
        ::Window parent = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(dpy, w, &root, &parent, &children, &count) == 0) {
            return 0;
        }
        if (children != nullptr) {
            XFree(children);
        }
        return parent;
    };
    ::Window root = 0;
    ::Window toplevel = window_;
    for (::Window w = window_; w != 0;) {
        const ::Window parent = parentOf(w, root);
        if (parent == 0 || parent == root) {
            toplevel = w;
            break;
        }
        w = parent;
    }
    for (::Window w = focus; w != 0 && w != root; w = parentOf(w, root)) {
        if (w == toplevel) {
            return true;
        }
    }
    return false;
}

void X11Window::Focus() {
    if (!alive_) {
        return;
    }
    ErrorTrap trap(Dpy());
    if (!FocusIsInOurToplevel()) {
        return;
    }
    XSetInputFocus(Dpy(), window_, RevertToParent, CurrentTime);
    if (!trap.Failed()) {
        SetFocused(true);
    }
}

::Cursor X11Window::XCursor(Cursor shape) {
    ::Cursor& cursor = cursors_[static_cast<std::size_t>(shape)];
    if (cursor == 0) {
        cursor = XCreateFontCursor(Dpy(), FontCursorShape(shape));
    }
    return cursor;
}

void X11Window::SetCursor(Cursor cursor) {
    if (!alive_ || cursor == shape_) {
        return;
    }
    shape_ = cursor;
    ErrorTrap trap(Dpy());
    XDefineCursor(Dpy(), window_, XCursor(cursor));
    if (captured_) {
        XChangeActivePointerGrab(Dpy(), ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                 XCursor(cursor), CurrentTime);
    }
}

void X11Window::CaptureMouse() {
    if (!alive_ || captured_) {
        return;
    }
    ErrorTrap trap(Dpy());
    const int result =
        XGrabPointer(Dpy(), window_, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                     GrabModeAsync, GrabModeAsync, None, XCursor(shape_), CurrentTime);
    captured_ = result == GrabSuccess && !trap.Failed();
}

void X11Window::ReleaseMouse() {
    if (!captured_) {
        return;
    }
    captured_ = false;
    ErrorTrap trap(Dpy());
    XUngrabPointer(Dpy(), CurrentTime);
}

std::optional<X11Window::PointerState> X11Window::QueryPointer() const {
    if (!alive_) {
        return std::nullopt;
    }
    ErrorTrap trap(Dpy());
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0;
    int rootY = 0;
    PointerState state;
    if (XQueryPointer(Dpy(), window_, &root, &child, &rootX, &rootY, &state.pos.x, &state.pos.y,
                      &state.mask) == 0 ||
        trap.Failed()) {
        return std::nullopt;
    }
    return state;
}

std::optional<Point> X11Window::CursorPos() const {
    const std::optional<PointerState> state = QueryPointer();
    return state ? std::optional<Point>(state->pos) : std::nullopt;
}

bool X11Window::IsButtonDown(MouseButton button) const {
    const std::optional<PointerState> state = QueryPointer();
    if (!state) {
        return false;
    }
    const unsigned mask = state->mask;
    switch (button) {
    case MouseButton::Left:
        return (mask & Button1Mask) != 0;
    case MouseButton::Middle:
        return (mask & Button2Mask) != 0;
    case MouseButton::Right:
        return (mask & Button3Mask) != 0;
    }
    return false;
}

void X11Window::DiscardPendingMouseInput() {
    ErrorTrap trap(Dpy());
    XEventsQueued(Dpy(), QueuedAfterReading);
    XEvent event;
    while (XCheckIfEvent(Dpy(), &event, IsMouseEventOf, reinterpret_cast<XPointer>(&window_))) {
    }
}

void X11Window::RunTimers() {
    // A timer that fell behind fires once and then keeps its rhythm from now, like WM_TIMER.
    const std::int64_t now = MonotonicMs();
    while (const auto due = timers_.NextDue(now)) {
        timers_.Rearm(due->id, now + due->intervalMs);
        client_.OnTimer(due->id);
    }
}

void X11Window::PaintPending() {
    if (dirty_.IsEmpty() || !alive_) {
        return;
    }
    const Rect area = dirty_;
    dirty_ = {};
    client_.OnPaint(area);
    Blit(area);
}

void X11Window::Blit(const Rect& area) {
    const gui::Image& surface = client_.Surface();
    const Rect copy = area.Intersect(surface.Bounds()).Intersect(Bounds());
    if (copy.IsEmpty()) {
        return;
    }
    const int w = copy.Width();
    const int h = copy.Height();
    Display* dpy = Dpy();
    if (bitsPerPixel_ == 32) {
        blitBuffer_.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        std::uint32_t* out = blitBuffer_.data();
        for (int y = copy.top; y < copy.bottom; ++y) {
            const gui::Pixel* row = surface.Row(y);
            for (int x = copy.left; x < copy.right; ++x) {
                *out++ = static_cast<std::uint32_t>(format_->Convert(row[x]));
            }
        }
        XImage image{};
        image.width = w;
        image.height = h;
        image.format = ZPixmap;
        image.data = reinterpret_cast<char*>(blitBuffer_.data());
        image.byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
        image.bitmap_unit = 32;
        image.bitmap_bit_order = MSBFirst;
        image.bitmap_pad = 32;
        image.depth = depth_;
        image.bytes_per_line = w * 4;
        image.bits_per_pixel = 32;
        image.red_mask = format_->RedMask();
        image.green_mask = format_->GreenMask();
        image.blue_mask = format_->BlueMask();
        if (XInitImage(&image) != 0) {
            XPutImage(dpy, window_, gc_, &image, 0, 0, copy.left, copy.top,
                      static_cast<unsigned>(w), static_cast<unsigned>(h));
        }
        return;
    }
    // Rare servers pack depth 24 into 3 bytes: let Xlib place the pixels.
    XImage* image = XCreateImage(dpy, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(w), static_cast<unsigned>(h), 32, 0);
    if (image == nullptr) {
        return;
    }
    std::vector<char> data(static_cast<std::size_t>(image->bytes_per_line) *
                           static_cast<std::size_t>(h));
    image->data = data.data();
    for (int y = 0; y < h; ++y) {
        const gui::Pixel* row = surface.Row(copy.top + y);
        for (int x = 0; x < w; ++x) {
            XPutPixel(image, x, y, format_->Convert(row[copy.left + x]));
        }
    }
    XPutImage(dpy, window_, gc_, image, 0, 0, copy.left, copy.top, static_cast<unsigned>(w),
              static_cast<unsigned>(h));
    image->data = nullptr; // ours, not Xlib's to free
    XDestroyImage(image);
}

} // namespace
} // namespace x11

std::unique_ptr<IPlatformWindow> CreateChildWindow(void* parent, int width, int height,
                                                   IWindowClient& client) {
    if (parent == nullptr) {
        throw Error("No parent window");
    }
    const auto xid = static_cast<::Window>(reinterpret_cast<std::uintptr_t>(parent));
    return std::make_unique<x11::X11Window>(xid, width, height, client);
}

} // namespace ostinel::platform
