#include "edit/EditWindow.h"

#include <ostream>

namespace ostinel::edit {

namespace {

// Used when the plug-in names no editor size before its editor is open.
constexpr EditorSize kFallbackSize{640, 480};

} // namespace

EditWindow::EditWindow(IEditedPlugin& plugin, EditDocument& document, std::ostream& log,
                       std::chrono::milliseconds compareInterval)
    : plugin_(plugin), document_(document), log_(log), compareInterval_(compareInterval) {}

EditWindow::~EditWindow() {
    box_.reset();
    if (editorOpen_) {
        plugin_.CloseEditor();
    }
}

void EditWindow::Open() {
    const std::optional<EditorSize> before = plugin_.EditorRect();
    const EditorSize size = before.value_or(kFallbackSize);
    window_ = platform::CreateTopLevelWindow(document_.Title(), size.width, size.height, *this);
    window_->AddShortcut(kSaveShortcut, platform::Key::LetterA + ('S' - 'A'), {.ctrl = true});
    plugin_.OpenEditor(window_->NativeHandle());
    editorOpen_ = true;
    // Some plug-ins know their size only once the editor is open.
    if (!before) {
        if (const std::optional<EditorSize> after = plugin_.EditorRect()) {
            window_->SetClientSize(after->width, after->height);
        }
    }
    window_->Show();
    lastCompare_ = std::chrono::steady_clock::now();
}

void EditWindow::Step() {
    if (finished_) {
        return;
    }
    window_->PumpEvents();
    if (window_->Destroyed()) {
        log_ << "The window was destroyed; changes not saved are lost.\n";
        Finish();
        return;
    }
    plugin_.IdleEditor();
    if (box_) {
        box_->PumpEvents();
        if (const auto result = box_->Result()) {
            BoxAnswered(*result);
        }
    }
    const auto now = std::chrono::steady_clock::now();
    if (!finished_ && now - lastCompare_ >= compareInterval_) {
        lastCompare_ = now;
        if (document_.Refresh()) {
            UpdateTitle();
        }
    }
}

void EditWindow::Run() {
    Open();
    while (!finished_) {
        Step();
        if (!finished_) {
            window_->WaitForEvents(kIdleMs);
        }
    }
}

void EditWindow::OnCloseRequest() {
    if (finished_ || boxKind_ == BoxKind::CloseQuestion) {
        return; // the question is already up
    }
    const CloseOutcome outcome = document_.RequestClose();
    UpdateTitle();
    if (outcome.step == CloseOutcome::Step::Close) {
        Finish();
        return;
    }
    box_.reset();
    box_ = std::make_unique<QuestionBox>(*window_, document_.QuestionText(),
                                         gui::TMsgDlgButtons::YesNoCancel,
                                         gui::TMsgDlgType::Confirmation);
    boxKind_ = BoxKind::CloseQuestion;
}

void EditWindow::OnShortcut(int id) {
    if (id == kSaveShortcut && !finished_) {
        SaveNow();
    }
}

void EditWindow::SaveNow() {
    if (const auto error = document_.Save()) {
        ShowMessage(*error);
    } else {
        log_ << "Saved " << cli::PathText(*document_.File()) << "\n" << std::flush;
    }
    UpdateTitle();
}

void EditWindow::ShowMessage(const std::string& text) {
    log_ << text << "\n" << std::flush;
    if (boxKind_ == BoxKind::CloseQuestion) {
        return; // the question stays; the message went to the log
    }
    box_.reset();
    box_ = std::make_unique<QuestionBox>(*window_, text, gui::TMsgDlgButtons::OK,
                                         gui::TMsgDlgType::Warning);
    boxKind_ = BoxKind::Message;
}

void EditWindow::BoxAnswered(gui::TModalResult result) {
    const BoxKind kind = boxKind_;
    box_.reset();
    boxKind_ = BoxKind::None;
    if (kind != BoxKind::CloseQuestion) {
        return;
    }
    const CloseAnswer answer = result == gui::TModalResult::Yes  ? CloseAnswer::Yes
                               : result == gui::TModalResult::No ? CloseAnswer::No
                                                                 : CloseAnswer::Cancel;
    const CloseOutcome outcome = document_.Answer(answer);
    UpdateTitle();
    if (outcome.step == CloseOutcome::Step::Close) {
        if (answer == CloseAnswer::Yes) {
            log_ << "Saved " << cli::PathText(*document_.File()) << "\n" << std::flush;
        }
        Finish();
    } else if (!outcome.error.empty()) {
        ShowMessage(outcome.error);
    }
}

void EditWindow::UpdateTitle() {
    const std::string title = document_.Title();
    if (window_ && window_->Title() != title) {
        window_->SetTitle(title);
    }
}

void EditWindow::Finish() {
    finished_ = true;
    box_.reset();
    boxKind_ = BoxKind::None;
    if (editorOpen_) {
        editorOpen_ = false;
        plugin_.CloseEditor();
    }
}

} // namespace ostinel::edit
