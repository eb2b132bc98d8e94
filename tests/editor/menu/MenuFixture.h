#pragma once
// A real plug-in module (created through the entry point, user folders in a temporary folder)
// owning a heading form in a headless 950 x 600 window, and a user's hands: clicks on
// components, menu entries chosen with the mouse, dialogs answered with their buttons.
//
// The module's editor is a small adapter that hands the module's calls (preset name changes,
// messages) to the form, as the plug-in's editor window does.
#include "editor/menu/VSTEditorMenu.h"
#include "gui/controls/Button.h"
#include "gui/controls/Edit.h"
#include "gui/controls/Label.h"
#include "gui/controls/PopupMenuLayer.h"
#include "gui/controls/QelMenuButton.h"
#include "gui/controls/QelPopupMenu.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/dialogs/InputDlg.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/dialogs/PresetsForm.h"
#include "gui/widgets/WidgetRoot.h"
#include "ostinel/VSTPlugin.h"
#include "platform/headless/HeadlessWindow.h"
#include "services/PluginEditor.h"
#include "support/FakeHost.h"
#include "support/PluginInstance.h"
#include "support/UserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace ostinel::test {

namespace fs = std::filesystem;

inline constexpr int kClientWidth = 950;
inline constexpr int kClientHeight = 600;

// The heading form as the map editor uses it: the browser-closed hook counted, the Lowest
// Octave submenu shown when asked (the map editor shows it), the heading placement reachable.
class TTestMenuForm final : public TfrmVSTEditorMenu {
public:
    using TfrmVSTEditorMenu::PlaceHeading;
    using TfrmVSTEditorMenu::TfrmVSTEditorMenu;
    void PresetBrowserClosed() override { ++browserClosed; }
    void ddmMenuPopup() override {
        TfrmVSTEditorMenu::ddmMenuPopup();
        if (showOctave)
            MenuItem("ddmMain_LowestOctave").Visible = true;
    }
    int browserClosed = 0;
    bool showOctave = false;
};

// The module's editor during a test: forwards to the form under test.
class FormAdapter final : public IPluginEditor {
public:
    static inline TfrmVSTEditorMenu* form = nullptr;
    static inline gui::WidgetRoot* root = nullptr;

    void PlaceInParent(void*) override {}
    int Width() const override { return kClientWidth; }
    int Height() const override { return kClientHeight; }
    int ClientWidth() const override { return kClientWidth; }
    int ClientHeight() const override { return kClientHeight; }
    void EditorIdle() override {
        if (form != nullptr)
            form->EditorIdle();
    }
    void PresetNameChanged() override {
        if (form != nullptr)
            form->PresetNameChanged();
    }
    void ShowMessage(const TMessage& message) override {
        if (root == nullptr)
            return;
        const auto kind = message.Kind == TMessageKind::Warning ? gui::TMsgDlgType::Warning
                                                                : gui::TMsgDlgType::Information;
        gui::ShowMessageDialog(*root, message.Text, message.Caption, gui::TMsgDlgButtons::OK, kind);
    }
};

inline std::unique_ptr<IEditorForm> MakeFormAdapter(TCustomVSTModule&) {
    return std::make_unique<FormAdapter>();
}

