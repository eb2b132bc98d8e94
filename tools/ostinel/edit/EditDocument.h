#pragma once
// The file being edited in `ostinel edit`: where the state is saved, whether the plug-in's state
// differs from what was last loaded or saved, and what closing the window does. No windows
// here; the state is read through a callback (the plug-in's effGetChunk), so the rules can be
// tested without a plug-in.
//
// Unsaved means: the state bytes differ from the bytes taken right after the load or the last
// save. The plug-in's own form of a file is the reference, so a file in another encoding does
// not count as changed before anything was edited.
#include "preset/PresetState.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::edit {

using StateReader = std::function<std::vector<std::uint8_t>()>;

enum class CloseAnswer : std::uint8_t { Yes, No, Cancel };

struct CloseOutcome {
    enum class Step : std::uint8_t {
        Close, // the window may go
        Ask,   // ask QuestionText() with Yes / No / Cancel, then call Answer()
        Stay,  // keep editing (Cancel, or the save failed: `error` says why)
    };
    Step step = Step::Close;
    std::string error;
};

class EditDocument {
public:
    // `file`: where saves go (nullopt: nowhere; the window then closes without asking).
    // `container`: the form saves keep (a bank chunk stays a bank chunk).
    EditDocument(std::optional<std::filesystem::path> file, cli::Container container,
                 StateReader read);

    // The preset name the loaded file had. The plug-in forgets the name of a state loaded by
    // the host unless a preset of that name lies in its presets folder; saving the file must
    // not drop it, so it is written back while the state has no name of its own.
    void KeepPresetName(std::string name) { keptName_ = std::move(name); }

    // The state now is the saved one (call once the instance holds the loaded state).
    void MarkSaved();
    // Reads the state again; true when the unsaved mark changed.
    bool Refresh();
    [[nodiscard]] bool Dirty() const { return dirty_; }

    [[nodiscard]] bool HasFile() const { return file_.has_value(); }
    [[nodiscard]] const std::optional<std::filesystem::path>& File() const { return file_; }
    // The file name (UTF-8), or "(no file)".
    [[nodiscard]] std::string DisplayName() const;
    // "name.quorvatp* - Ostinel" with unsaved changes, "name.quorvatp - Ostinel" without.
    [[nodiscard]] std::string Title() const;
    // "Save changes to name.quorvatp?"
    [[nodiscard]] std::string QuestionText() const;

    // Writes the current state to the file: a temporary file beside it, renamed over it, so
    // a failure keeps the old file. nullopt on success, else the message.
    [[nodiscard]] std::optional<std::string> Save();

    [[nodiscard]] CloseOutcome RequestClose();
    [[nodiscard]] CloseOutcome Answer(CloseAnswer answer);

private:
    [[nodiscard]] std::vector<std::uint8_t> FileBytes(const std::vector<std::uint8_t>& state) const;

    std::optional<std::filesystem::path> file_;
    cli::Container container_;
    StateReader read_;
    std::string keptName_;
    std::vector<std::uint8_t> saved_;
    bool dirty_ = false;
};

} // namespace ostinel::edit
