#include "edit/EditDocument.h"

#include "common/Error.h"

namespace ostinel::edit {

EditDocument::EditDocument(std::optional<std::filesystem::path> file, cli::Container container,
                           StateReader read)
    : file_(std::move(file)), container_(container), read_(std::move(read)) {}

void EditDocument::MarkSaved() {
    saved_ = read_();
    dirty_ = false;
}

bool EditDocument::Refresh() {
    const bool dirty = read_() != saved_;
    const bool changed = dirty != dirty_;
    dirty_ = dirty;
    return changed;
}

std::string EditDocument::DisplayName() const {
    if (!file_) {
        return "(no file)";
    }
    return cli::PathText(file_->filename());
}

std::string EditDocument::Title() const {
    return DisplayName() + (dirty_ && file_ ? "*" : "") + " - Ostinel";
}

std::string EditDocument::QuestionText() const {
    return "Save changes to " + DisplayName() + "?";
}

std::vector<std::uint8_t> EditDocument::FileBytes(const std::vector<std::uint8_t>& state) const {
    if (state.empty()) {
        throw Error("the plug-in returned no state");
    }
    if (container_ == cli::Container::Preset && keptName_.empty()) {
        return state;
    }
    cli::PresetState preset = cli::ReadPreset(state);
    preset.container = container_;
    if (preset.name.empty()) {
        preset.name = keptName_;
    }
    return cli::WritePreset(preset);
}

std::optional<std::string> EditDocument::Save() {
    if (!file_) {
        return "There is no file to save to: start 'ostinel edit' with a file or with "
               "--output FILE. Save Preset in the editor's menu saves into the presets folder.";
    }
    try {
        const std::vector<std::uint8_t> state = read_();
        cli::WriteFileBytes(*file_, FileBytes(state));
        saved_ = state;
        dirty_ = false;
        return std::nullopt;
    } catch (const std::exception& e) {
        Refresh();
        return "Cannot save " + cli::PathText(*file_) + ": " + e.what();
    }
}

CloseOutcome EditDocument::RequestClose() {
    Refresh();
    if (!file_ || !dirty_) {
        return {};
    }
    return {CloseOutcome::Step::Ask, {}};
}

CloseOutcome EditDocument::Answer(CloseAnswer answer) {
    switch (answer) {
    case CloseAnswer::Yes:
        if (auto error = Save()) {
            return {CloseOutcome::Step::Stay, std::move(*error)};
        }
        return {};
    case CloseAnswer::No:
        return {};
    case CloseAnswer::Cancel:
        break;
    }
    return {CloseOutcome::Step::Stay, {}};
}

} // namespace ostinel::edit
