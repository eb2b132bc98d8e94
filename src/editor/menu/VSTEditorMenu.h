#pragma once
// TfrmVSTEditorMenu: the heading every editor of the plug-in shows above its main panel: the
// menu button with the main menu (Init, Load Preset, Save Preset, Lowest Octave, Skin, Open
// User Guide, About), the product name, the preset button that shows the current preset's
// name and opens the preset browser, and the info line that shows a message for three
// seconds. The map editor derives from it and overrides the hooks.
//
// Dialogs are overlays of the window: the menu commands return at once and carry on in the
// dialogs' callbacks. GUI thread only.
#include "gui/frame/VSTEditorBase.h"
#include "gui/widgets/Timer.h"

#include <memory>
#include <string>
#include <string_view>

namespace ostinel {

class TVSTPluginBase;

namespace gui {
class TLabel;
class TQelMenuButton;
class TQelPopupMenu;
class TQelSpTBXSpeedButton;
class TMenuItem;
} // namespace gui

class TfrmVSTEditorMenu : public gui::TfrmVSTEditorBase {
public:
    static constexpr int kInfoMs = 3000;
    static constexpr int kHeadingHeight = 41;
    static constexpr int kMainTop = 45;

    // FormCreate: the heading's components, the main menu and the user guide's path.
    TfrmVSTEditorMenu(gui::WidgetRoot& root, TVSTPluginBase& owner);
    ~TfrmVSTEditorMenu() override;

    // ---- Hooks (the map editor overrides them) ----
    // The preset browser has closed (after a load, or cancelled).
    virtual void PresetBrowserClosed() {}
    // The lowest octave has changed: clears the info line.
    virtual void LowestOctaveChanged();
    // Size of the preset browser: client width - 32, client height - 32.
    virtual void GetPresetBrowserSize(int& width, int& height);
    // Init, after confirmation: the module's LoadInitPreset, EditorIdle, empty info line.
    virtual void InitializePreset();

    // Shows a text in the info line for three seconds; the empty text clears it at once.
    virtual void ShowInfo(const std::string& text);
    // Ends any learn state of the module and clears the info line.
    void CancelLearn();

    // btnPresets shows the module's preset name, cut at the right to fit ("-" when empty).
    void PresetNameChanged() override;

    // Preset flows (also reachable from the menu and the preset button).
    void SavePresetAs();
    void LoadPresetFromBrowser();

    [[nodiscard]] TVSTPluginBase& Owner() const { return owner_; }
    [[nodiscard]] const std::string& UserGuidePath() const { return userGuidePath_; }

    // Components (tests and the map editor's layout).
    [[nodiscard]] gui::TQelGuiPanel& panHeading() { return *panHeading_; }
    [[nodiscard]] gui::TQelMenuButton& btnMenu() { return *btnMenu_; }
    [[nodiscard]] gui::TLabel& lblName() { return *lblName_; }
    [[nodiscard]] gui::TQelSpTBXSpeedButton& btnPresets() { return *btnPresets_; }
    [[nodiscard]] gui::TQelGuiPanel& panInfo() { return *panInfo_; }
    [[nodiscard]] gui::TLabel& lblInfo() { return *lblInfo_; }
    [[nodiscard]] gui::TTimer& timInfo() { return timInfo_; }
    [[nodiscard]] gui::TQelPopupMenu& ddmMenu() { return *ddmMenu_; }
    // A main-menu entry by its component name ("ddmMenu_Init", "ddmMain_Skin_Black", ...).
    // Throws ostinel::Error for an unknown name.
    [[nodiscard]] gui::TMenuItem& MenuItem(std::string_view name) const;
    // Whether the preset browser is open (only one exists at a time).
    [[nodiscard]] bool PresetBrowserOpen() const { return browserOpen_; }

    void Resized() override;

protected:
    void FormShow() override;
    void panMainClick() override;

    // Opening the main menu: check marks, the Lowest Octave submenu hidden, Open User Guide
    // shown when the guide exists. The map editor runs this first, then shows Lowest Octave.
    virtual void ddmMenuPopup();
    // Moves the heading's components to the editor's own positions (the map editor's design
    // differs from this form's).
    void PlaceHeading(int presetsLeft, int presetsWidth, int infoLeft, int infoWidth,
                      int infoLabelWidth);

private:
    void BuildMenu();
    void timInfoTimer();
    void panHeadingClick();
    void ddmMenu_InitClick();
    void ddmMain_LowestOctaveClick(int octave);
    void ddmMain_Skin_CarbonClick(const gui::TMenuItem& sender);
    void ddmMenu_OpenUserGuideClick();
    void ddmMenu_AboutClick();
    void PlaceComponents();
    // Preset flows (PresetFlows.cpp).
    void SavePresetNamed(const std::string& typed);
    void WritePreset(const std::string& name, const std::string& path);
    void PresetBrowserDone(bool ok, const std::string& file);

    TVSTPluginBase& owner_;
    std::string userGuidePath_;
    gui::TQelGuiPanel* panHeading_ = nullptr;
    gui::TQelMenuButton* btnMenu_ = nullptr;
    gui::TLabel* lblName_ = nullptr;
    gui::TQelSpTBXSpeedButton* btnPresets_ = nullptr;
    gui::TQelGuiPanel* panInfo_ = nullptr;
    gui::TLabel* lblInfo_ = nullptr;
    gui::TTimer timInfo_;
    std::unique_ptr<gui::TQelPopupMenu> ddmMenu_;
    bool browserOpen_ = false;
    // Lets dialog callbacks find out whether the form still exists.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace ostinel
