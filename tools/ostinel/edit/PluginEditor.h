#pragma once
// The plug-in binary hosted for `ostinel edit`, as a host hosts it: loaded, one instance
// created, opened and switched on (effOpen, sample rate, block size, effMainsChanged), the
// preset given with effSetChunk; effClose when destroyed. The editor is opened and closed by
// the window that shows it.
#include "edit/EditedPlugin.h"
#include "vsthost/Host.h"
#include "vsthost/PluginInstance.h"
#include "vsthost/PluginLibrary.h"

#include <filesystem>
#include <memory>
#include <span>

namespace ostinel::edit {

class PluginEditor final : public IEditedPlugin {
public:
    // Throws HostError when the binary cannot be loaded or refuses an instance.
    explicit PluginEditor(const std::filesystem::path& binary);
    ~PluginEditor() override;
    PluginEditor(const PluginEditor&) = delete;
    PluginEditor& operator=(const PluginEditor&) = delete;

    // effSetChunk: a preset (program) chunk, or a bank chunk when `isPreset` is false.
    void LoadState(std::span<const std::uint8_t> chunk, bool isPreset);

    [[nodiscard]] std::optional<EditorSize> EditorRect() override;
    void OpenEditor(void* parent) override;
    void IdleEditor() override;
    void CloseEditor() override;
    [[nodiscard]] std::vector<std::uint8_t> State() override;

private:
    // Declared first: the library and the host outlive the instance made from them.
    std::unique_ptr<vsthost::PluginLibrary> library_;
    vsthost::Host host_;
    std::unique_ptr<vsthost::PluginInstance> instance_;
    bool editorOpen_ = false;
};

} // namespace ostinel::edit
