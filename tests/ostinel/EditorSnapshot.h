#pragma once
// Renders the plug-in's editor the way a host opens it: a fresh instance through the entry
// point, effEditOpen with a headless parent, host idle calls, and the pixels the window then
// shows. For tests and the ostinel_editor_snapshot tool (both link the headless platform).
// The caller keeps the user's folders out of the way (the instance reads and writes settings).
#include "graphics/Image.h"

#include <cstdint>
#include <vector>

namespace ostinel::test {

struct SnapshotOptions {
    int skin = 0;              // the module's Style (0 Carbon ... 4 Smokey; others Carbon)
    bool loadError = false;    // a host chunk that fails to load arrives before the editor opens
    std::int64_t idleMs = 250; // time the window runs (timers, repaints) before the picture
};

// A preset chunk (effSetChunk, index 1) with a wrong chunk id: loading it fails with
// "Invalid chunk id".
[[nodiscard]] inline std::vector<std::uint8_t> BadChunk() {
    return {'X', 'X', 'X', 'X', 0, 0, 0, 4, 'T', 'P', 'F', '0'};
}

// Throws std::runtime_error when the editor does not open in a headless window.
[[nodiscard]] gui::Image SnapshotEditor(const SnapshotOptions& options);

} // namespace ostinel::test
