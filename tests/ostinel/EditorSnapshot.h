#pragma once
// Renders the plug-in's editor the way a host opens it: a fresh instance through the entry
// point, effEditOpen with a headless parent, host idle calls, and the pixels the window then
// shows. For tests, the user guide's pictures and the README's (the ostinel_editor_snapshot
// tool); all link the headless platform.
// The caller keeps the user's folders out of the way (the instance reads and writes settings).
#include "graphics/Image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ostinel::test {

// What the picture shows. Every scene is reached through the editor's own controls (clicks
// and hovers at the controls' places), after a state that a host load could have brought.
enum class SnapshotScene {
    Default,       // the default map, channel 1
    Drums,         // channel 10 fitted to a 16-pad drum machine, layered pads, two held notes
    CellMenu,      // the Note menu of a cell open, its checked group unfolded
    ChannelMenu,   // the channel menu open with Input Templates unfolded
    MainMenu,      // the main menu open with Skin unfolded (a user guide present)
    PresetBrowser, // the preset browser over a few presets
    SetAll,        // the Set All dialog of a Random cell
};

struct SnapshotOptions {
    int skin = 0;              // the module's Style (0 Carbon ... 4 Smokey; others Carbon)
    bool loadError = false;    // a host chunk that fails to load arrives before the editor opens
    std::int64_t idleMs = 250; // time the window runs (timers, repaints) before the picture
    SnapshotScene scene = SnapshotScene::Default;
};

// The scenes by their command-line names ("default", "drums", "cell-menu", ...).
[[nodiscard]] std::span<const std::string_view> SnapshotSceneNames();
[[nodiscard]] std::optional<SnapshotScene> SnapshotSceneByName(std::string_view name);

// A preset chunk (effSetChunk, index 1) with a wrong chunk id: loading it fails with
// "Invalid chunk id".
[[nodiscard]] inline std::vector<std::uint8_t> BadChunk() {
    return {'X', 'X', 'X', 'X', 0, 0, 0, 4, 'T', 'P', 'F', '0'};
}

// Throws std::runtime_error when the editor does not open in a headless window or a scene's
// control does not answer as expected.
[[nodiscard]] gui::Image SnapshotEditor(const SnapshotOptions& options);

} // namespace ostinel::test
