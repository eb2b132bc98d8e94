#pragma once
// The skinned popup menu. TMenuItem is the item tree (caption, tag, check mark, enabled and
// visible states, click handler; an item with children is a submenu; the caption "-" is a
// separator). TQelPopupMenu owns the top-level items and shows them as an overlay layer of a
// WidgetRoot: Popup returns at once; a chosen item's OnClick runs after the menu has closed.
// GUI thread only.
#include "graphics/Font.h"
#include "gui/widgets/Widget.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ostinel::gui {

class TPopupMenuLayer;
class WidgetRoot;

class TMenuItem {
public:
    explicit TMenuItem(std::string caption = {}, int tag = 0);
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    std::string Caption;
    int Tag = 0;
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
    std::string Name;
    std::function<void(TMenuItem& sender)> OnClick;

    [[nodiscard]] bool IsSeparator() const { return Caption == "-"; }
    [[nodiscard]] bool IsSubmenu() const { return !items_.empty(); }

    // ---- Children ----
    TMenuItem& Add(std::string caption, int tag = 0,
                   std::function<void(TMenuItem&)> onClick = nullptr);
    TMenuItem& AddSeparator();
    TMenuItem& Add(std::unique_ptr<TMenuItem> item);
    // Throws ostinel::Error "Argument out of range" for an index past the end.
    TMenuItem& Insert(std::size_t index, std::unique_ptr<TMenuItem> item);
    void Delete(std::size_t index);
    void Clear();
    [[nodiscard]] std::size_t Count() const { return items_.size(); }
    // Throws ostinel::Error "Argument out of range" for an index outside the items.
    [[nodiscard]] TMenuItem& Items(std::size_t index) const;
    [[nodiscard]] TMenuItem* Parent() const { return parent_; }
    // Position among the parent's items; -1 for a top level.
    [[nodiscard]] int MenuIndex() const;
    // Depth-first search by Name (this item included).
    [[nodiscard]] TMenuItem* Find(std::string_view name);

    // Runs OnClick (what choosing the item does).
    void Click();

private:
    TMenuItem* parent_ = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

class TQelPopupMenu final : public IContextMenu {
public:
    TQelPopupMenu();
    ~TQelPopupMenu();
    TQelPopupMenu(const TQelPopupMenu&) = delete;
    TQelPopupMenu& operator=(const TQelPopupMenu&) = delete;

    // The invisible top-level item holding the menu's entries.
    [[nodiscard]] TMenuItem& Items() { return items_; }
    [[nodiscard]] const TMenuItem& Items() const { return items_; }

    [[nodiscard]] const Font& MenuFont() const { return font_; }
    void SetMenuFont(const Font& font) { font_ = font; }

    // Runs just before the menu shows (to check, enable and hide entries).
    std::function<void(TQelPopupMenu&)> OnPopup;
    // Runs after the menu closed, whatever closed it (before a chosen item's OnClick).
    std::function<void(TQelPopupMenu&)> OnClose;

    // Opens the menu with its top-left at rootPos (moved so that it stays inside the root).
    // `closed` runs once when this opening ends. An open menu closes first.
    void Popup(WidgetRoot& root, Point rootPos, std::function<void()> closed = nullptr);
    void PopupAt(WidgetRoot& root, Point rootPos) override { Popup(root, rootPos); }
    void Close();
    [[nodiscard]] bool IsOpen() const { return layer_ != nullptr; }
    // The open menu's layer (tests and screenshots); nullptr when closed.
    [[nodiscard]] TPopupMenuLayer* View() const { return layer_; }

    // Check by tag: from `start` (or the top level) every item whose tag equals `tag` gets a
    // check mark, every other loses it; submenus are walked too. With markParents, the
    // submenus above a matching item up to the top level are checked as well.
    void CheckItemsByTag(int tag, TMenuItem* start, bool markParents);

private:
    friend class TPopupMenuLayer;
    void LayerClosed(TMenuItem* chosen);

    TMenuItem items_;
    Font font_ = MakeFont("Segoe UI", 12);
    TPopupMenuLayer* layer_ = nullptr;
    std::function<void()> closed_;
};

} // namespace ostinel::gui
