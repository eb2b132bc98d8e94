#include "platform/x11/ErrorTrap.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace ostinel::platform::x11 {

namespace {

struct Trapped {
    Display* display;
    int depth;            // nested traps on this display
    unsigned long errors; // errors seen since the display was first trapped
};

struct TrapState {
    std::mutex mutex;
    std::vector<Trapped> displays;
    int installed = 0; // traps alive, all displays
    XErrorHandler previous = nullptr;
};

TrapState& State() {
    static TrapState state;
    return state;
}

int HandleError(Display* display, XErrorEvent* event) {
    TrapState& state = State();
    XErrorHandler previous = nullptr;
    {
        std::lock_guard lock(state.mutex);
        auto it = std::find_if(state.displays.begin(), state.displays.end(),
                               [display](const Trapped& t) { return t.display == display; });
        if (it != state.displays.end()) {
            ++it->errors;
            return 0;
        }
        previous = state.previous;
    }
    return previous != nullptr ? previous(display, event) : 0;
}

} // namespace

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
    TrapState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.installed++ == 0) {
        state.previous = XSetErrorHandler(HandleError);
    }
    auto it = std::find_if(state.displays.begin(), state.displays.end(),
                           [display](const Trapped& t) { return t.display == display; });
    if (it == state.displays.end()) {
        state.displays.push_back({display, 1, 0});
        errorsAtStart_ = 0;
    } else {
        ++it->depth;
        errorsAtStart_ = it->errors;
    }
}

ErrorTrap::~ErrorTrap() {
    TrapState& state = State();
    bool outermost = false;
    {
        std::lock_guard lock(state.mutex);
        auto it = std::find_if(state.displays.begin(), state.displays.end(),
                               [this](const Trapped& t) { return t.display == display_; });
        outermost = it != state.displays.end() && it->depth == 1;
    }
    if (outermost) {
        XSync(display_, False);
    }
    std::lock_guard lock(state.mutex);
    auto it = std::find_if(state.displays.begin(), state.displays.end(),
                           [this](const Trapped& t) { return t.display == display_; });
    if (it != state.displays.end() && --it->depth == 0) {
        state.displays.erase(it);
    }
    if (--state.installed == 0) {
        // Someone may have installed a handler of their own meanwhile; leave theirs in place.
        XErrorHandler current = XSetErrorHandler(state.previous);
        if (current != HandleError) {
            XSetErrorHandler(current);
        }
        state.previous = nullptr;
    }
}

bool ErrorTrap::Failed() {
    XSync(display_, False);
    TrapState& state = State();
    std::lock_guard lock(state.mutex);
    auto it = std::find_if(state.displays.begin(), state.displays.end(),
                           [this](const Trapped& t) { return t.display == display_; });
    return it != state.displays.end() && it->errors != errorsAtStart_;
}

} // namespace ostinel::platform::x11