inline gui::Point Centre(const gui::Widget& widget) {
    const gui::Rect r = widget.RootRect();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline gui::Point Centre(const gui::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MenuTest : public ::testing::Test {
protected:
    MenuTest() { ClearUserFolders(); }

    void SetUp() override {
#if defined(_WIN32)
        GTEST_SKIP() << "the user folders are XDG folders here";
#endif
        instance = std::make_unique<Instance>();
        module = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(instance->Effect()));
        ASSERT_NE(module, nullptr);
        BeforeForm();
        OpenForm();
    }

    void TearDown() override {
        CloseForm();
    }

    // Runs before the form is built (a user guide to be found, presets to be listed).
    virtual void BeforeForm() {}

    void OpenForm() {
        module->SetEditorFormClass(&MakeFormAdapter);
        int parent = 0;
        ASSERT_EQ(instance->Dispatch(vst::effEditOpen, 0, 0, &parent), 1);
        root = std::make_unique<gui::WidgetRoot>(kClientWidth, kClientHeight);
        form = &root->EmplaceContent<TTestMenuForm>(*root, *module);
        window = platform::CreateHeadlessWindow(kClientWidth, kClientHeight, *root);
        root->AttachWindow(window.get());
        window->Focus();
        FormAdapter::form = form;
        FormAdapter::root = root.get();
        form->Show();
        window->PumpEvents();
    }

    void CloseForm() {
        FormAdapter::form = nullptr;
        FormAdapter::root = nullptr;
        if (root != nullptr)
            root->AttachWindow(nullptr);
        root.reset();
        window.reset();
        if (instance != nullptr)
            (void)instance->Dispatch(vst::effEditClose);
        form = nullptr;
    }

    // ---- Folders ----
    [[nodiscard]] fs::path PresetsFolder() const {
        return fs::path(module->PresetsFolder());
    }
    [[nodiscard]] fs::path PresetFile(const std::string& name) const {
        return PresetsFolder() / (name + ".quorvatp");
    }
    // A preset file holding the current state under the module's chunk format.
    void SavePresetFile(const std::string& name, const std::vector<std::uint8_t>& chunk) {
        WriteBytes(PresetFile(name), std::string(chunk.begin(), chunk.end()));
    }

    // ---- Mouse ----
    void Click(gui::Point p) {
        window->Click(p);
    }
    void Click(const gui::Widget& widget) {
        Click(Centre(widget));
    }
    void DoubleClick(gui::Point p) {
        window->DoubleClick(p);
    }
    void Advance(int ms) {
        window->AdvanceTime(ms);
    }

    // ---- Main menu ----
    gui::TPopupMenuLayer* MenuView() {
        return form->ddmMenu().View();
    }
    void OpenMenu() {
        Click(form->btnMenu());
        ASSERT_NE(MenuView(), nullptr);
    }
    // Index of the entry `name` in the open panel `level`, or -1.
    int IndexIn(std::size_t level, std::string_view name) {
        const auto& items = MenuView()->Level(level).Items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i]->Name == name)
                return static_cast<int>(i);
        }
        return -1;
    }
    [[nodiscard]] bool Shown(std::size_t level, std::string_view name) {
        return IndexIn(level, name) >= 0;
    }
    // Opens the menu and chooses an entry, hovering over the submenu on the way.
    void Choose(std::string_view submenu, std::string_view entry) {
        OpenMenu();
        std::size_t level = 0;
        if (!submenu.empty()) {
            const int index = IndexIn(0, submenu);
            ASSERT_GE(index, 0) << submenu;
            window->MouseMove(Centre(MenuView()->ItemRect(0, static_cast<std::size_t>(index))));
            ASSERT_EQ(MenuView()->LevelCount(), 2u);
            level = 1;
        }
        const int index = IndexIn(level, entry);
        ASSERT_GE(index, 0) << entry;
        const gui::Point p = Centre(MenuView()->ItemRect(level, static_cast<std::size_t>(index)));
        window->MouseMove(p);
        Click(p);
    }
    void Choose(std::string_view entry) {
        Choose({}, entry);
    }

    // ---- Dialogs ----
    gui::TMessageForm* MessageBox() {
        return dynamic_cast<gui::TMessageForm*>(root->TopOverlay());
    }
    gui::TfrmInputDlg* Prompt() {
        return dynamic_cast<gui::TfrmInputDlg*>(root->TopOverlay());
    }
    gui::TfrmPresets* Browser() {
        return dynamic_cast<gui::TfrmPresets*>(root->TopOverlay());
    }
    // Clicks the message box's button with the given result.
    void Answer(gui::TModalResult result) {
        gui::TMessageForm* box = MessageBox();
        ASSERT_NE(box, nullptr);
        for (std::size_t i = 0; i < box->ButtonCount(); ++i) {
            if (box->Button(i).ModalResult() == result) {
                Click(box->Button(i));
                return;
            }
        }
        FAIL() << "no such button";
    }
    // Answers the name prompt: selects its text, types `text`, clicks OK.
    void TypeName(const std::string& text) {
        gui::TfrmInputDlg* prompt = Prompt();
        ASSERT_NE(prompt, nullptr);
        ASSERT_TRUE(window->KeyDown(platform::Key::LetterA, {false, true, false}));
        (void)window->KeyUp(platform::Key::LetterA, {false, true, false});
        if (!text.empty()) {
            ASSERT_TRUE(window->TypeText(text));
        } else {
            ASSERT_TRUE(window->PressKey(platform::Key::Back));
        }
        Click(prompt->btnOK);
    }
    // Save Preset from the menu, answering the prompt with `text`.
    void SaveAs(const std::string& text) {
        Choose("ddmMenu_SavePreset");
        TypeName(text);
    }

    // The open message box's text (lines joined with LF, as the box breaks them), caption
    // and kind.
    [[nodiscard]] std::string BoxText() {
        gui::TMessageForm* box = MessageBox();
        return box == nullptr ? std::string("<no box>") : box->Message().Caption();
    }
    [[nodiscard]] std::string BoxCaption() {
        gui::TMessageForm* box = MessageBox();
        return box == nullptr ? std::string("<no box>") : box->Caption();
    }
    [[nodiscard]] gui::TMsgDlgType BoxKind() {
        for (const auto& child : MessageBox()->Client().Children()) {
            if (auto* icon = dynamic_cast<gui::TDialogIcon*>(child.get()))
                return icon->Kind();
        }
        ADD_FAILURE() << "no icon";
        return gui::TMsgDlgType::Warning;
    }

    [[nodiscard]] int Automations() const {
        return host.CountRequests(vst::audioMasterAutomate);
    }

    FakeHost host;
    std::unique_ptr<Instance> instance;
    TVSTPlugin* module = nullptr;
    std::unique_ptr<platform::HeadlessWindow> window;
    std::unique_ptr<gui::WidgetRoot> root;
    TTestMenuForm* form = nullptr;
};

} // namespace ostinel::test
