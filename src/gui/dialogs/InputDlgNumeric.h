#pragma once
// InputNumber: the whole-number prompt (TfrmInputDlgNumeric) with a TQelNumericEdit. When it
// is confirmed with a number outside minimum..maximum (and the two differ), the box leaves the
// screen and comes back 250 ms later with the user's text, until the number fits or the user
// cancels; the pause is a timer and the dialog stays modal meanwhile. The call returns at once;
// `done` receives (true, number) for an accepted number, or (false, the original value).
#include "gui/dialogs/Dialog.h"
#include "gui/widgets/Timer.h"

#include <functional>
#include <memory>
#include <string>

namespace ostinel::gui {

class WidgetRoot;
class TLabel;
class TQelNumericEdit;

class TfrmInputDlgNumeric final : public TDialogForm {
public:
    static constexpr int kReshowDelayMs = 250;

    TfrmInputDlgNumeric(WidgetRoot& root, std::string caption, std::string prompt, double value,
                        int decimals, double minimum, double maximum,
                        std::function<void(bool, double)> done);

    TLabel& lblPrompt;
    TQelNumericEdit& txtNumeric;
    TButton& btnOK;
    TButton& btnCancel;

    void FormResize();
    // OK: accept the number, or hide and show again after the pause when it does not fit.
    void btnOKClick();
    [[nodiscard]] bool IsWaitingToReshow() const { return reshow_.Enabled(); }

protected:
    void Done(TModalResult result) override;

private:
    double original_;
    double accepted_ = 0;
    std::function<void(bool, double)> done_;
    TTimer reshow_;
};

TfrmInputDlgNumeric& InputNumber(WidgetRoot& owner, std::string caption, std::string prompt,
                                 double value, int decimals, double minimum, double maximum,
                                 std::function<void(bool ok, double value)> done);

} // namespace ostinel::gui
