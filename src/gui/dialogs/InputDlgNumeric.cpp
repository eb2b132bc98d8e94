#include "gui/dialogs/InputDlgNumeric.h"

#include "gui/controls/Label.h"
#include "gui/controls/QelNumericEdit.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"

#include <algorithm>

namespace ostinel::gui {

namespace {

constexpr int kDesignWidth = 228;
constexpr int kDesignHeight = 104;

} // namespace

TfrmInputDlgNumeric::TfrmInputDlgNumeric(WidgetRoot& root, std::string caption, std::string prompt,
                                         double value, int decimals, double minimum, double maximum,
                                         std::function<void(bool, double)> done)
    : TDialogForm(std::move(caption), kDesignWidth, kDesignHeight),
      lblPrompt(Client().Add<TLabel>()), txtNumeric(Client().Add<TQelNumericEdit>()),
      btnOK(Client().Add<TButton>("OK", TModalResult::OK)),
      btnCancel(Client().Add<TButton>("Cancel", TModalResult::Cancel)), original_(value),
      done_(std::move(done)), reshow_(root, kReshowDelayMs) {
    const Font font = MakeFont("Segoe UI", 12);
    lblPrompt.SetCaptionFont(font);
    lblPrompt.SetFontColor(ActiveSkin().DialogText);
    lblPrompt.SetCaption(std::move(prompt));
    lblPrompt.SetPosition(7, 7);
    txtNumeric.SetTextFont(font);
    txtNumeric.SetBounds(8, 28, 75, 24);
    txtNumeric.SetAlignment(TextAlign::Right);
    txtNumeric.SetMaxLength(12);
    txtNumeric.SetDecimals(static_cast<std::int8_t>(std::clamp(decimals, -128, 127)));
    txtNumeric.SetMinValue(minimum);
    txtNumeric.SetMaxValue(maximum);
    txtNumeric.SetValue(value);
    btnOK.SetBounds(57, 72, 80, 25);
    btnOK.SetCaptionFont(font);
    btnOK.SetDefault(true);
    btnOK.OnClick = [this] { btnOKClick(); };
    btnCancel.SetBounds(142, 72, 80, 25);
    btnCancel.SetCaptionFont(font);
    btnCancel.SetCancel(true);
    btnCancel.OnClick = [this] { CloseWithResult(TModalResult::Cancel); };
    // A prompt wider than the design leaves room for grows the box rather than being cut.
    const int needed = lblPrompt.Left() + lblPrompt.Width() + 6;
    if (needed > kDesignWidth) {
        SetClientSize(needed, kDesignHeight);
    }
    reshow_.OnTimer = [this] {
        reshow_.Stop();
        SetWindowVisible(true);
        FocusActiveControl();
        if (txtNumeric.AutoSelect()) {
            txtNumeric.SelectAll(); // as when the box is entered on a new showing
        }
    };
    SetActiveControl(&txtNumeric);
    FormResize();
}

void TfrmInputDlgNumeric::FormResize() {
    lblPrompt.SetPosition(6, lblPrompt.Top());
    txtNumeric.SetPosition(6, txtNumeric.Top());
    btnCancel.SetPosition(ClientWidth() - btnCancel.Width() - 6,
                          ClientHeight() - btnCancel.Height() - 6);
    btnOK.SetPosition(btnCancel.Left() - btnOK.Width() - 6, btnCancel.Top());
}

void TfrmInputDlgNumeric::btnOKClick() {
    const double value = txtNumeric.Value();
    const double minimum = txtNumeric.MinValue();
    const double maximum = txtNumeric.MaxValue();
    if (minimum != maximum && (value < minimum || value > maximum)) {
        SetWindowVisible(false);
        reshow_.Start();
        return;
    }
    accepted_ = value;
    CloseWithResult(TModalResult::OK);
}

void TfrmInputDlgNumeric::Done(TModalResult result) {
    reshow_.Stop();
    if (done_) {
        if (result == TModalResult::OK) {
            done_(true, accepted_);
        } else {
            done_(false, original_);
        }
    }
}

TfrmInputDlgNumeric& InputNumber(WidgetRoot& owner, std::string caption, std::string prompt,
                                 double value, int decimals, double minimum, double maximum,
                                 std::function<void(bool ok, double value)> done) {
    auto form =
        std::make_unique<TfrmInputDlgNumeric>(owner, std::move(caption), std::move(prompt), value,
                                              decimals, minimum, maximum, std::move(done));
    TfrmInputDlgNumeric& ref = *form;
    owner.PushOverlay(std::move(form));
    return ref;
}

} // namespace ostinel::gui
