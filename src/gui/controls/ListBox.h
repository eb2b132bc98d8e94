#pragma once
// A list box whose entries the owner may draw. With Columns > 0 it is a multi-column list:
// entries fill the first column from top to bottom, then the next, each column a Columns-th of
// the width, scrolling sideways when more columns exist than fit. With Columns 0 it is one
// column scrolling vertically. One entry can be selected (ItemIndex).
#include "gui/controls/ScrollBar.h"
#include "gui/widgets/TextUtil.h"
#include "gui/widgets/Widget.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ostinel::gui {

struct TOwnerDrawState {
    bool Selected = false;
    bool Focused = false;
};

class TListBox : public Widget {
public:
    TListBox();

    // ---- Entries ----
    void AddItem(std::string text, std::intptr_t data = 0);
    void Clear();
    [[nodiscard]] int Count() const { return static_cast<int>(items_.size()); }
    // Throws ostinel::Error "Argument out of range" for an index outside the entries.
    [[nodiscard]] const std::string& ItemText(int index) const;
    [[nodiscard]] std::intptr_t ItemData(int index) const;

    // -1: nothing selected. Out-of-range values select nothing. Scrolls the entry into view.
    [[nodiscard]] int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

    [[nodiscard]] int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    [[nodiscard]] int Columns() const { return columns_; }
    void SetColumns(int columns);
    [[nodiscard]] const Font& ItemFont() const { return font_; }
    void SetItemFont(const Font& font);

    // The entry at a local point; -1 when none (or, with existing false, the nearest slot).
    [[nodiscard]] int ItemAtPos(Point pos, bool existing = true) const;
    // An entry's rectangle in local coordinates (may lie outside the visible area).
    [[nodiscard]] Rect ItemRect(int index) const;
    // The first visible column (multi-column) or row (single column).
    [[nodiscard]] int TopIndex() const { return top_; }
    [[nodiscard]] int RowsPerColumn() const;

    // Colours an owner-drawn entry starts with (selection colours for the selected one).
    [[nodiscard]] Color ItemFillColor(bool selected) const;
    [[nodiscard]] Color ItemTextColor(bool selected) const;

    // Draws one entry; without it the list fills the rectangle and draws the text 4 pixels in.
    std::function<void(Canvas&, int index, const Rect&, TOwnerDrawState)> OnDrawItem;
    // The selection changed through the mouse or the keyboard.
    std::function<void()> OnSelectionChange;

    void Paint(Canvas& canvas) override;
    void PaintOverChildren(Canvas& canvas) override;
    bool MouseDown(const MouseEvent& e) override;
    bool MouseWheel(const WheelEvent& e) override;
    bool KeyDown(const KeyEvent& e) override;
    void FocusEnter(FocusReason reason) override;
    void FocusExit() override;
    void Resized() override;

private:
    struct TItem {
        std::string Text;
        std::intptr_t Data = 0;
    };

    [[nodiscard]] Rect ListArea() const;
    [[nodiscard]] int ColumnWidth() const;
    [[nodiscard]] int TotalSlots() const;
    void UpdateScrollBar();
    void EnsureVisible(int index);
    void SelectByUser(int index);

    std::vector<TItem> items_;
    int itemIndex_ = -1;
    int itemHeight_ = 20;
    int columns_ = 0;
    int top_ = 0;
    Font font_ = MakeFont("Segoe UI", 12);
    TScrollBar* vbar_ = nullptr;
    TScrollBar* hbar_ = nullptr;
    TScrollBar* scrollBar_ = nullptr; // the one in use
};

} // namespace ostinel::gui
