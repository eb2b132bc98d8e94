#pragma once
// ddmChannelMenu, dropped down by the header's channel menu button: "Input Templates" (the
// default template, a separator and one entry per line of Input.txt), "Copy" and "Paste" of
// the shown channel. The commands belong to the editor, which hands them in. GUI thread only.
#include "gui/controls/QelPopupMenu.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace ostinel {

class TChannelMenu {
public:
    struct THandlers {
        std::function<void()> DefaultTemplate;
        // (index of the line in the sorted Input list, the entry's caption)
        std::function<void(std::size_t, const std::string&)> InputTemplate;
        std::function<void()> Copy;
        std::function<void()> Paste;
        // Whether the clipboard holds a channel (asked when the menu opens).
        std::function<bool()> CanPaste;
    };

    explicit TChannelMenu(THandlers handlers);

    // BuildInputTemplateMenu: the template entries after "Default" and the separator.
    void BuildInputTemplateMenu(const std::vector<std::string>& templates);

    [[nodiscard]] gui::TQelPopupMenu& ddmChannelMenu() { return menu_; }
    [[nodiscard]] gui::TMenuItem& InputTemplates() { return *inputTemplates_; }
    [[nodiscard]] gui::TMenuItem& Paste() { return *paste_; }

private:
    THandlers handlers_;
    gui::TQelPopupMenu menu_;
    gui::TMenuItem* inputTemplates_ = nullptr;
    gui::TMenuItem* paste_ = nullptr;
};

} // namespace ostinel
