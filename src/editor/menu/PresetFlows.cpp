// The preset flows of the heading: save the state under a name, load a preset chosen in the
// browser. Both run on the GUI thread and carry on in the dialogs' callbacks.
#include "common/QelCommon.h"
#include "editor/menu/PresetFile.h"
#include "editor/menu/VSTEditorMenu.h"
#include "gui/dialogs/InputDlg.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/dialogs/PresetsForm.h"
#include "gui/widgets/WidgetRoot.h"
#include "platform/System.h"
#include "services/VSTPluginBase.h"
#include "state/MemoryStream.h"
#include "state/MemoryStreamChunk.h"

#include <algorithm>

namespace ostinel {

namespace {

constexpr int kPresetNameMaxLength = 50;

void ShowWarning(gui::WidgetRoot& root, const TMessage& message) {
    gui::ShowMessageDialog(root, message.Text, message.Caption, gui::TMsgDlgButtons::OK,
                           gui::TMsgDlgType::Warning);
}

} // namespace

void TfrmVSTEditorMenu::SavePresetAs() {
    gui::InputText(OwnerRoot(), "Save Preset", "Name", owner_.PresetName(), kPresetNameMaxLength,
                   true,
                   [this, alive = std::weak_ptr<int>(alive_)](bool ok, const std::string& value) {
                       if (!alive.expired() && ok) {
                           SavePresetNamed(value);
                       }
                   });
}

void TfrmVSTEditorMenu::SavePresetNamed(const std::string& typed) {
    std::string name;
    std::string path;
    try {
        name = MakePresetFileName(typed);
        if (name.empty()) {
            if (!owner_.PresetName().empty()) {
                owner_.SetPresetName({});
                owner_.NotifyHostOfChange();
            }
            return;
        }
        path = owner_.PresetPath(name);
        if (!FileExistsSafe(path)) {
            WritePreset(name, path);
            return;
        }
    } catch (const std::exception& e) {
        ShowWarning(OwnerRoot(),
                    ErrorMessage("Error saving preset to file.", e.what(), "Save Preset"));
        return;
    }
    // The old file stays until the new one is complete: it is replaced, not deleted first.
    gui::ShowMessageDialog(
        OwnerRoot(), "Overwrite existing preset?", "Preset Exists", gui::TMsgDlgButtons::YesNo,
        gui::TMsgDlgType::Confirmation,
        [this, alive = std::weak_ptr<int>(alive_), name, path](gui::TModalResult answer) {
            if (!alive.expired() && answer != gui::TModalResult::No) {
                WritePreset(name, path);
            }
        });
}

void TfrmVSTEditorMenu::WritePreset(const std::string& name, const std::string& path) {
    try {
        // The saved header carries the new name.
        owner_.SetPresetName(name);
        TMemoryStreamChunk chunk;
        if (!owner_.SaveToChunk(chunk)) {
            return; // reported by SaveToChunk; nothing is written
        }
        TMemoryStream stream;
        chunk.SaveToStream(stream);
        const auto bytes = stream.Bytes();
        platform::CreateFolders(owner_.PresetsFolder());
        WriteFileReplacing(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        owner_.NotifyHostOfChange();
    } catch (const std::exception& e) {
        ShowWarning(OwnerRoot(),
                    ErrorMessage("Error saving preset to file.", e.what(), "Save Preset"));
    }
}

void TfrmVSTEditorMenu::LoadPresetFromBrowser() {
    if (browserOpen_) {
        return;
    }
    int width = 0;
    int height = 0;
    GetPresetBrowserSize(width, height);
    width = std::max(1, width);
    height = std::max(1, height);
    // Centred over the client area; integer division truncates toward zero, so a browser
    // larger than the editor sticks out equally on both sides.
    const gui::Point origin = ToRoot({(Width() - width) / 2, (Height() - height) / 2});
    browserOpen_ = true;
    gui::ShowPresetBrowser(OwnerRoot(), owner_.PresetsFolder(), owner_.PresetName(),
                           gui::Rect::FromSize(origin.x, origin.y, width, height),
                           [this, alive = std::weak_ptr<int>(alive_)](gui::TModalResult result,
                                                                      const std::string& file) {
                               if (!alive.expired()) {
                                   PresetBrowserDone(result == gui::TModalResult::OK, file);
                               }
                           });
}

void TfrmVSTEditorMenu::PresetBrowserDone(bool ok, const std::string& file) {
    browserOpen_ = false;
    if (ok && !file.empty()) {
        try {
            TMemoryStreamChunk chunk;
            TVSTPluginBase::LoadChunkFile(chunk, file);
            // Parse errors are reported by LoadFromChunk itself; the name follows the file
            // either way. A load does not notify the host.
            (void)owner_.LoadFromChunk(chunk, false);
            owner_.SetPresetName(ExtractNameWithoutExt(file));
        } catch (const std::exception& e) {
            ShowWarning(OwnerRoot(),
                        ErrorMessage("Error loading preset from file.", e.what(), "Load Preset"));
            owner_.ResetAllParameterValues();
        }
    } else if (const std::string& name = owner_.PresetName();
               !name.empty() && !FileExistsSafe(owner_.PresetPath(name))) {
        // Deleted or renamed while the browser was open.
        owner_.SetPresetName({});
    }
    PresetBrowserClosed();
    gui::DiscardPendingMouseMessages(OwnerRoot());
}

} // namespace ostinel
