#pragma once
// The push button of the dialogs: a speed button that takes the keyboard focus (a press gives
// it the focus, so an edit box loses it first), sits in the Tab order and clicks on Space and
// Enter. Default marks the button Enter presses, Cancel the one Escape presses; a dialog reads
// ModalResult when it is clicked.
#include "gui/controls/QelSpTBXSpeedButton.h"

#include <cstdint>

namespace ostinel::gui {

enum class TModalResult : std::uint8_t { None, OK, Cancel, Yes, No };

class TButton : public TQelSpTBXSpeedButton {
public:
    explicit TButton(std::string caption = {}, TModalResult result = TModalResult::None);

    [[nodiscard]] bool Default() const { return default_; }
    void SetDefault(bool on);
    [[nodiscard]] bool Cancel() const { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    [[nodiscard]] TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    // The button Enter presses now: the focused button, else the Default one when no other
    // button has the focus.
    [[nodiscard]] bool IsActiveDefault() const;

    void Paint(Canvas& canvas) override;
    bool MouseDown(const MouseEvent& e) override;
    bool KeyDown(const KeyEvent& e) override;
    void FocusEnter(FocusReason reason) override;
    void FocusExit() override;

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_;
};

} // namespace ostinel::gui
