#pragma once
// ShowMessageDialog: a message box over the window with an icon (warning: exclamation mark,
// information: letter i, confirmation: question mark), the text wrapped to a comfortable
// width, and OK, Yes and No, or Yes, No and Cancel. Enter presses the default button (Yes, or
// OK); Escape presses the last button (No, Cancel or OK); Y and N press Yes and No. An empty
// caption shows the application title. The call returns at once; `done` receives the pressed
// button.
#include "gui/dialogs/Dialog.h"

#include <functional>
#include <string_view>

namespace ostinel::gui {

class WidgetRoot;
class TLabel;

enum class TMsgDlgType : std::uint8_t { Warning, Information, Confirmation };
enum class TMsgDlgButtons : std::uint8_t { OK, YesNo, YesNoCancel };

// The drawn 32 x 32 icon of a message kind.
class TDialogIcon final : public Widget {
public:
    explicit TDialogIcon(TMsgDlgType kind);
    [[nodiscard]] TMsgDlgType Kind() const { return kind_; }
    void Paint(Canvas& canvas) override;

private:
    TMsgDlgType kind_;
};

class TMessageForm final : public TDialogForm {
public:
    TMessageForm(const WidgetRoot& owner, std::string_view text, std::string_view caption,
                 TMsgDlgButtons buttons, TMsgDlgType kind, std::function<void(TModalResult)> done);

    [[nodiscard]] TLabel& Message() { return *message_; }
    [[nodiscard]] TButton& Button(std::size_t index) { return *buttons_.at(index); }
    [[nodiscard]] std::size_t ButtonCount() const { return buttons_.size(); }

    bool KeyDown(const KeyEvent& e) override;

protected:
    void Done(TModalResult result) override;

private:
    TLabel* message_ = nullptr;
    std::vector<TButton*> buttons_;
    std::function<void(TModalResult)> done_;
};

// Shows the box over `owner` and returns it (owned by the root; valid until it closes).
TMessageForm& ShowMessageDialog(WidgetRoot& owner, std::string_view text, std::string_view caption,
                                TMsgDlgButtons buttons, TMsgDlgType kind,
                                std::function<void(TModalResult)> done = nullptr);

} // namespace ostinel::gui
