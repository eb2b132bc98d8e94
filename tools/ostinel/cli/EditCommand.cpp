#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/PluginLocation.h"
#include "common/Utf.h"
#include "edit/EditDocument.h"
#include "edit/EditWindow.h"
#include "edit/PluginEditor.h"
#include "preset/PresetState.h"

#include <ostream>

namespace ostinel::cli {

int RunEdit(std::span<const std::string> args, Console& console) {
    const Arguments a(args, {{"--output", "-o"}, {"--plugin"}});
    if (a.Help()) {
        console.out << kEditHelp;
        return kExitOk;
    }
    a.ExpectPositional(0, 1, "at most one preset file to edit");

    // Everything that can be wrong with the command line or the file is found before any
    // window opens.
    std::optional<std::filesystem::path> input;
    std::vector<std::uint8_t> preset;
    Container container = Container::Preset;
    std::string presetName;
    if (!a.Positional().empty()) {
        input = PathFromUtf8(a.Positional()[0]);
        preset = ReadFileBytes(*input);
        try {
            const PresetState state = ReadPreset(preset);
            container = state.container;
            presetName = state.name;
        } catch (const Error& e) {
            throw Error(PathText(*input) + ": " + e.what());
        }
    }
    std::optional<std::filesystem::path> target = input;
    if (const auto v = a.Value("--output")) {
        target = PathFromUtf8(*v);
        std::error_code ec;
        if (std::filesystem::is_directory(*target, ec))
            throw Error("\"" + PathText(*target) + "\" is a folder, not a file");
    }
    std::optional<std::filesystem::path> given;
    if (const auto v = a.Value("--plugin"))
        given = PathFromUtf8(*v);

    edit::PluginEditor plugin(ResolvePluginPath(given));
    if (input) {
        // A bank chunk goes in as the host's bank, which is how the plug-in reads it.
        plugin.LoadState(preset, container == Container::Preset);
    }
    edit::EditDocument document(target, container, [&plugin] { return plugin.State(); });
    document.KeepPresetName(presetName);
    document.MarkSaved();
    edit::EditWindow window(plugin, document, console.out);
    window.Run();
    return kExitOk;
}

} // namespace ostinel::cli
