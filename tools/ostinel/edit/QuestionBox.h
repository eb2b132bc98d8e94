#pragma once
// A message box of the toolkit shown in a small child window of our own over the plug-in's
// editor, centred in the top-level window. The editor is another binary with windows of its
// own, so the box cannot be an overlay inside it; a sibling window above it serves instead.
// Nothing blocks: the answer is read with Result() from the tool's loop. GUI thread only.
#include "gui/dialogs/MessageDialog.h"
#include "gui/widgets/WidgetRoot.h"
#include "platform/Window.h"

#include <memory>
#include <optional>
#include <string>

namespace ostinel::edit {

class QuestionBox {
public:
    // Throws ostinel::Error when the window cannot be made.
    QuestionBox(platform::ITopLevelWindow& owner, const std::string& text,
                gui::TMsgDlgButtons buttons, gui::TMsgDlgType kind);
    ~QuestionBox();
    QuestionBox(const QuestionBox&) = delete;
    QuestionBox& operator=(const QuestionBox&) = delete;

    void PumpEvents();
    // The pressed button, once the box has closed.
    [[nodiscard]] std::optional<gui::TModalResult> Result() const { return result_; }

    [[nodiscard]] platform::IPlatformWindow& Window() { return *window_; }
    // The box while it is open (null after the answer).
    [[nodiscard]] gui::TMessageForm* Form() { return result_ ? nullptr : form_; }

private:
    // First, so that it outlives the root whose box may report into it while going.
    std::optional<gui::TModalResult> result_;
    std::unique_ptr<gui::WidgetRoot> root_;
    std::unique_ptr<platform::IPlatformWindow> window_;
    gui::TMessageForm* form_ = nullptr;
};

} // namespace ostinel::edit
