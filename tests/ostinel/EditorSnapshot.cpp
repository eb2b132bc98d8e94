#include "ostinel/EditorSnapshot.h"

#include "ostinel/EditorWindow.h"
#include "ostinel/VSTPlugin.h"
#include "platform/headless/HeadlessWindow.h"
#include "support/FakeHost.h"
#include "support/PluginInstance.h"

#include <stdexcept>

namespace ostinel::test {

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
    window->AdvanceTime(options.idleMs);
    (void)plugin.Dispatch(vst::effEditIdle);
    gui::Image pixels = window->Screen();
    (void)plugin.Dispatch(vst::effEditClose);
    return pixels;
}

} // namespace ostinel::test
