// Renders the plug-in's editor to a PNG, headless, through the plug-in's entry point.
// Usage: ostinel_editor_snapshot [--skin N] [--scene NAME] [--load-error] OUTPUT.png
// The scenes are the user guide's and the README's pictures (see EditorSnapshot.h).
// The instance's settings and presets live in a temporary folder, removed afterwards; the
// user's own are never read or written.
#include "graphics/Png.h"
#include "ostinel/EditorSnapshot.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: ostinel_editor_snapshot [--skin N] [--scene NAME] [--load-error] "
                         "OUTPUT.png\nscenes:");
    for (const std::string_view name : ostinel::test::SnapshotSceneNames())
        std::fprintf(stderr, " %.*s", static_cast<int>(name.size()), name.data());
    std::fprintf(stderr, "\n");
    return 2;
}

// Points the per-user folders into a fresh temporary folder for the life of the object.
class PrivateUserFolders {
public:
    PrivateUserFolders() {
        namespace fs = std::filesystem;
        std::random_device random;
        root_ = fs::temp_directory_path() / ("ostinel-snapshot-" + std::to_string(random()));
        fs::create_directories(root_ / "Documents");
        fs::create_directories(root_ / "config");
        setenv("HOME", root_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (root_ / "Documents").c_str(), 1);
    }
    ~PrivateUserFolders() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    PrivateUserFolders(const PrivateUserFolders&) = delete;
    PrivateUserFolders& operator=(const PrivateUserFolders&) = delete;

private:
    std::filesystem::path root_;
};

} // namespace

int main(int argc, char** argv) {
    ostinel::test::SnapshotOptions options;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--skin" && i + 1 < argc) {
            char* end = nullptr;
            const long skin = std::strtol(argv[++i], &end, 10);
            if (end == argv[i] || *end != '\0' || skin < -1000 || skin > 1000) {
                return Usage();
            }
            options.skin = static_cast<int>(skin);
        } else if (arg == "--scene" && i + 1 < argc) {
            const auto scene = ostinel::test::SnapshotSceneByName(argv[++i]);
            if (!scene) {
                return Usage();
            }
            options.scene = *scene;
        } else if (arg == "--load-error") {
            options.loadError = true;
        } else if (output.empty() && !arg.empty() && arg[0] != '-') {
            output = arg;
        } else {
            return Usage();
        }
    }
    if (output.empty()) {
        return Usage();
    }
    try {
        const PrivateUserFolders folders;
        const ostinel::gui::Image pixels = ostinel::test::SnapshotEditor(options);
        const std::filesystem::path path(output);
        if (path.has_parent_path()) {
            std::filesystem::create_directories(path.parent_path());
        }
        ostinel::gui::SavePng(pixels, path);
        std::printf("wrote %s (%d x %d)\n", output.c_str(), pixels.Width(), pixels.Height());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ostinel_editor_snapshot: %s\n", e.what());
        return 1;
    }
}
