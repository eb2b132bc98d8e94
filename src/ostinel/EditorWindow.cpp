#include "ostinel/EditorWindow.h"

#include "common/Error.h"
#include "editor/map/Editor.h"
#include "gui/dialogs/MessageDialog.h"
#include "ostinel/VSTPlugin.h"

namespace ostinel {

namespace {

gui::TMsgDlgType DialogType(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Information:
        return gui::TMsgDlgType::Information;
    case TMessageKind::Confirmation:
        return gui::TMsgDlgType::Confirmation;
    case TMessageKind::Warning:
        break;
    }
    return gui::TMsgDlgType::Warning;
}

// The sentence before the message's first line break.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

} // namespace

TEditorWindow::TEditorWindow(TVSTPlugin& owner)
    : owner_(owner), root_(kEditorWidth, kEditorHeight) {
    form_ = &root_.EmplaceContent<TfrmEditor>(root_, owner_);
}

TEditorWindow::~TEditorWindow() {
    DetachWindow();
}

void TEditorWindow::DetachWindow() noexcept {
    // The root stops its timers on the window before the window goes.
    root_.AttachWindow(nullptr);
    root_.SetClipboard(nullptr);
    window_.reset();
}

void TEditorWindow::PlaceInParent(void* parentHandle) {
    DetachWindow();
    window_ = platform::CreateChildWindow(parentHandle, kEditorWidth, kEditorHeight, root_);
    root_.AttachWindow(window_.get());
    root_.SetClipboard(&platform::Clipboard());
    form_->Show();
    if (std::optional<TMessage> pending = owner_.TakePendingMessage()) {
        // The info line says what failed until the box is acknowledged (or its three seconds
        // are over).
        const std::string sentence = FirstLine(pending->Text);
        form_->ShowInfo(pending->Caption.empty() ? sentence : pending->Caption + ": " + sentence);
        (void)gui::ShowMessageDialog(root_, pending->Text, pending->Caption,
                                     gui::TMsgDlgButtons::OK, DialogType(pending->Kind),
                                     [form = form_](gui::TModalResult) { form->ShowInfo({}); });
    }
}

void TEditorWindow::HostIdle() {
    if (window_ != nullptr) {
        window_->PumpEvents();
    }
}

void TEditorWindow::EditorIdle() {
    form_->EditorIdle();
}

bool TEditorWindow::HighlightNoteOn(int note) {
    return form_->HighlightNoteOn(note);
}

bool TEditorWindow::HighlightNoteOff(int note) {
    return form_->HighlightNoteOff(note);
}

void TEditorWindow::LearnNote(int note) {
    form_->LearnNote(note);
}

void TEditorWindow::LearnEnded() {
    form_->LearnEnded();
}

void TEditorWindow::UpdateHighlightedNotes() {
    form_->UpdateHighlightedNotes();
}

void TEditorWindow::PresetNameChanged() {
    form_->PresetNameChanged();
}

void TEditorWindow::FocusControlUnderCursor() {
    form_->FocusControlUnderCursor();
}

void TEditorWindow::ShowMessage(const TMessage& message) {
    (void)gui::ShowMessageDialog(root_, message.Text, message.Caption, gui::TMsgDlgButtons::OK,
                                 DialogType(message.Kind));
}

std::unique_ptr<IEditorForm> CreateEditorWindow(TCustomVSTModule& owner) {
    auto* plugin = dynamic_cast<TVSTPlugin*>(&owner);
    if (plugin == nullptr) {
        throw Error("The editor needs the Ostinel module as its owner");
    }
    return std::make_unique<TEditorWindow>(*plugin);
}

} // namespace ostinel
