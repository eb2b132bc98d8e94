#pragma once
// The plug-in's map editor as a host opens it (effEditOpen with a headless parent, effEditIdle
// pumping the window), with a user's hands: presses, drags and wheel turns at exact pixels of
// the grid and the header, menu entries chosen with the mouse, dialogs answered with their
// buttons. The module is reachable for what only the host or the MIDI input can do.
#include "common/QelCommon.h"
#include "editor/map/CellValues.h"
#include "editor/map/Editor.h"
#include "editor/map/QelDrawGrid.h"
#include "gui/controls/Button.h"
#include "gui/controls/Label.h"
#include "gui/controls/PopupMenuLayer.h"
#include "gui/controls/QelGuiStitchedSwitch.h"
#include "gui/controls/QelMenuButton.h"
#include "gui/controls/QelNumericEdit.h"
#include "gui/controls/QelNumericInput.h"
#include "gui/controls/QelPopupMenu.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/dialogs/InputDlgNumeric.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/widgets/WidgetRoot.h"
#include "ostinel/EditorWindow.h"
#include "ostinel/VSTPlugin.h"
#include "platform/headless/HeadlessWindow.h"
#include "support/FakeHost.h"
#include "support/PluginInstance.h"
#include "support/UserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ostinel::test {

namespace fs = std::filesystem;

inline gui::Point Centre(const gui::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// One plug-in instance through the entry point, its editor open.
class EditorSession {
public:
    EditorSession() {
        instance = std::make_unique<Instance>();
        module = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(instance->Effect()));
    }

    void Open() {
        int parent = 0;
        ASSERT_EQ(instance->Dispatch(vst::effEditOpen, 0, 0, &parent), 1);
        Idle();
    }
    void Close() { (void)instance->Dispatch(vst::effEditClose); }
    void Idle() { (void)instance->Dispatch(vst::effEditIdle); }

    TEditorWindow& Editor() { return *dynamic_cast<TEditorWindow*>(module->EditorForm()); }
    TfrmEditor& Form() { return Editor().Form(); }
    gui::WidgetRoot& Root() { return Editor().Root(); }
    platform::HeadlessWindow& Window() {
        return *dynamic_cast<platform::HeadlessWindow*>(Editor().Window());
    }
    TOstinel& Map() { return module->MapStore().Edit(); }
    TOstinelChannel& Channel(int c = 0) { return Map()[c]; }
    TOstinToItem& Target(int note, int index, int c = 0) {
        return Map()[c].Notes[note].Targets[index];
    }

    // MIDI from the host, then the host's idle call that hands it to the editor.
    void Play(std::initializer_list<MidiOut> in) {
        EventList events;
        for (const MidiOut& e : in)
            events.Add(e.status, e.data1, e.data2, e.deltaFrames);
        instance->Block(events, 64);
    }

    std::unique_ptr<Instance> instance;
    TVSTPlugin* module = nullptr;
};

class MapEditorTest : public ::testing::Test {
protected:
    MapEditorTest() { ClearUserFolders(); }

    void SetUp() override {
        session = std::make_unique<EditorSession>();
        ASSERT_NE(session->module, nullptr);
        BeforeOpen();
        session->Open();
    }
    void TearDown() override {
        if (session)
            session->Close();
    }
    // Runs before the editor opens (user files, a state).
    virtual void BeforeOpen() {}

    // ---- Shortcuts ----
    TVSTPlugin& Module() { return *session->module; }
    TfrmEditor& Form() { return session->Form(); }
    TQelDrawGrid& Grid() { return Form().grdMap(); }
    gui::WidgetRoot& Root() { return session->Root(); }
    platform::HeadlessWindow& Window() { return session->Window(); }
    TOstinel& Map() { return session->Map(); }
    TOstinelChannel& Channel(int c = 0) { return session->Channel(c); }
    TOstinToItem& Target(int note, int index, int c = 0) { return session->Target(note, index, c); }
    void Idle() { session->Idle(); }
    [[nodiscard]] int Automations() const { return host.CountRequests(vst::audioMasterAutomate); }
    [[nodiscard]] std::string Info() { return Form().lblInfo().Caption(); }

    // ---- Grid geometry (root coordinates) ----
    gui::Rect CellRootRect(int col, int row) {
        const gui::Rect r = Grid().CellRect(col, row);
        const gui::Point tl = Grid().ToRoot({r.left, r.top});
        return gui::Rect::FromSize(tl.x, tl.y, r.Width(), r.Height());
    }
    gui::Point CellCentre(int col, int row) { return Centre(CellRootRect(col, row)); }
    // The row showing a source note.
    int RowOf(int note) { return RowOfNote(note, Grid().RowCount(), Form().GridFrom()); }
    // Column of a target's cell kind: 1 Ch, 2 Note, 3 Scale, 4 Rnd, 5 Prob.
    static int Col(int targetIndex, int kindOffset) { return 1 + 5 * targetIndex + kindOffset - 1; }

