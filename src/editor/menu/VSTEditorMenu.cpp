#include "editor/menu/VSTEditorMenu.h"

#include "common/Error.h"
#include "common/QelCommon.h"
#include "graphics/Text.h"
#include "gui/controls/Label.h"
#include "gui/controls/QelGuiPanel.h"
#include "gui/controls/QelMenuButton.h"
#include "gui/controls/QelPopupMenu.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/widgets/WidgetRoot.h"
#include "platform/System.h"
#include "platform/Window.h"
#include "services/VSTPluginBase.h"

#include <algorithm>

namespace ostinel {

using gui::Color;
using gui::MakeFont;
using gui::TLabel;
using gui::TMenuItem;
using gui::TMsgDlgButtons;
using gui::TMsgDlgType;
using gui::TQelGuiPanel;

namespace {

constexpr std::uint8_t kMainAlpha = 225;
constexpr const char* kMakerLine = "Quorvat, 2026";

// The user guide in the user folder, else beside the plug-in's own library file, else none.
std::string FindUserGuide(const TVSTPluginBase& owner) {
    const std::string& file = owner.UserGuideFile();
    if (file.empty()) {
        return {};
    }
    if (std::string path = owner.UserFolder() + file; FileExistsSafe(path)) {
        return path;
    }
    const std::string module = platform::ModulePath();
    if (const std::size_t slash = module.find_last_of("/\\"); slash != std::string::npos) {
        if (std::string path = module.substr(0, slash + 1) + file; FileExistsSafe(path)) {
            return path;
        }
    }
    return {};
}

// Removes the last UTF-8 code point.
void PopCodePoint(std::string& text) {
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((byte & 0xC0) != 0x80) {
            return;
        }
    }
}

} // namespace

TfrmVSTEditorMenu::TfrmVSTEditorMenu(gui::WidgetRoot& root, TVSTPluginBase& owner)
    : TfrmVSTEditorBase(root), owner_(owner), timInfo_(root, kInfoMs),
      ddmMenu_(std::make_unique<gui::TQelPopupMenu>()) {
    SetName("frmVSTEditorMenu");
    panMain().SetAlpha(kMainAlpha);
    panMain().SetBorderVisible(true);

    auto& heading = Add<TQelGuiPanel>();
    heading.SetName("panHeading");
    heading.SetAlpha(255);
    heading.SetBorderVisible(true);
    heading.SetBorderRadius(2.0f);
    heading.SetBorderWidth(1.0f);
    heading.SetPanelColor(Color::Rgb(0xFFFFFF));
    heading.SetTransparent(true);
    heading.OnClick = [this] { panHeadingClick(); };
    panHeading_ = &heading;

    auto& menuButton = heading.Add<gui::TQelMenuButton>();
    menuButton.SetName("btnMenu");
    menuButton.SetBounds(6, 8, 26, 26);
    menuButton.SetDropDownMenu(ddmMenu_.get());
    menuButton.SetDropDownArrow(false);
    btnMenu_ = &menuButton;

    auto& name = heading.Add<TLabel>(owner_.ProductName());
    name.SetName("lblName");
    name.SetCaptionFont(MakeFont("Tahoma", 21));
    name.SetPosition(40, 9);
    lblName_ = &name;

    auto& presets = heading.Add<gui::TQelSpTBXSpeedButton>("-");
    presets.SetName("btnPresets");
    presets.SetBounds(226, 8, 205, 26);
    presets.SetCaptionFont(MakeFont("Segoe UI", 13));
    presets.SetDropDownArrow(false);
    presets.OnClick = [this] { LoadPresetFromBrowser(); }; // btnPresetsClick
    btnPresets_ = &presets;

    auto& info = heading.Add<TQelGuiPanel>();
    info.SetName("panInfo");
    info.SetBounds(453, 8, 197, 26);
    info.SetAlpha(255);
    info.SetBorderVisible(true);
    info.SetBorderRadius(6.0f);
    info.SetBorderWidth(1.0f);
    info.SetPanelColor(Color::Rgb(0xC0C0C0));
    info.SetPanelGroupColor(true);
    panInfo_ = &info;

    auto& infoLabel = info.Add<TLabel>();
    infoLabel.SetName("lblInfo");
    infoLabel.SetCaptionFont(MakeFont("Tahoma", 11));
    infoLabel.SetAutoSize(false);
    infoLabel.SetAlignment(gui::TextAlign::Center);
    infoLabel.SetBounds(6, 6, 186, 14);
    lblInfo_ = &infoLabel;

    timInfo_.OnTimer = [this] { timInfoTimer(); };
    BuildMenu();
    userGuidePath_ = FindUserGuide(owner_);
    PlaceComponents();
}

