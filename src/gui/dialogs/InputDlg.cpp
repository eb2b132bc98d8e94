#include "gui/dialogs/InputDlg.h"

#include "gui/controls/Edit.h"
#include "gui/controls/Label.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"

namespace ostinel::gui {

namespace {

bool IsBlankOnly(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

} // namespace

TfrmInputDlg::TfrmInputDlg(std::string caption, std::string prompt, std::string value,
                           int maxLength, bool allowEmpty,
                           std::function<void(bool, const std::string&)> done)
    : TDialogForm(std::move(caption), 300, 102), lblPrompt(Client().Add<TLabel>()),
      txtValue(Client().Add<TEdit>()), btnOK(Client().Add<TButton>("OK", TModalResult::OK)),
      btnCancel(Client().Add<TButton>("Cancel", TModalResult::Cancel)), allowEmpty_(allowEmpty),
      original_(value), done_(std::move(done)) {
    const Font formFont = MakeFont("Tahoma", 11);
    lblPrompt.SetAutoSize(false);
    lblPrompt.SetBounds(7, 7, 230, 13);
    lblPrompt.SetCaptionFont(MakeFont("Segoe UI", 12));
    lblPrompt.SetWordWrap(true);
    lblPrompt.SetLayout(TTextLayout::Center);
    lblPrompt.SetFontColor(ActiveSkin().DialogText);
    lblPrompt.SetCaption(std::move(prompt));
    txtValue.SetBounds(7, 23, 276, 23);
    txtValue.SetTextFont(MakeFont("Segoe UI", 12));
    txtValue.SetMaxLength(maxLength);
    txtValue.SetText(value);
    txtValue.OnChange = [this] { txtValueChange(); };
    btnOK.SetBounds(118, 58, 80, 26);
    btnOK.SetCaptionFont(formFont);
    btnOK.SetDefault(true);
    btnOK.OnClick = [this] { CloseWithResult(TModalResult::OK); };
    btnCancel.SetBounds(203, 58, 80, 26);
    btnCancel.SetCaptionFont(formFont);
    btnCancel.SetCancel(true);
    btnCancel.OnClick = [this] { CloseWithResult(TModalResult::Cancel); };
    SetActiveControl(&txtValue);
    FormResize();
}

void TfrmInputDlg::FormResize() {
    lblPrompt.SetPosition(6, lblPrompt.Top());
    txtValue.SetBounds(6, txtValue.Top(), ClientWidth() - 12, txtValue.Height());
    btnCancel.SetPosition(ClientWidth() - btnCancel.Width() - 6,
                          ClientHeight() - btnCancel.Height() - 6);
    btnOK.SetPosition(btnCancel.Left() - btnOK.Width() - 6, btnCancel.Top());
}

void TfrmInputDlg::txtValueChange() {
    btnOK.SetEnabled(allowEmpty_ || !IsBlankOnly(txtValue.Text()));
}

void TfrmInputDlg::Shown() {
    txtValueChange();
}

void TfrmInputDlg::Done(TModalResult result) {
    if (done_) {
        if (result == TModalResult::OK) {
            done_(true, txtValue.Text());
        } else {
            done_(false, original_);
        }
    }
}

TfrmInputDlg& InputText(WidgetRoot& owner, std::string caption, std::string prompt,
                        std::string value, int maxLength, bool allowEmpty,
                        std::function<void(bool ok, const std::string& value)> done) {
    auto form =
        std::make_unique<TfrmInputDlg>(std::move(caption), std::move(prompt), std::move(value),
                                       maxLength, allowEmpty, std::move(done));
    TfrmInputDlg& ref = *form;
    owner.PushOverlay(std::move(form));
    return ref;
}

} // namespace ostinel::gui
