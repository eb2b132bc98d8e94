#pragma once
// The X connection of tests that play the host's part on X11.
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

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

} // namespace ostinel::test