TfrmVSTEditorMenu::~TfrmVSTEditorMenu() {
    timInfo_.Stop();
    ddmMenu_->Close();
    owner_.SetLearnState(kLearnNone);
}

void TfrmVSTEditorMenu::BuildMenu() {
    TMenuItem& items = ddmMenu_->Items();
    auto add = [](TMenuItem& parent, const char* name, const char* caption, int tag,
                  std::function<void(TMenuItem&)> onClick) -> TMenuItem& {
        TMenuItem& item = parent.Add(caption, tag, std::move(onClick));
        item.Name = name;
        return item;
    };
    add(items, "ddmMenu_Init", "Init", 0, [this](TMenuItem&) { ddmMenu_InitClick(); });
    items.AddSeparator();
    add(items, "ddmMenu_LoadPreset", "Load Preset", 0,
        [this](TMenuItem&) { LoadPresetFromBrowser(); });
    add(items, "ddmMenu_SavePreset", "Save Preset", 0, [this](TMenuItem&) { SavePresetAs(); });
    items.AddSeparator();

    TMenuItem& octave = add(items, "ddmMain_LowestOctave", "Lowest Octave", 0, nullptr);
    add(octave, "ddmMain_LowestOctave_0", "0", 0,
        [this](TMenuItem&) { ddmMain_LowestOctaveClick(0); });
    add(octave, "ddmMain_LowestOctave_min1", "-1", 0,
        [this](TMenuItem&) { ddmMain_LowestOctaveClick(-1); });
    add(octave, "ddmMain_LowestOctave_min2", "-2", 0,
        [this](TMenuItem&) { ddmMain_LowestOctaveClick(-2); });

    TMenuItem& skin = add(items, "ddmMain_Skin", "Skin", 0, nullptr);
    struct TSkinEntry {
        const char* Name;
        const char* Caption;
    };
    static constexpr TSkinEntry kSkins[] = {{"ddmMain_Skin_Carbon", "Carbon"},
                                            {"ddmMain_Skin_Black", "Dark"},
                                            {"ddmMain_Skin_Light", "Light"},
                                            {"ddmMain_Skin_Luna", "Luna"},
                                            {"ddmMain_Skin_Smokey", "Smokey"}};
    int tag = 0;
    for (const TSkinEntry& entry : kSkins) {
        add(skin, entry.Name, entry.Caption, tag++,
            [this](TMenuItem& sender) { ddmMain_Skin_CarbonClick(sender); });
    }
    items.AddSeparator();
    add(items, "ddmMenu_OpenUserGuide", "Open User Guide", 0,
        [this](TMenuItem&) { ddmMenu_OpenUserGuideClick(); });
    items.AddSeparator();
    add(items, "ddmMenu_About", "About", 0, [this](TMenuItem&) { ddmMenu_AboutClick(); });

    ddmMenu_->OnPopup = [this](gui::TQelPopupMenu&) { ddmMenuPopup(); };
}

TMenuItem& TfrmVSTEditorMenu::MenuItem(std::string_view name) const {
    TMenuItem* item = ddmMenu_->Items().Find(name);
    if (item == nullptr) {
        throw Error("No menu item \"" + std::string(name) + "\"");
    }
    return *item;
}

// ---- Layout -------------------------------------------------------------------------------

void TfrmVSTEditorMenu::Resized() {
    PlaceComponents();
    // The base would put panMain below a 4-pixel margin; here it sits below the heading.
    gui::Widget::Resized();
}

void TfrmVSTEditorMenu::PlaceComponents() {
    if (panHeading_ == nullptr) {
        return; // the base is still being built
    }
    panHeading_->SetBounds(0, 0, Width(), kHeadingHeight);
    // The base form's side and bottom margins; the heading takes the top.
    const int right = std::max(kMarginLeft, Width() - kMarginRight);
    const int bottom = std::max(kMainTop, Height() - kMarginBottom);
    panMain().SetBounds(gui::Rect{kMarginLeft, kMainTop, right, bottom});
}

void TfrmVSTEditorMenu::PlaceHeading(int presetsLeft, int presetsWidth, int infoLeft, int infoWidth,
                                     int infoLabelWidth) {
    btnPresets_->SetBounds(presetsLeft, btnPresets_->Top(), presetsWidth, btnPresets_->Height());
    panInfo_->SetBounds(infoLeft, panInfo_->Top(), infoWidth, panInfo_->Height());
    lblInfo_->SetBounds(lblInfo_->Left(), lblInfo_->Top(), infoLabelWidth, lblInfo_->Height());
    PresetNameChanged(); // the caption is cut to the button's width
}

// ---- Showing, hooks -----------------------------------------------------------------------

