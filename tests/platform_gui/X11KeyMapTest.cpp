// X11 keys as Win32 virtual keys and WM_CHAR characters, so the toolkit's key tables work on
// Linux unchanged.
#include "platform/x11/KeyMap.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace ostinel::platform::x11 {
namespace {

struct VirtualKeyCase {
    unsigned long keysym;
    unsigned long base;
    std::uint32_t expected;
};

TEST(X11KeyMap, VirtualKeys) {
    const VirtualKeyCase cases[] = {
        {XK_a, XK_a, Key::LetterA},
        {XK_A, XK_a, Key::LetterA},         // Shift+A is still the A key
        {XK_exclam, XK_1, Key::Digit0 + 1}, // Shift+1
        {XK_0, XK_0, Key::Digit0},
        {XK_Return, XK_Return, Key::Return},
        {XK_KP_Enter, XK_KP_Enter, Key::Return},
        {XK_ISO_Left_Tab, XK_Tab, Key::Tab}, // Shift+Tab
        {XK_Escape, XK_Escape, Key::Escape},
        {XK_BackSpace, XK_BackSpace, Key::Back},
        {XK_Delete, XK_Delete, Key::Delete},
        {XK_Home, XK_Home, Key::Home},
        {XK_Page_Up, XK_Page_Up, Key::Prior},
        {XK_Page_Down, XK_Page_Down, Key::Next},
        {XK_Left, XK_Left, Key::Left},
        {XK_Down, XK_Down, Key::Down},
        {XK_Shift_R, XK_Shift_R, Key::Shift},
        {XK_Control_L, XK_Control_L, Key::Control},
        {XK_Alt_L, XK_Alt_L, Key::Menu},
        {XK_F1, XK_F1, Key::F1},
        {XK_F12, XK_F12, Key::F1 + 11},
        // The keypad follows Num Lock, which the resolved symbol carries.
        {XK_KP_7, XK_KP_Home, Key::Numpad0 + 7},
        {XK_KP_Home, XK_KP_Home, Key::Home},
        {XK_KP_Decimal, XK_KP_Delete, Key::Decimal},
        {XK_KP_Separator, XK_KP_Delete, Key::Decimal}, // keypad comma of some layouts
        {XK_KP_Delete, XK_KP_Delete, Key::Delete},
        {XK_KP_Add, XK_KP_Add, Key::Add},
        {XK_KP_Subtract, XK_KP_Subtract, Key::Subtract},
        {XK_KP_Multiply, XK_KP_Multiply, Key::Multiply},
        {XK_KP_Divide, XK_KP_Divide, Key::Divide},
        {XK_minus, XK_minus, Key::OemMinus},
        {XK_underscore, XK_minus, Key::OemMinus},
        {XK_equal, XK_equal, Key::OemPlus},
        {XK_plus, XK_plus, Key::OemPlus}, // the German "+" key
        {XK_comma, XK_comma, Key::OemComma},
        {XK_period, XK_period, Key::OemPeriod},
        {XK_space, XK_space, Key::Space},
        {XK_VoidSymbol, XK_VoidSymbol, 0},
        {0, 0, 0}, // NoSymbol
    };
    for (const VirtualKeyCase& c : cases) {
        EXPECT_EQ(VirtualKeyFromKeysym(c.keysym, c.base), c.expected)
            << std::hex << c.keysym << " / " << c.base;
    }
}

struct CharCase {
    unsigned long keysym;
    Modifiers mods;
    char32_t expected;
};

TEST(X11KeyMap, Characters) {
    constexpr Modifiers none{};
    constexpr Modifiers shift{true, false, false};
    constexpr Modifiers ctrl{false, true, false};
    constexpr Modifiers alt{false, false, true};
    const CharCase cases[] = {
        {XK_a, none, U'a'},
        {XK_A, shift, U'A'},
        {XK_5, none, U'5'},
        {XK_minus, none, U'-'},
        {XK_space, none, U' '},
        {XK_eacute, none, 0xE9}, // Latin-1 symbols are their code points
        {XK_EuroSign, none, 0x20AC},
        {0x01000416, none, 0x0416}, // Unicode keysym (Cyrillic Zhe)
        {0x0100D800, none, 0},      // no surrogates
        {0x01000085, none, 0},      // no C1 controls
        {XK_KP_3, none, U'3'},
        {XK_KP_Decimal, none, U'.'},
        {XK_KP_Separator, none, U','},
        {XK_BackSpace, none, 0x08}, // the control characters Win32 sends as WM_CHAR
        {XK_Tab, none, 0x09},
        {XK_ISO_Left_Tab, shift, 0x09},
        {XK_Return, none, 0x0D},
        {XK_KP_Enter, none, 0x0D},
        {XK_Escape, none, 0x1B},
        {XK_c, ctrl, 0x03},
        {XK_V, {true, true, false}, 0x16},
        {XK_1, ctrl, 0},
        {XK_a, alt, 0}, // Alt+key is a menu key, no character
        {XK_Return, alt, 0},
        {XK_Delete, none, 0},
        {XK_Left, none, 0},
        {XK_F5, none, 0},
        {XK_Shift_L, shift, 0},
        {XK_KP_Home, none, 0},
    };
    for (const CharCase& c : cases) {
        EXPECT_EQ(static_cast<std::uint32_t>(CharFromKeysym(c.keysym, c.mods)),
                  static_cast<std::uint32_t>(c.expected))
            << std::hex << c.keysym;
    }
}

} // namespace
} // namespace ostinel::platform::x11