    // ---- Mouse ----
    void Click(gui::Point p, gui::MouseButton b = gui::MouseButton::Left, gui::Modifiers m = {}) {
        Window().Click(p, b, m);
    }
    void Click(const gui::Widget& w) { Click(Centre(w.RootRect())); }
    // A left press at `from`, `moves` move events each `dy` pixels apart, the release.
    void Drag(gui::Point from, int moves, int dy, gui::Modifiers mods = {}) {
        Window().MouseDown(from, gui::MouseButton::Left, mods);
        gui::Point p = from;
        for (int i = 0; i < moves; ++i) {
            p.y += dy;
            Window().MouseMove(p, mods);
        }
        Window().MouseUp(p, gui::MouseButton::Left, mods);
    }
    void Wheel(gui::Point p, int notches, gui::Modifiers mods = {}) {
        for (int i = 0; i < std::abs(notches); ++i)
            Window().MouseWheel(p, notches > 0 ? 120 : -120, mods);
    }
    // Paints what is pending, so the next action's repaint requests stand alone.
    void Flush() {
        Root().Update();
        Idle();
    }
    [[nodiscard]] std::vector<gui::Rect> Dirty() { return Root().DirtyRects(); }

    // ---- Menus ----
    gui::TPopupMenuLayer* MenuView() {
        return dynamic_cast<gui::TPopupMenuLayer*>(Root().TopOverlay());
    }
    int IndexIn(std::size_t level, std::string_view caption) {
        const auto& items = MenuView()->Level(level).Items;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i]->Caption == caption)
                return static_cast<int>(i);
        return -1;
    }
    // In the open menu, hovers through the submenus of `path` and clicks its last entry.
    void Choose(std::initializer_list<std::string_view> path) {
        ASSERT_NE(MenuView(), nullptr) << "no menu open";
        std::size_t level = 0;
        std::size_t n = 0;
        for (std::string_view caption : path) {
            const int index = IndexIn(level, caption);
            ASSERT_GE(index, 0) << caption;
            const gui::Point p =
                Centre(MenuView()->ItemRect(level, static_cast<std::size_t>(index)));
            Window().MouseMove(p);
            if (++n == path.size()) {
                Click(p);
                return;
            }
            ASSERT_EQ(MenuView()->LevelCount(), level + 2) << caption;
            ++level;
        }
    }
    // The entry `caption` anywhere in a menu's tree.
    static gui::TMenuItem* Find(gui::TMenuItem& parent, std::string_view caption) {
        for (std::size_t i = 0; i < parent.Count(); ++i) {
            gui::TMenuItem& item = parent.Items(i);
            if (item.Caption == caption)
                return &item;
            if (gui::TMenuItem* found = Find(item, caption))
                return found;
        }
        return nullptr;
    }
    // Captions of the checked entries, depth first.
    static void Checked(const gui::TMenuItem& parent, std::vector<std::string>& out) {
        for (std::size_t i = 0; i < parent.Count(); ++i) {
            const gui::TMenuItem& item = parent.Items(i);
            if (item.Checked)
                out.push_back(item.Caption);
            Checked(item, out);
        }
    }
    static std::vector<std::string> Checked(gui::TQelPopupMenu& menu) {
        std::vector<std::string> out;
        Checked(menu.Items(), out);
        return out;
    }
    // Right press on a grid cell (opens its menu).
    void RightPress(int col, int row) {
        Window().MouseDown(CellCentre(col, row), gui::MouseButton::Right);
        Window().MouseUp(CellCentre(col, row), gui::MouseButton::Right);
    }

    // ---- Dialogs ----
    gui::TMessageForm* MessageBox() {
        return dynamic_cast<gui::TMessageForm*>(Root().TopOverlay());
    }
    gui::TfrmInputDlgNumeric* NumberPrompt() {
        return dynamic_cast<gui::TfrmInputDlgNumeric*>(Root().TopOverlay());
    }
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
    [[nodiscard]] std::string BoxText() {
        gui::TMessageForm* box = MessageBox();
        return box == nullptr ? std::string("<no box>") : box->Message().Caption();
    }
    [[nodiscard]] std::string BoxCaption() {
        gui::TMessageForm* box = MessageBox();
        return box == nullptr ? std::string("<no box>") : box->Caption();
    }
    // Types a number into the open number prompt and confirms it with Enter.
    void EnterNumber(const std::string& text) {
        gui::TfrmInputDlgNumeric* prompt = NumberPrompt();
        ASSERT_NE(prompt, nullptr);
        ASSERT_TRUE(Window().KeyDown(platform::Key::LetterA, {false, true, false}));
        (void)Window().KeyUp(platform::Key::LetterA, {false, true, false});
        ASSERT_TRUE(Window().TypeText(text));
        (void)Window().PressKey(platform::Key::Return);
    }

    [[nodiscard]] static fs::path UserFolder(const TVSTPlugin& module) {
        return fs::path(module.UserFolder());
    }
    static void WriteText(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    FakeHost host;
    std::unique_ptr<EditorSession> session;
};

} // namespace ostinel::test
