#pragma once
// Input events as every platform window delivers them, in client coordinates of 96-dpi design
// pixels. Key codes are the Win32 virtual-key numbers on every platform (X11 and headless map
// their keys onto them), so the toolkit has one key table.
#include "graphics/Geometry.h"

#include <cstdint>

namespace ostinel::platform {

using gui::Point;
using gui::Rect;

enum class MouseButton : std::uint8_t { Left, Right, Middle };

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    friend bool operator==(const Modifiers&, const Modifiers&) = default;
};

struct MouseEvent {
    Point pos;
    MouseButton button = MouseButton::Left;
    Modifiers mods;
    bool doubleClick = false;
};

struct WheelEvent {
    Point pos;
    int delta = 0; // 120 per notch; positive turns away from the user (scroll up)
    Modifiers mods;
};

struct KeyEvent {
    std::uint32_t key = 0; // virtual-key code, see Key
    Modifiers mods;
    bool repeat = false;
};

// The virtual-key codes the toolkit uses.
namespace Key {
inline constexpr std::uint32_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11,
                               Menu = 0x12, Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22,
                               End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27,
                               Down = 0x28, Insert = 0x2D, Delete = 0x2E, Digit0 = 0x30,
                               LetterA = 0x41, Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B,
                               Subtract = 0x6D, Decimal = 0x6E, Divide = 0x6F, F1 = 0x70,
                               OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD, OemPeriod = 0xBE;
} // namespace Key

enum class Cursor : std::uint8_t { Arrow, Hand, IBeam, SizeNS, SizeWE, SizeAll, Cross };

} // namespace ostinel::platform
