#pragma once
// InputText: the one-line text prompt (TfrmInputDlg). OK is enabled while the text, without
// surrounding blanks, is not empty, or always when empty answers are allowed. The call returns
// at once; `done` receives (true, the untrimmed text) after OK, or (false, the original value)
// after Cancel or Escape.
#include "gui/dialogs/Dialog.h"

#include <functional>
#include <string>

namespace ostinel::gui {

class WidgetRoot;
class TLabel;
class TEdit;

class TfrmInputDlg final : public TDialogForm {
public:
    TfrmInputDlg(std::string caption, std::string prompt, std::string value, int maxLength,
                 bool allowEmpty, std::function<void(bool, const std::string&)> done);

    TLabel& lblPrompt;
    TEdit& txtValue;
    TButton& btnOK;
    TButton& btnCancel;

    void txtValueChange();
    void FormResize();

protected:
    void Done(TModalResult result) override;
    void Shown() override;

private:
    bool allowEmpty_ = false;
    std::string original_;
    std::function<void(bool, const std::string&)> done_;
};

TfrmInputDlg& InputText(WidgetRoot& owner, std::string caption, std::string prompt,
                        std::string value, int maxLength, bool allowEmpty,
                        std::function<void(bool ok, const std::string& value)> done);

} // namespace ostinel::gui
