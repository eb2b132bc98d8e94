#pragma once
// The X connection of tests that play the host's part on X11.
#include <X11/Xlib.h>

#include <chrono>
#include <thread>
#include <vector>

namespace ostinel::test {

// A server whose last client left resets itself (unless started with -noreset) and refuses
// connections for a moment, which is just when the next test connects: retry for a while.
inline Display* OpenTestDisplay() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        if (std::chrono::steady_clock::now() > deadline)
            return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// The direct children of `window`, after the server has seen every request so far.
inline std::vector<::Window> ChildWindows(Display* display, ::Window window) {
    XSync(display, False);
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    std::vector<::Window> out;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0)
        out.assign(children, children + count);
    if (children != nullptr)
        XFree(children);
    return out;
}

// What a window manager sends when the user closes `window`.
inline void SendCloseRequest(Display* display, ::Window window) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &e);
    XSync(display, False);
}

} // namespace ostinel::test
