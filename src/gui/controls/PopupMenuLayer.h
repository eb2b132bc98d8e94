#pragma once
// The open popup menu: an overlay layer that draws the menu and its open submenus as panels
// and handles the mouse and keys while it is open. Panels are placed so that they stay inside
// the root; a panel taller than the root scrolls (wheel, keys, or hovering its arrows).
//
// Mouse: hovering an item highlights it and opens its submenu; releasing the button over an
// enabled item chooses it (after a press inside the menu, or after the pointer moved since the
// menu opened, so the release of the press that opened it chooses nothing); a press outside
// every panel closes the menu and is swallowed. Keys: Up/Down, Home/End, Right/Enter open a
// submenu, Left/Escape close one, Enter/Space choose, a letter jumps to the next item starting
// with it, Escape on the first panel closes the menu.
#include "gui/widgets/OverlayLayer.h"
#include "gui/widgets/Timer.h"

#include <memory>
#include <optional>
#include <vector>

namespace ostinel::gui {

class TMenuItem;
class TQelPopupMenu;
class WidgetRoot;

class TPopupMenuLayer final : public TOverlayLayer {
public:
    struct TLevel {
        TMenuItem* Parent = nullptr;   // whose items this panel shows
        std::vector<TMenuItem*> Items; // visible items, separators tidied
        std::vector<int> Tops;         // each item's top below the first one
        Rect Bounds;                   // root coordinates
        int Hot = -1;                  // index into Items
        int Scroll = 0;                // pixels scrolled
        int ContentHeight = 0;
        bool Scrollable = false;
    };

    TPopupMenuLayer(TQelPopupMenu& menu, WidgetRoot& root, Point origin);
    // A layer destroyed while open (its root went away) lets the menu know, without callbacks.
    ~TPopupMenuLayer() override;

    [[nodiscard]] std::size_t LevelCount() const { return levels_.size(); }
    [[nodiscard]] const TLevel& Level(std::size_t index) const { return levels_.at(index); }
    // The highlighted item of the deepest panel, or nullptr.
    [[nodiscard]] TMenuItem* HotItem() const;
    // An item's rectangle in root coordinates (scrolling applied).
    [[nodiscard]] Rect ItemRect(std::size_t level, std::size_t index) const;
    // Opens the submenu of item `index` of panel `level` (selecting its first item).
    void OpenSubmenu(std::size_t level, int index, bool selectFirst);

    // Closes without choosing anything.
    void Cancel();
    // The menu object goes away: close, and report to nobody.
    void Detach();

    void Paint(Canvas& canvas) override;
    bool MouseDown(const MouseEvent& e) override;
    bool MouseUp(const MouseEvent& e) override;
    bool MouseMove(Point pos, Modifiers mods) override;
    bool MouseWheel(const WheelEvent& e) override;
    bool KeyDown(const KeyEvent& e) override;
    bool Char(char32_t ch) override;
    void Closed() override;

private:
    struct THit {
        std::size_t level = 0;
        int index = -1;      // -1: inside the panel but on no item
        int scrollArrow = 0; // -1 up, +1 down
    };

    [[nodiscard]] TLevel MakeLevel(TMenuItem& parent) const;
    [[nodiscard]] int ItemHeight(const TMenuItem& item) const;
    [[nodiscard]] int LevelWidth(const TLevel& level) const;
    [[nodiscard]] Rect ItemArea(const TLevel& level) const;
    void Place(TLevel& level, Point at, const Rect* parentPanel);
    [[nodiscard]] std::optional<THit> HitAt(Point pos) const;
    void CloseLevelsAbove(std::size_t level);
    void SetHot(std::size_t level, int index);
    void MoveHot(int direction);
    void EnsureVisible(std::size_t level, int index);
    void ScrollLevel(std::size_t level, int pixels);
    void Choose(TMenuItem& item);
    void PaintLevel(Canvas& canvas, const TLevel& level) const;

    TQelPopupMenu* menu_;
    std::vector<TLevel> levels_;
    Point openedAt_;
    bool pressedInside_ = false;
    bool moved_ = false;
    TMenuItem* chosen_ = nullptr;
    TTimer scrollTimer_;
    std::size_t scrollLevel_ = 0;
    int scrollDirection_ = 0;
};

} // namespace ostinel::gui
