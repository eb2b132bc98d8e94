#pragma once
// Message helpers for tests that play the host's part on Windows.
#include "common/win32/WinApi.h"

namespace ostinel::test {

// A client position as a mouse message's lParam (signed, like GET_X_LPARAM expects).
inline LPARAM PackPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                      static_cast<WORD>(static_cast<short>(y)));
}

// One round of the host's message loop: dispatches what the thread's queue holds.
inline void DispatchPending() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

} // namespace ostinel::test
