#include "editor/map/ChannelMenu.h"

#include "editor/files/ScaleFiles.h"

namespace ostinel {

namespace {

// Runs a handler the editor handed in (an unset one does nothing).
std::function<void(gui::TMenuItem&)> Run(const std::function<void()>& handler) {
    return [&handler](gui::TMenuItem&) {
        if (handler) {
            handler();
        }
    };
}

} // namespace

TChannelMenu::TChannelMenu(THandlers handlers) : handlers_(std::move(handlers)) {
    gui::TMenuItem& items = menu_.Items();
    inputTemplates_ = &items.Add("Input Templates");
    inputTemplates_->Add("Default", 0, Run(handlers_.DefaultTemplate));
    inputTemplates_->AddSeparator();
    items.AddSeparator();
    items.Add("Copy", 0, Run(handlers_.Copy));
    paste_ = &items.Add("Paste", 0, Run(handlers_.Paste));
    menu_.OnPopup = [this](gui::TQelPopupMenu&) {
        paste_->Enabled = handlers_.CanPaste && handlers_.CanPaste();
    };
}

void TChannelMenu::BuildInputTemplateMenu(const std::vector<std::string>& templates) {
    while (inputTemplates_->Count() > 2) {
        inputTemplates_->Delete(inputTemplates_->Count() - 1);
    }
    for (std::size_t i = 0; i < templates.size(); ++i) {
        std::string caption = ListEntryCaption(templates[i]);
        if (caption.empty()) {
            continue;
        }
        inputTemplates_->Add(caption, 0, [this, i](gui::TMenuItem& sender) {
            if (handlers_.InputTemplate) {
                handlers_.InputTemplate(i, sender.Caption);
            }
        });
    }
}

} // namespace ostinel
