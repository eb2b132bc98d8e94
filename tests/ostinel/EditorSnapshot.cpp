#include "ostinel/EditorSnapshot.h"

#include "editor/map/Editor.h"
#include "editor/map/MapGridLayout.h"
#include "editor/map/QelDrawGrid.h"
#include "gui/controls/PopupMenuLayer.h"
#include "gui/controls/QelMenuButton.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/widgets/WidgetRoot.h"
#include "ostinel/EditorWindow.h"
#include "ostinel/VSTPlugin.h"
#include "platform/headless/HeadlessWindow.h"
#include "support/FakeHost.h"
#include "support/PluginInstance.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace ostinel::test {

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 7> kSceneNames = {
    "default", "drums", "cell-menu", "channel-menu", "main-menu", "preset-browser", "set-all"};

constexpr int kDrumChannel = 9; // channel 10, 0-based
constexpr int kDrumFrom = 36;
constexpr int kDrumTo = 51;
constexpr int kKick = 36;
constexpr int kSnare = 38;
constexpr int kClosedHat = 42;

gui::Point Centre(const gui::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A 16-pad drum machine on channel 10 as the "Audio Damage Tattoo" template leaves it (range
// 36..51, every pad onto itself, four pads silenced), then layered by hand: the kick doubled
// an octave down and softer, the snare with a ghost note that plays half the time, the closed
// hi-hat with a random velocity.
void MapDrums(TVSTPlugin& module) {
    TOstinel& map = module.MapStore().Edit();
    map.SetSelectedChannel(kDrumChannel);
    TOstinelChannel& drums = map[kDrumChannel];
    drums.SetActive(true);
    drums.SetRangeFrom(kDrumFrom);
    drums.SetRangeTo(kDrumTo);
    for (const int silenced : {44, 47, 48, 50})
        for (int t = 0; t < 3; ++t)
            drums.Notes[silenced].Targets[t].SetNote(-1);
    TOstinToItem& kickLayer = drums.Notes[kKick].Targets[1];
    kickLayer.SetNote(kKick - 12);
    kickLayer.SetVelocityScale(-30);
    TOstinToItem& ghost = drums.Notes[kSnare].Targets[1];
    ghost.SetNote(40);
    ghost.SetVelocityScale(-60);
    ghost.SetProbability(50);
    TOstinToItem& hat = drums.Notes[kClosedHat].Targets[0];
    hat.SetVelocityScale(-20);
    hat.SetRandom(40);
    TOstinToItem& ride = drums.Notes[kClosedHat].Targets[2];
    ride.SetNote(51);
    ride.SetChannel(11);
    ride.SetProbability(25);
    module.SetPresetName("Drum Kit 10");
}

// The open popup menu of the editor's root, or an error.
gui::TPopupMenuLayer& OpenMenu(gui::WidgetRoot& root) {
    auto* menu = dynamic_cast<gui::TPopupMenuLayer*>(root.TopOverlay());
    if (menu == nullptr)
        throw std::runtime_error("no menu opened");
    return *menu;
}

// Hovers the entry of the open menu's `level` that matches `pick` and has a submenu.
template <class Pick>
void Unfold(gui::WidgetRoot& root, platform::HeadlessWindow& window, std::size_t level, Pick pick) {
    gui::TPopupMenuLayer& menu = OpenMenu(root);
    const auto& items = menu.Level(level).Items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i]->Count() > 0 && pick(*items[i])) {
            window.MouseMove(Centre(menu.ItemRect(level, i)));
            if (menu.LevelCount() != level + 2)
                throw std::runtime_error("a submenu did not open");
            return;
        }
    }
    throw std::runtime_error("no such submenu");
}

void UnfoldCaption(gui::WidgetRoot& root, platform::HeadlessWindow& window, std::size_t level,
                   std::string_view caption) {
    Unfold(root, window, level,
           [caption](const gui::TMenuItem& item) { return item.Caption == caption; });
}

// Before the editor opens: what the scene needs in the state and in the user's folders.
void Prepare(TVSTPlugin& module, SnapshotScene scene) {
    switch (scene) {
    case SnapshotScene::Drums:
    case SnapshotScene::CellMenu:
    case SnapshotScene::ChannelMenu:
        MapDrums(module);
        break;
    case SnapshotScene::MainMenu:
        // The entry "Open User Guide" shows only when the guide is there.
        WriteFile(fs::path(module.UserFolder()) / module.UserGuideFile(), "%PDF-1.4\n");
        break;
    case SnapshotScene::PresetBrowser:
        for (const char* name : {"Arp Fifths", "Bass Octaves", "Chords Minor", "Drum Kit 10",
                                 "Lead Thirds", "Pad Wide", "init"})
            WriteFile(module.PresetPath(name), "x");
        module.SetPresetName("Drum Kit 10");
        break;
    case SnapshotScene::Default:
    case SnapshotScene::SetAll:
        break;
    }
}