void TfrmVSTEditorMenu::FormShow() {
    TfrmVSTEditorBase::FormShow();
    PresetNameChanged();
    ShowInfo({});
}

void TfrmVSTEditorMenu::PresetNameChanged() {
    const std::string& name = owner_.PresetName();
    if (name.empty()) {
        btnPresets_->SetCaption("-");
        return;
    }
    // Cut at the right, without an ellipsis, until it fits.
    std::string caption = name;
    const int limit = btnPresets_->Width() - 8;
    while (!caption.empty() && gui::TextWidth(btnPresets_->CaptionFont(), caption) > limit) {
        PopCodePoint(caption);
    }
    btnPresets_->SetCaption(caption);
}

void TfrmVSTEditorMenu::LowestOctaveChanged() {
    ShowInfo({});
}

void TfrmVSTEditorMenu::GetPresetBrowserSize(int& width, int& height) {
    width = Width() - 32;
    height = Height() - 32;
}

void TfrmVSTEditorMenu::InitializePreset() {
    owner_.LoadInitPreset();
    EditorIdle();
    ShowInfo({});
}

void TfrmVSTEditorMenu::ShowInfo(const std::string& text) {
    timInfo_.Stop();
    if (!text.empty()) {
        lblInfo_->SetCaption(text);
        timInfo_.Start();
    } else {
        lblInfo_->SetCaption({});
    }
    // Painted now, so the message is there even while a long operation follows.
    lblInfo_->Invalidate();
    OwnerRoot().Update();
}

void TfrmVSTEditorMenu::timInfoTimer() {
    timInfo_.Stop();
    ShowInfo({});
}

void TfrmVSTEditorMenu::CancelLearn() {
    owner_.SetLearnState(kLearnNone);
    ShowInfo({});
}

void TfrmVSTEditorMenu::panHeadingClick() {
    FocusControlUnderCursor();
}

void TfrmVSTEditorMenu::panMainClick() {
    FocusControlUnderCursor();
    CancelLearn();
}

// ---- Main menu ----------------------------------------------------------------------------

void TfrmVSTEditorMenu::ddmMenuPopup() {
    MenuItem("ddmMain_LowestOctave").Visible = false;
    const int offset = OctaveOffset();
    MenuItem("ddmMain_LowestOctave_0").Checked = offset == 0;
    MenuItem("ddmMain_LowestOctave_min1").Checked = offset == -1;
    MenuItem("ddmMain_LowestOctave_min2").Checked = offset == -2;
    ddmMenu_->CheckItemsByTag(owner_.Style(), &MenuItem("ddmMain_Skin"), false);
    MenuItem("ddmMenu_OpenUserGuide").Visible = FileExistsSafe(userGuidePath_);
}

void TfrmVSTEditorMenu::ddmMenu_InitClick() {
    gui::ShowMessageDialog(OwnerRoot(), "Initialize preset?", "Init", TMsgDlgButtons::YesNo,
                           TMsgDlgType::Confirmation,
                           [this, alive = std::weak_ptr<int>(alive_)](gui::TModalResult answer) {
                               if (!alive.expired() && answer != gui::TModalResult::No) {
                                   InitializePreset();
                               }
                           });
}

void TfrmVSTEditorMenu::ddmMain_LowestOctaveClick(int octave) {
    owner_.SetLowestOctave(octave);
    LowestOctaveChanged();
}

void TfrmVSTEditorMenu::ddmMain_Skin_CarbonClick(const TMenuItem& sender) {
    if (sender.Tag == owner_.Style()) {
        return;
    }
    // Stored now, applied when the host opens the editor again.
    owner_.SetStyle(sender.Tag);
    gui::ShowMessageDialog(OwnerRoot(),
                           "Please close and re-open the plugin window for skin changes to take "
                           "effect.",
                           "Change Skin", TMsgDlgButtons::OK, TMsgDlgType::Information);
}

void TfrmVSTEditorMenu::ddmMenu_OpenUserGuideClick() {
    if (!platform::ShellOpen(userGuidePath_)) {
        gui::ShowMessageDialog(OwnerRoot(), "Error opening file.\r\n\r\n\"" + userGuidePath_ + "\"",
                               "Open User Guide", TMsgDlgButtons::OK, TMsgDlgType::Information);
    }
}

void TfrmVSTEditorMenu::ddmMenu_AboutClick() {
    const std::string text = owner_.ProductName() + " v" + owner_.PluginVersion() + "\r\r" +
                             "Build date: " + platform::GetBuildDate() + "\r\r" + kMakerLine + "\r";
    gui::ShowMessageDialog(OwnerRoot(), text, "About", TMsgDlgButtons::OK,
                           TMsgDlgType::Information);
}

} // namespace ostinel
