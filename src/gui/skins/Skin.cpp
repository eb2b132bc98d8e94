#include "gui/skins/Skin.h"

#include <array>

namespace ostinel::gui {

namespace {

constexpr Color C(std::uint32_t rgb) {
    return Color::Rgb(rgb);
}

// Neutral dark greys with a steel-blue accent.
constexpr TSkin MakeCarbon() {
    TSkin s;
    s.Kind = TSkinKind::Carbon;
    s.Name = "Carbon";
    s.Window = C(0x232323);
    s.WindowText = C(0xE4E4E4);
    s.Panel = C(0x343434);
    s.PanelGroup = C(0x262626);
    s.GenericBackground = C(0x2C2C2C);
    s.HintBase = C(0x505050);
    s.Border = C(0x5A5A5A);
    s.ButtonNormal = {C(0x424242), C(0x5C5C5C), C(0xE2E2E2)};
    s.ButtonHot = {C(0x4F4F4F), C(0x7A7A7A), C(0xFFFFFF)};
    s.ButtonPressed = {C(0x255F78), C(0x3B8AAB), C(0xFFFFFF)};
    s.ButtonDisabled = {C(0x1F1F1F), C(0x3C3C3C), C(0x767676)};
    s.FocusFrame = C(0x4DA3C7);
    s.EditFace = C(0x1C1C1C);
    s.EditBorder = C(0x5A5A5A);
    s.EditFocusBorder = C(0x4DA3C7);
    s.EditText = C(0xEEEEEE);
    s.SelectionFace = C(0x255F78);
    s.SelectionText = C(0xFFFFFF);
    s.GridCell = C(0x242424);
    s.GridFixed = C(0x363636);
    s.GridLine = C(0x141414);
    s.GridText = C(0xD6D6D6);
    s.GridFixedText = C(0xF2F2F2);
    s.MenuFace = C(0x2A2A2A);
    s.MenuBorder = C(0x5A5A5A);
    s.MenuText = C(0xE4E4E4);
    s.MenuHotFace = C(0x255F78);
    s.MenuHotText = C(0xFFFFFF);
    s.MenuDisabledText = C(0x707070);
    s.MenuSeparator = C(0x444444);
    s.MenuCheck = C(0x7CC4E2);
    s.DialogFace = C(0x303030);
    s.DialogCaption = C(0x1D1D1D);
    s.DialogCaptionText = C(0xF0F0F0);
    s.DialogText = C(0xE6E6E6);
    s.DialogBorder = C(0x5E5E5E);
    s.ScrollTrack = C(0x1E1E1E);
    s.ScrollThumb = C(0x4E4E4E);
    s.ScrollThumbHot = C(0x686868);
    s.ScrollArrow = C(0xA8A8A8);
    s.NoteHighlight = Color{80, 117, 29, 255};
    s.InputHighlight = Color{37, 95, 120, 255};
    s.DarkSwitchGlyphs = true;
    return s;
}

// Deep blue-green greys with a teal accent (the skin captioned Dark).
constexpr TSkin MakeDark() {
    TSkin s;
    s.Kind = TSkinKind::Dark;
    s.Name = "Dark";
    s.Window = C(0x17201F);
    s.WindowText = C(0xDCEBE8);
    s.Panel = C(0x20302F);
    s.PanelGroup = C(0x16211F);
    s.GenericBackground = C(0x1B2827);
    s.HintBase = C(0x37504D);
    s.Border = C(0x3E5D59);
    s.ButtonNormal = {C(0x29403E), C(0x3C5E5A), C(0xDDEEEB)};
    s.ButtonHot = {C(0x32534F), C(0x4F8C84), C(0xFFFFFF)};
    s.ButtonPressed = {C(0x22877A), C(0x3DB1A0), C(0xFFFFFF)};
    s.ButtonDisabled = {C(0x142220), C(0x2A403D), C(0x5E7D78)};
    s.FocusFrame = C(0x3DB1A0);
    s.EditFace = C(0x111A19);
    s.EditBorder = C(0x3E5D59);
    s.EditFocusBorder = C(0x3DB1A0);
    s.EditText = C(0xE6F3F1);
    s.SelectionFace = C(0x1E7468);
    s.SelectionText = C(0xFFFFFF);
    s.GridCell = C(0x182422);
    s.GridFixed = C(0x233735);
    s.GridLine = C(0x0E1615);
    s.GridText = C(0xCBE2DE);
    s.GridFixedText = C(0xE8F7F4);
    s.MenuFace = C(0x1B2928);
    s.MenuBorder = C(0x3E5D59);
    s.MenuText = C(0xDCEBE8);
    s.MenuHotFace = C(0x22877A);
    s.MenuHotText = C(0xFFFFFF);
    s.MenuDisabledText = C(0x5E7773);
    s.MenuSeparator = C(0x2E4542);
    s.MenuCheck = C(0x6FE0CF);
    s.DialogFace = C(0x1F2E2D);
    s.DialogCaption = C(0x132020);
    s.DialogCaptionText = C(0xE8F7F4);
    s.DialogText = C(0xDCEBE8);
    s.DialogBorder = C(0x41625E);
    s.ScrollTrack = C(0x121C1B);
    s.ScrollThumb = C(0x34524E);
    s.ScrollThumbHot = C(0x467069);
    s.ScrollArrow = C(0x9CC3BD);
    s.NoteHighlight = Color{16, 104, 91, 255};
    s.InputHighlight = Color{61, 177, 160, 255};
    s.DarkSwitchGlyphs = true;
    return s;
}

// Near-white surfaces, grey frames and a blue accent.
constexpr TSkin MakeLight() {
    TSkin s;
    s.Kind = TSkinKind::Light;
    s.Name = "Light";
    s.Window = C(0xEDEDED);
    s.WindowText = C(0x1B1B1B);
    s.Panel = C(0xF4F4F4);
    s.PanelGroup = C(0xE4E4E4);
    s.GenericBackground = C(0xFFFFFF);
    s.HintBase = C(0xD8D8D8);
    s.Border = C(0xB4B4B4);
    s.ButtonNormal = {C(0xE6E6E6), C(0xB0B0B0), C(0x1B1B1B)};
    s.ButtonHot = {C(0xE3EFFA), C(0x3C8FD8), C(0x101010)};
    s.ButtonPressed = {C(0xC7DFF4), C(0x1F6FB5), C(0x000000)};
    s.ButtonDisabled = {C(0xFBFBFB), C(0xCDCDCD), C(0x8E8E8E)};
    s.FocusFrame = C(0x1F6FB5);
    s.EditFace = C(0xFFFFFF);
    s.EditBorder = C(0xA8A8A8);
    s.EditFocusBorder = C(0x2A7FD0);
    s.EditText = C(0x111111);
    s.SelectionFace = C(0x2A7FD0);
    s.SelectionText = C(0xFFFFFF);
    s.GridCell = C(0xFFFFFF);
    s.GridFixed = C(0xEBEBEB);
    s.GridLine = C(0xD4D4D4);
    s.GridText = C(0x1B1B1B);
    s.GridFixedText = C(0x1B1B1B);
    s.MenuFace = C(0xF7F7F7);
    s.MenuBorder = C(0xB9B9B9);
    s.MenuText = C(0x1B1B1B);
    s.MenuHotFace = C(0xCFE4F7);
    s.MenuHotText = C(0x000000);
    s.MenuDisabledText = C(0xA2A2A2);
    s.MenuSeparator = C(0xDADADA);
    s.MenuCheck = C(0x1F6FB5);
    s.DialogFace = C(0xF2F2F2);
    s.DialogCaption = C(0xFFFFFF);
    s.DialogCaptionText = C(0x1B1B1B);
    s.DialogText = C(0x1B1B1B);
    s.DialogBorder = C(0x9C9C9C);
    s.ScrollTrack = C(0xEFEFEF);
    s.ScrollThumb = C(0xC2C2C2);
    s.ScrollThumbHot = C(0xA5A5A5);
    s.ScrollArrow = C(0x606060);
    s.NoteHighlight = Color{162, 199, 228, 255};
    s.InputHighlight = s.ButtonPressed.Face;
    s.DarkSwitchGlyphs = false;
    return s;
}

// Warm sand surfaces, deep-blue button frames and amber highlights.
constexpr TSkin MakeLuna() {
    TSkin s;
    s.Kind = TSkinKind::Luna;
    s.Name = "Luna";
    s.Window = C(0xE6DFC8);
    s.WindowText = C(0x2A2214);
    s.Panel = C(0xF1ECDC);
    s.PanelGroup = C(0xE4DABB);
    s.GenericBackground = C(0xFAF7EE);
    s.HintBase = C(0xB9AA7E);
    s.Border = C(0xA99A6E);
    s.ButtonNormal = {C(0xF7F4EA), C(0x5B6E8F), C(0x1C1A14)};
    s.ButtonHot = {C(0xFDE6BA), C(0xE39A2C), C(0x1C1A14)};
    s.ButtonPressed = {C(0xF6CB86), C(0xB7731A), C(0x000000)};
    s.ButtonDisabled = {C(0xFFFDF7), C(0xCFC4A4), C(0xA49A80)};
    s.FocusFrame = C(0xE39A2C);
    s.EditFace = C(0xFFFFFF);
    s.EditBorder = C(0x8A9BB6);
    s.EditFocusBorder = C(0xE39A2C);
    s.EditText = C(0x000000);
    s.SelectionFace = C(0x3A68B4);
    s.SelectionText = C(0xFFFFFF);
    s.GridCell = C(0xFFFEFA);
    s.GridFixed = C(0xEDE6CF);
    s.GridLine = C(0xD9CFAE);
    s.GridText = C(0x1C1A14);
    s.GridFixedText = C(0x3B2F12);
    s.MenuFace = C(0xFCFAF3);
    s.MenuBorder = C(0x9C8D62);
    s.MenuText = C(0x1C1A14);
    s.MenuHotFace = C(0xF9D9A0);
    s.MenuHotText = C(0x000000);
    s.MenuDisabledText = C(0xADA386);
    s.MenuSeparator = C(0xE0D6B8);
    s.MenuCheck = C(0xA8620F);
    s.DialogFace = C(0xF3EEDD);
    s.DialogCaption = C(0x3D5E9A);
    s.DialogCaptionText = C(0xFFFFFF);
    s.DialogText = C(0x1C1A14);
    s.DialogBorder = C(0x2F4B80);
    s.ScrollTrack = C(0xF1ECDC);
    s.ScrollThumb = C(0xCDBF94);
    s.ScrollThumbHot = C(0xE8B463);
    s.ScrollArrow = C(0x5B4D25);
    s.NoteHighlight = Color{240, 176, 100, 255};
    s.InputHighlight = s.ButtonHot.Face;
    s.DarkSwitchGlyphs = false;
    return s;
}

// Cool smoked greys with a coral accent.
constexpr TSkin MakeSmokey() {
    TSkin s;
    s.Kind = TSkinKind::Smokey;
    s.Name = "Smokey";
    s.Window = C(0x8D9095);
    s.WindowText = C(0x1D1F23);
    s.Panel = C(0xC6C9CD);
    s.PanelGroup = C(0xB3B7BC);
    s.GenericBackground = C(0xD5D7DA);
    s.HintBase = C(0x8C9096);
    s.Border = C(0x83878D);
    s.ButtonNormal = {C(0xD9DBDE), C(0x8C9096), C(0x1D1F23)};
    s.ButtonHot = {C(0xF1D3C6), C(0xC7785A), C(0x111111)};
    s.ButtonPressed = {C(0xA4A8AE), C(0x5E6268), C(0x000000)};
    s.ButtonDisabled = {C(0xE8E9EB), C(0xAEB1B6), C(0x868A90)};
    s.FocusFrame = C(0xC7785A);
    s.EditFace = C(0xF2F3F4);
    s.EditBorder = C(0x83878D);
    s.EditFocusBorder = C(0xC7785A);
    s.EditText = C(0x111214);
    s.SelectionFace = C(0x5C636C);
    s.SelectionText = C(0xFFFFFF);
    s.GridCell = C(0xE3E4E6);
    s.GridFixed = C(0xC2C5C9);
    s.GridLine = C(0xA9ACB1);
    s.GridText = C(0x1D1F23);
    s.GridFixedText = C(0x1D1F23);
    s.MenuFace = C(0xE6E7E9);
    s.MenuBorder = C(0x7E8288);
    s.MenuText = C(0x1D1F23);
    s.MenuHotFace = C(0xF1D3C6);
    s.MenuHotText = C(0x000000);
    s.MenuDisabledText = C(0x9A9EA3);
    s.MenuSeparator = C(0xC5C8CB);
    s.MenuCheck = C(0xB85F40);
    s.DialogFace = C(0xD3D5D8);
    s.DialogCaption = C(0x60656C);
    s.DialogCaptionText = C(0xFFFFFF);
    s.DialogText = C(0x1D1F23);
    s.DialogBorder = C(0x555A61);
    s.ScrollTrack = C(0xCDD0D3);
    s.ScrollThumb = C(0x9A9EA4);
    s.ScrollThumbHot = C(0xC7785A);
    s.ScrollArrow = C(0x3F4349);
    s.NoteHighlight = Color{248, 161, 126, 255};
    s.InputHighlight = s.ButtonHot.Face;
    s.DarkSwitchGlyphs = false;
    return s;
}

constexpr std::array<TSkin, 5> kSkins = {MakeCarbon(), MakeDark(), MakeLight(), MakeLuna(),
                                         MakeSmokey()};

// GUI thread only, like the skin engine it stands for.
TSkinKind gActive = TSkinKind::Carbon;
bool gIsActive = false;

} // namespace

TSkinKind SkinKindForStyle(int style) noexcept {
    return style >= 1 && style <= 4 ? static_cast<TSkinKind>(style) : TSkinKind::Carbon;
}

const TSkin& GetSkin(TSkinKind kind) noexcept {
    return kSkins[static_cast<std::size_t>(kind)];
}

void ActivateSkin(int style) noexcept {
    gActive = SkinKindForStyle(style);
    gIsActive = true;
}

const TSkin& ActiveSkin() noexcept {
    return GetSkin(gActive);
}

bool IsSkinActive() noexcept {
    return gIsActive;
}

void DeactivateSkin() noexcept {
    gActive = TSkinKind::Carbon;
    gIsActive = false;
}

} // namespace ostinel::gui