// With the editor open: the user's clicks and hovers that lead to the picture.
void Act(Instance& plugin, TEditorWindow& editor, platform::HeadlessWindow& window,
         SnapshotScene scene) {
    TfrmEditor& form = editor.Form();
    gui::WidgetRoot& root = editor.Root();
    TQelDrawGrid& grid = form.grdMap();
    const auto cellCentre = [&](int col, int note) {
        const int row = RowOfNote(note, grid.RowCount(), form.GridFrom());
        const gui::Rect r = grid.CellRect(col, row);
        return grid.ToRoot(Centre(r));
    };
    switch (scene) {
    case SnapshotScene::Drums: {
        // Two pads held down: their note labels light up.
        EventList events;
        constexpr auto kNoteOn = static_cast<std::uint8_t>(0x90 | kDrumChannel);
        events.Add(kNoteOn, kKick, 110).Add(kNoteOn, kClosedHat, 80);
        plugin.Block(events);
        break;
    }
    case SnapshotScene::CellMenu:
        window.Click(cellCentre(TargetFirstColumn(1) + 1, kSnare), gui::MouseButton::Right);
        Unfold(root, window, 0, [](const gui::TMenuItem& item) { return item.Checked; });
        break;
    case SnapshotScene::ChannelMenu:
        window.Click(Centre(form.btnChannelMenu().RootRect()));
        UnfoldCaption(root, window, 0, "Input Templates");
        break;
    case SnapshotScene::MainMenu:
        window.Click(Centre(form.btnMenu().RootRect()));
        UnfoldCaption(root, window, 0, "Skin");
        break;
    case SnapshotScene::PresetBrowser:
        window.Click(Centre(form.btnPresets().RootRect()));
        if (root.TopOverlay() == nullptr)
            throw std::runtime_error("the preset browser did not open");
        break;
    case SnapshotScene::SetAll: {
        window.Click(cellCentre(TargetFirstColumn(0) + 3, 127), gui::MouseButton::Right);
        gui::TPopupMenuLayer& menu = OpenMenu(root);
        const auto& items = menu.Level(0).Items;
        const auto setAll = std::find_if(items.begin(), items.end(), [](const auto* item) {
            return item->Caption == "Set All";
        });
        if (setAll == items.end())
            throw std::runtime_error("no Set All entry");
        const gui::Point p = Centre(
            menu.ItemRect(0, static_cast<std::size_t>(std::distance(items.begin(), setAll))));
        window.MouseMove(p);
        window.Click(p);
        break;
    }
    case SnapshotScene::Default:
        break;
    }
}

} // namespace

std::span<const std::string_view> SnapshotSceneNames() {
    return kSceneNames;
}

std::optional<SnapshotScene> SnapshotSceneByName(std::string_view name) {
    const auto found = std::find(kSceneNames.begin(), kSceneNames.end(), name);
    if (found == kSceneNames.end())
        return std::nullopt;
    return static_cast<SnapshotScene>(std::distance(kSceneNames.begin(), found));
}

gui::Image SnapshotEditor(const SnapshotOptions& options) {
    FakeHost host;
    Instance plugin;
    auto* module = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(plugin.Effect()));
    if (module == nullptr) {
        throw std::runtime_error("the entry point made no Ostinel module");
    }
    module->SetStyle(options.skin);
    if (options.loadError) {
        (void)plugin.SetChunk(BadChunk(), true);
    }
    Prepare(*module, options.scene);
    int parent = 0; // any handle: a headless window lives nowhere
    if (plugin.Dispatch(vst::effEditOpen, 0, 0, &parent) != 1) {
        throw std::runtime_error("effEditOpen failed");
    }
    auto* editor = dynamic_cast<TEditorWindow*>(module->EditorForm());
    auto* window =
        editor != nullptr ? dynamic_cast<platform::HeadlessWindow*>(editor->Window()) : nullptr;
    if (window == nullptr) {
        throw std::runtime_error("the editor has no headless window");
    }
    (void)plugin.Dispatch(vst::effEditIdle);
    Act(plugin, *editor, *window, options.scene);
    (void)plugin.Dispatch(vst::effEditIdle);
    window->AdvanceTime(options.idleMs);
    (void)plugin.Dispatch(vst::effEditIdle);
    gui::Image pixels = window->Screen();
    (void)plugin.Dispatch(vst::effEditClose);
    return pixels;
}

} // namespace ostinel::test
