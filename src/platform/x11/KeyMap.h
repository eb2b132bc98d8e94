#pragma once
// X11 keys as the toolkit sees them: Win32 virtual-key numbers for key events and the
// characters a Win32 window would get as WM_CHAR, so one key table serves every platform.
// Pure functions of keysyms; no display needed.
#include "platform/Input.h"

#include <cstdint>

namespace ostinel::platform::x11 {

// `keysym` is the key's symbol with the modifiers applied (XLookupString), `baseKeysym` the
// symbol of its first level (XLookupKeysym(event, 0)), which names the key itself: Shift+1 is
// still the "1" key. 0 when the key has no virtual-key number.
[[nodiscard]] std::uint32_t VirtualKeyFromKeysym(unsigned long keysym, unsigned long baseKeysym);

// The character a key press types, or 0 for none. Like Win32: Backspace, Tab, Enter and
// Escape type their control characters, Ctrl+letter types 1..26, and nothing is typed while
// Alt is held (those are menu keys).
[[nodiscard]] char32_t CharFromKeysym(unsigned long keysym, Modifiers mods);

} // namespace ostinel::platform::x11
