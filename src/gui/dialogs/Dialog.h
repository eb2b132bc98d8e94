#pragma once
// The base of the in-window dialogs: a modal overlay layer that dims the window and shows a
// framed box with a caption bar, centred over the root (a box larger than the root sticks out
// equally on both sides). Enter presses the active default button (the focused button, else
// the Default one), Escape the Cancel button (or closes with Cancel when there is none).
// Nothing blocks: the dialog reports its result through the callback of the function that
// showed it, after it has left the screen.
#include "gui/controls/Button.h"
#include "gui/widgets/OverlayLayer.h"
#include "gui/widgets/TextUtil.h"

#include <string>

namespace ostinel::gui {

class TDialogForm : public TOverlayLayer {
public:
    static constexpr int kCaptionHeight = 26;

    TDialogForm(std::string caption, int clientWidth, int clientHeight);

    // The client area: the form's controls live here, in client coordinates.
    [[nodiscard]] Widget& Client() { return *client_; }
    [[nodiscard]] const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    [[nodiscard]] int ClientWidth() const { return client_->Width(); }
    [[nodiscard]] int ClientHeight() const { return client_->Height(); }
    // Resizes the client area and centres the box again.
    void SetClientSize(int width, int height);
    // The framed box in root coordinates.
    [[nodiscard]] Rect WindowRect() const;
    // The box can be taken off the screen while the dialog stays modal (a pause between two
    // showings); its controls keep their state and the focus.
    void SetWindowVisible(bool visible);
    [[nodiscard]] bool WindowVisible() const;

    [[nodiscard]] TModalResult ModalResult() const { return modalResult_; }
    // Closes the dialog with a result; Done() reports it once the dialog is gone.
    void CloseWithResult(TModalResult result);

    // The control that gets the focus when the dialog shows.
    void SetActiveControl(Widget* control) { activeControl_ = control; }

    bool KeyDown(const KeyEvent& e) override;
    void Paint(Canvas& canvas) override;
    void Resized() override;
    void Loaded() override;
    void Closed() override;

protected:
    // Runs once when the dialog has closed, with its result.
    virtual void Done(TModalResult result) = 0;
    // Runs when the dialog is shown (after Loaded, with the focus set).
    virtual void Shown() {}
    [[nodiscard]] TButton* ActiveDefaultButton() const;
    [[nodiscard]] TButton* CancelButton() const;
    void FocusActiveControl();

private:
    class TWindow;
    void Centre();

    std::string caption_;
    TWindow* window_ = nullptr;
    Widget* client_ = nullptr;
    Widget* activeControl_ = nullptr;
    TModalResult modalResult_ = TModalResult::None;
    bool done_ = false;
    bool hidden_ = false;
};

// The title used for a message box without a caption.
void SetApplicationTitle(std::string title);
[[nodiscard]] const std::string& ApplicationTitle();

} // namespace ostinel::gui
