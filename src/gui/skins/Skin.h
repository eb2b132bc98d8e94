#pragma once
// The five looks of the editor as colour sets, and the process-wide active skin.
//
// The skin is chosen by the module's Style setting when the host opens the editor (0 Carbon,
// 1 Dark, 2 Light, 3 Luna, 4 Smokey; any other value Carbon) and stays until the next opening,
// so every editor window of the process shares it. GUI thread only.
#include "graphics/Color.h"

#include <cstdint>
#include <string_view>

namespace ostinel::gui {

enum class TSkinKind : std::uint8_t { Carbon, Dark, Light, Luna, Smokey };

// One state of a button: its face, its one-pixel frame and its caption.
struct TSkinButtonState {
    Color Face;
    Color Border;
    Color Text;
};

struct TSkin {
    TSkinKind Kind = TSkinKind::Carbon;
    std::string_view Name; // the menu caption: "Carbon", "Dark", "Light", "Luna", "Smokey"

    // Windows and panels.
    Color Window;            // form background behind everything
    Color WindowText;        // labels on panels
    Color Panel;             // the rounded main panels
    Color PanelGroup;        // the category-panel-group colour (inset panels)
    Color GenericBackground; // Light takes it for group panels
    Color HintBase;          // hint-gradient base: the panels' border band
    Color Border;            // frames; Light takes it for the panels' border band

    // Buttons (speed buttons, dialog buttons, the menu button).
    TSkinButtonState ButtonNormal;
    TSkinButtonState ButtonHot;
    TSkinButtonState ButtonPressed;
    TSkinButtonState ButtonDisabled;
    Color FocusFrame; // focused dialog button, default-button ring

    // Edit boxes and lists.
    Color EditFace;
    Color EditBorder;
    Color EditFocusBorder;
    Color EditText;
    Color SelectionFace; // selected text, selected list entry
    Color SelectionText;

    // Draw grids.
    Color GridCell;
    Color GridFixed;
    Color GridLine;
    Color GridText;
    Color GridFixedText; // header row

    // Popup menus.
    Color MenuFace;
    Color MenuBorder;
    Color MenuText;
    Color MenuHotFace;
    Color MenuHotText;
    Color MenuDisabledText;
    Color MenuSeparator;
    Color MenuCheck;

    // Dialogs shown over the window.
    Color DialogFace;
    Color DialogCaption;
    Color DialogCaptionText;
    Color DialogText;
    Color DialogBorder;

    // Scroll bars.
    Color ScrollTrack;
    Color ScrollThumb;
    Color ScrollThumbHot;
    Color ScrollArrow;

    // Highlights the editor names: the fill of held notes in the map grid and the accent
    // the numeric inputs light up with while learning.
    Color NoteHighlight;
    Color InputHighlight;

    // The on/off switch uses the dark glyph strip (Carbon, Dark) or the bright one.
    bool DarkSwitchGlyphs = true;
};

// The skin of a Style value; values outside 1..4 give Carbon.
[[nodiscard]] TSkinKind SkinKindForStyle(int style) noexcept;
[[nodiscard]] const TSkin& GetSkin(TSkinKind kind) noexcept;

// Makes the skin of `style` the active one (the signature the plug-in's ApplyStyle calls).
void ActivateSkin(int style) noexcept;
// The active skin; Carbon's colours before any activation.
[[nodiscard]] const TSkin& ActiveSkin() noexcept;
// Whether a skin was activated. Controls that take skin colours "when a skin is active" keep
// their own defaults otherwise (tests, tools without a plug-in).
[[nodiscard]] bool IsSkinActive() noexcept;
// Back to no active skin (tests).
void DeactivateSkin() noexcept;

} // namespace ostinel::gui
