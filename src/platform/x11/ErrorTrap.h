#pragma once
// Catches X protocol errors on our own Display connections. Xlib reports errors through one
// process-wide handler, and its default handler ends the process; a plug-in must survive a
// host that destroys its window before closing the editor (our child is then gone and every
// request on it fails). While a trap exists our handler is installed: errors on displays
// that have a trap are counted, errors on any other display (the host's) go on to the handler
// that was installed before. The outermost trap of a display synchronises on destruction, so
// errors of the requests made under it arrive while it is still installed.
//
// Every Xlib call on one of our displays happens under a trap. GUI thread; the handler
// itself may run on any thread.
#include <X11/Xlib.h>

namespace ostinel::platform::x11 {

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Synchronises with the server and tells whether an error on this display arrived since
    // the trap was set up.
    [[nodiscard]] bool Failed();

private:
    Display* display_;
    unsigned long errorsAtStart_;
};

} // namespace ostinel::platform::x11
