#include "edit/PluginEditor.h"

#include "vsthost/HostError.h"

namespace ostinel::edit {

PluginEditor::PluginEditor(const std::filesystem::path& binary)
    : library_(std::make_unique<vsthost::PluginLibrary>(binary)),
      instance_(std::make_unique<vsthost::PluginInstance>(*library_, host_)) {
    if ((instance_->Effect()->flags & vst::effFlagsHasEditor) == 0) {
        throw vsthost::HostError("the plug-in has no editor");
    }
}

PluginEditor::~PluginEditor() {
    CloseEditor();
}

void PluginEditor::LoadState(std::span<const std::uint8_t> chunk, bool isPreset) {
    instance_->SetChunk(chunk, isPreset);
}

std::optional<EditorSize> PluginEditor::EditorRect() {
    vst::ERect* rect = nullptr;
    if (instance_->Dispatch(vst::effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
        return std::nullopt;
    }
    const EditorSize size{rect->right - rect->left, rect->bottom - rect->top};
    if (size.width < 1 || size.height < 1) {
        return std::nullopt;
    }
    return size;
}

void PluginEditor::OpenEditor(void* parent) {
    if (instance_->Dispatch(vst::effEditOpen, 0, 0, parent) == 0) {
        throw vsthost::HostError("the plug-in did not open its editor");
    }
    editorOpen_ = true;
}

void PluginEditor::IdleEditor() {
    if (editorOpen_) {
        (void)instance_->Dispatch(vst::effEditIdle);
    }
}

void PluginEditor::CloseEditor() {
    if (editorOpen_) {
        editorOpen_ = false;
        (void)instance_->Dispatch(vst::effEditClose);
    }
}

std::vector<std::uint8_t> PluginEditor::State() {
    return instance_->GetChunk(true);
}

} // namespace ostinel::edit
