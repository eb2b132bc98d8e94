#include "platform/x11/KeyMap.h"

#include <X11/keysym.h>

#include <utility>

namespace ostinel::platform::x11 {

namespace {

// Keys that are not letters or digits, by their X11 symbol.
constexpr std::pair<unsigned long, std::uint32_t> kNamedKeys[] = {
    {XK_BackSpace, Key::Back},
    {XK_Tab, Key::Tab},
    {XK_ISO_Left_Tab, Key::Tab},
    {XK_Return, Key::Return},
    {XK_KP_Enter, Key::Return},
    {XK_Shift_L, Key::Shift},
    {XK_Shift_R, Key::Shift},
    {XK_Control_L, Key::Control},
    {XK_Control_R, Key::Control},
    {XK_Alt_L, Key::Menu},
    {XK_Alt_R, Key::Menu},
    {XK_Meta_L, Key::Menu},
    {XK_Meta_R, Key::Menu},
    {XK_Pause, 0x13},
    {XK_Caps_Lock, 0x14},
    {XK_Escape, Key::Escape},
    {XK_space, Key::Space},
    {XK_Prior, Key::Prior},
    {XK_Next, Key::Next},
    {XK_End, Key::End},
    {XK_Home, Key::Home},
    {XK_Left, Key::Left},
    {XK_Up, Key::Up},
    {XK_Right, Key::Right},
    {XK_Down, Key::Down},
    {XK_Print, 0x2C},
    {XK_Insert, Key::Insert},
    {XK_Delete, Key::Delete},
    {XK_Super_L, 0x5B},
    {XK_Super_R, 0x5C},
    {XK_Menu, 0x5D},
    // The keypad without Num Lock moves the caret, as on Windows.
    {XK_KP_Home, Key::Home},
    {XK_KP_End, Key::End},
    {XK_KP_Prior, Key::Prior},
    {XK_KP_Next, Key::Next},
    {XK_KP_Left, Key::Left},
    {XK_KP_Up, Key::Up},
    {XK_KP_Right, Key::Right},
    {XK_KP_Down, Key::Down},
    {XK_KP_Insert, Key::Insert},
    {XK_KP_Delete, Key::Delete},
    {XK_KP_Begin, 0x0C},
    {XK_KP_Multiply, Key::Multiply},
    {XK_KP_Add, Key::Add},
    {XK_KP_Subtract, Key::Subtract},
    {XK_KP_Decimal, Key::Decimal},
    {XK_KP_Separator, Key::Decimal},
    {XK_KP_Divide, Key::Divide},
    {XK_Num_Lock, 0x90},
    {XK_Scroll_Lock, 0x91},
    // The US-layout names of the punctuation keys (VK_OEM_*).
    {XK_semicolon, 0xBA},
    {XK_equal, Key::OemPlus},
    {XK_plus, Key::OemPlus},
    {XK_comma, Key::OemComma},
    {XK_minus, Key::OemMinus},
    {XK_period, Key::OemPeriod},
    {XK_slash, 0xBF},
    {XK_grave, 0xC0},
    {XK_dead_grave, 0xC0},
    {XK_bracketleft, 0xDB},
    {XK_backslash, 0xDC},
    {XK_bracketright, 0xDD},
    {XK_apostrophe, 0xDE},
    {XK_dead_acute, 0xDD},
    {XK_dead_circumflex, 0xDC},
    {XK_numbersign, 0xBF},
    {XK_less, 0xE2},
    {XK_ssharp, 0xDB},
    {XK_udiaeresis, 0xBA},
    {XK_odiaeresis, 0xC0},
    {XK_adiaeresis, 0xDE},
};

std::uint32_t KeyOfSymbol(unsigned long sym) {
    if (sym >= XK_a && sym <= XK_z) {
        return Key::LetterA + static_cast<std::uint32_t>(sym - XK_a);
    }
    if (sym >= XK_A && sym <= XK_Z) {
        return Key::LetterA + static_cast<std::uint32_t>(sym - XK_A);
    }
    if (sym >= XK_0 && sym <= XK_9) {
        return Key::Digit0 + static_cast<std::uint32_t>(sym - XK_0);
    }
    if (sym >= XK_F1 && sym <= XK_F24) {
        return Key::F1 + static_cast<std::uint32_t>(sym - XK_F1);
    }
    for (const auto& [symbol, key] : kNamedKeys) {
        if (symbol == sym) {
            return key;
        }
    }
    return 0;
}

} // namespace

std::uint32_t VirtualKeyFromKeysym(unsigned long keysym, unsigned long baseKeysym) {
    // Keypad digits depend on Num Lock, which only the resolved symbol knows.
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) {
        return Key::Numpad0 + static_cast<std::uint32_t>(keysym - XK_KP_0);
    }
    if (keysym >= XK_KP_Space && keysym <= XK_KP_Equal) {
        if (const std::uint32_t key = KeyOfSymbol(keysym)) {
            return key;
        }
    }
    if (const std::uint32_t key = KeyOfSymbol(baseKeysym)) {
        return key;
    }
    return KeyOfSymbol(keysym);
}

char32_t CharFromKeysym(unsigned long keysym, Modifiers mods) {
    if (mods.alt) {
        return 0;
    }
    switch (keysym) {
    case XK_BackSpace:
        return 0x08;
    case XK_Tab:
    case XK_ISO_Left_Tab:
        return 0x09;
    case XK_Return:
    case XK_KP_Enter:
        return 0x0D;
    case XK_Escape:
        return 0x1B;
    default:
        break;
    }
    if (mods.ctrl) {
        if (keysym >= XK_a && keysym <= XK_z) {
            return static_cast<char32_t>(keysym - XK_a + 1);
        }
        if (keysym >= XK_A && keysym <= XK_Z) {
            return static_cast<char32_t>(keysym - XK_A + 1);
        }
        switch (keysym) {
        case XK_bracketleft:
            return 0x1B;
        case XK_backslash:
            return 0x1C;
        case XK_bracketright:
            return 0x1D;
        default:
            return 0;
        }
    }
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) {
        return static_cast<char32_t>(U'0' + (keysym - XK_KP_0));
    }
    switch (keysym) {
    case XK_KP_Space:
        return U' ';
    case XK_KP_Multiply:
        return U'*';
    case XK_KP_Add:
        return U'+';
    case XK_KP_Separator:
        return U',';
    case XK_KP_Subtract:
        return U'-';
    case XK_KP_Decimal:
        return U'.';
    case XK_KP_Divide:
        return U'/';
    case XK_KP_Equal:
        return U'=';
    case XK_EuroSign:
        return 0x20AC;
    default:
        break;
    }
    // Latin-1 symbols are their own code points; 0x01000000 + U is Unicode U.
    if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) {
        return static_cast<char32_t>(keysym);
    }
    if (keysym >= 0x01000020 && keysym <= 0x0110FFFF) {
        const auto cp = static_cast<char32_t>(keysym - 0x01000000);
        const bool control = cp >= 0x7F && cp < 0xA0;
        const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
        return control || surrogate ? 0 : cp;
    }
    return 0;
}

} // namespace ostinel::platform::x11
