#include "gui/controls/PopupMenuLayer.h"

#include "graphics/Text.h"
#include "gui/controls/QelPopupMenu.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/Shapes.h"
#include "gui/widgets/WidgetRoot.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace ostinel::gui {

namespace {

constexpr int kPadding = 4; // above the first and below the last item
constexpr int kSeparatorHeight = 9;
constexpr int kGutter = 28;     // check marks live here
constexpr int kArrowSpace = 26; // submenu arrow on the right
constexpr int kMinWidth = 140;
constexpr int kScrollArrowHeight = 14;
constexpr int kSubmenuOverlap = 3;
constexpr int kScrollStep = 8;

bool Selectable(const TMenuItem* item) {
    return !item->IsSeparator();
}

} // namespace

TPopupMenuLayer::TPopupMenuLayer(TQelPopupMenu& menu, WidgetRoot& root, Point origin)
    : menu_(&menu), openedAt_(origin), scrollTimer_(root, 40) {
    SetBounds(0, 0, root.Width(), root.Height());
    TLevel top = MakeLevel(menu.Items());
    if (!top.Items.empty()) {
        Place(top, origin, nullptr);
        levels_.push_back(std::move(top));
    }
    scrollTimer_.OnTimer = [this] {
        if (scrollDirection_ != 0 && scrollLevel_ < levels_.size()) {
            ScrollLevel(scrollLevel_, scrollDirection_ * kScrollStep);
        }
    };
}

TPopupMenuLayer::~TPopupMenuLayer() {
    if (menu_ != nullptr && menu_->layer_ == this) {
        menu_->layer_ = nullptr;
        menu_->closed_ = nullptr;
    }
}

TMenuItem* TPopupMenuLayer::HotItem() const {
    if (levels_.empty()) {
        return nullptr;
    }
    const TLevel& deepest = levels_.back();
    return deepest.Hot >= 0 ? deepest.Items[static_cast<std::size_t>(deepest.Hot)] : nullptr;
}

// ---- Layout ----------------------------------------------------------------------------

TPopupMenuLayer::TLevel TPopupMenuLayer::MakeLevel(TMenuItem& parent) const {
    TLevel level;
    level.Parent = &parent;
    for (std::size_t i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = parent.Items(i);
        if (!item.Visible) {
            continue;
        }
        // No separator first, last, or next to another one.
        if (item.IsSeparator() && (level.Items.empty() || level.Items.back()->IsSeparator())) {
            continue;
        }
        level.Items.push_back(&item);
    }
    while (!level.Items.empty() && level.Items.back()->IsSeparator()) {
        level.Items.pop_back();
    }
    for (const TMenuItem* item : level.Items) {
        level.Tops.push_back(level.ContentHeight);
        level.ContentHeight += ItemHeight(*item);
    }
    return level;
}

int TPopupMenuLayer::ItemHeight(const TMenuItem& item) const {
    if (item.IsSeparator()) {
        return kSeparatorHeight;
    }
    const Font& font = menu_ != nullptr ? menu_->MenuFont() : MakeFont("Segoe UI", 12);
    return std::max(22, GetFontMetrics(font).height + 8);
}

int TPopupMenuLayer::LevelWidth(const TLevel& level) const {
    const Font& font = menu_->MenuFont();
    int text = 0;
    for (const TMenuItem* item : level.Items) {
        if (!item->IsSeparator()) {
            text = std::max(text, TextWidth(font, item->Caption));
        }
    }
    return std::max(kMinWidth, kGutter + text + kArrowSpace + 6);
}

Rect TPopupMenuLayer::ItemArea(const TLevel& level) const {
    const int arrows = level.Scrollable ? kScrollArrowHeight : 0;
    return {level.Bounds.left + 1, level.Bounds.top + kPadding + arrows, level.Bounds.right - 1,
            level.Bounds.bottom - kPadding - arrows};
}

void TPopupMenuLayer::Place(TLevel& level, Point at, const Rect* parentPanel) {
    const int rootW = Width();
    const int rootH = Height();
    const int width = std::min(LevelWidth(level), std::max(1, rootW));
    int height = level.ContentHeight + 2 * kPadding;
    if (height > rootH) {
        level.Scrollable = true;
        height = std::max(1, rootH);
    }
    int x = at.x;
    int y = at.y;
    if (parentPanel == nullptr) {
        if (x + width > rootW) {
            x = at.x - width >= 0 ? at.x - width : rootW - width;
        }
        if (y + height > rootH) {
            y = at.y - height >= 0 ? at.y - height : rootH - height;
        }
    } else {
        x = parentPanel->right - kSubmenuOverlap;
        if (x + width > rootW) {
            x = parentPanel->left - width + kSubmenuOverlap;
        }
        if (y + height > rootH) {
            y = rootH - height;
        }
    }
    x = std::clamp(x, 0, std::max(0, rootW - width));
    y = std::clamp(y, 0, std::max(0, rootH - height));
    level.Bounds = Rect::FromSize(x, y, width, height);
}

Rect TPopupMenuLayer::ItemRect(std::size_t levelIndex, std::size_t index) const {
    const TLevel& level = levels_.at(levelIndex);
    const Rect area = ItemArea(level);
    const int y = area.top - level.Scroll + level.Tops.at(index);
    return {area.left, y, area.right, y + ItemHeight(*level.Items[index])};
}

std::optional<TPopupMenuLayer::THit> TPopupMenuLayer::HitAt(Point pos) const {
    for (std::size_t l = levels_.size(); l-- > 0;) {
        const TLevel& level = levels_[l];
        if (!level.Bounds.Contains(pos)) {
            continue;
        }
        THit hit;
        hit.level = l;
        const Rect area = ItemArea(level);
        if (level.Scrollable && pos.y < area.top) {
            hit.scrollArrow = -1;
            return hit;
        }
        if (level.Scrollable && pos.y >= area.bottom) {
            hit.scrollArrow = 1;
            return hit;
        }
        if (area.Contains(pos)) {
            // The last item starting at or above the pointer.
            const int offset = pos.y - area.top + level.Scroll;
            const auto it = std::upper_bound(level.Tops.begin(), level.Tops.end(), offset);
            if (it != level.Tops.begin()) {
                const std::size_t i = static_cast<std::size_t>(it - level.Tops.begin()) - 1;
                if (ItemRect(l, i).Contains(pos)) {
                    hit.index = static_cast<int>(i);
                }
            }
        }
        return hit;
    }
    return std::nullopt;
}

// ---- Navigation ------------------------------------------------------------------------

void TPopupMenuLayer::CloseLevelsAbove(std::size_t level) {
    if (levels_.size() > level + 1) {
        levels_.resize(level + 1);
        Invalidate();
    }
}

void TPopupMenuLayer::SetHot(std::size_t level, int index) {
    TLevel& l = levels_.at(level);
    if (l.Hot != index) {
        l.Hot = index;
        Invalidate(l.Bounds);
    }
}

void TPopupMenuLayer::OpenSubmenu(std::size_t level, int index, bool selectFirst) {
    if (level >= levels_.size() || index < 0 ||
        static_cast<std::size_t>(index) >= levels_[level].Items.size()) {
        return;
    }
    TMenuItem* item = levels_[level].Items[static_cast<std::size_t>(index)];
    if (!item->IsSubmenu() || !item->Enabled) {
        return;
    }
    SetHot(level, index);
    if (levels_.size() > level + 1 && levels_[level + 1].Parent == item) {
        CloseLevelsAbove(level + 1);
    } else {
        CloseLevelsAbove(level);
        TLevel sub = MakeLevel(*item);
        if (sub.Items.empty()) {
            return;
        }
        const Rect itemRect = ItemRect(level, static_cast<std::size_t>(index));
        const Rect parentPanel = levels_[level].Bounds;
        Place(sub, {parentPanel.right, itemRect.top - kPadding}, &parentPanel);
        levels_.push_back(std::move(sub));
    }
    if (selectFirst) {
        TLevel& sub = levels_.back();
        const auto it = std::find_if(sub.Items.begin(), sub.Items.end(), Selectable);
        if (it != sub.Items.end()) {
            sub.Hot = static_cast<int>(it - sub.Items.begin());
            EnsureVisible(levels_.size() - 1, sub.Hot);
        }
    }
    Invalidate();
}

void TPopupMenuLayer::MoveHot(int direction) {
    TLevel& level = levels_.back();
    const int count = static_cast<int>(level.Items.size());
    if (count == 0) {
        return;
    }
    int index = level.Hot;
    for (int step = 0; step < count; ++step) {
        if (index < 0) {
            index = direction > 0 ? 0 : count - 1;
        } else {
            index = (index + direction + count) % count;
        }
        if (Selectable(level.Items[static_cast<std::size_t>(index)])) {
            SetHot(levels_.size() - 1, index);
            EnsureVisible(levels_.size() - 1, index);
            return;
        }
    }
}

void TPopupMenuLayer::EnsureVisible(std::size_t levelIndex, int index) {
    TLevel& level = levels_.at(levelIndex);
    if (!level.Scrollable || index < 0) {
        return;
    }
    const Rect area = ItemArea(level);
    const Rect item = ItemRect(levelIndex, static_cast<std::size_t>(index));
    if (item.top < area.top) {
        ScrollLevel(levelIndex, item.top - area.top);
    } else if (item.bottom > area.bottom) {
        ScrollLevel(levelIndex, item.bottom - area.bottom);
    }
}

void TPopupMenuLayer::ScrollLevel(std::size_t levelIndex, int pixels) {
    TLevel& level = levels_.at(levelIndex);
    if (!level.Scrollable) {
        return;
    }
    const int maxScroll = std::max(0, level.ContentHeight - ItemArea(level).Height());
    const int scroll = std::clamp(level.Scroll + pixels, 0, maxScroll);
    if (scroll != level.Scroll) {
        level.Scroll = scroll;
        CloseLevelsAbove(levelIndex);
        Invalidate(level.Bounds);
    }
}

void TPopupMenuLayer::Choose(TMenuItem& item) {
    chosen_ = &item;
    Close();
}

void TPopupMenuLayer::Cancel() {
    chosen_ = nullptr;
    Close();
}

void TPopupMenuLayer::Detach() {
    menu_ = nullptr;
    Close();
}

void TPopupMenuLayer::Closed() {
    scrollTimer_.Stop();
    if (menu_ != nullptr) {
        TQelPopupMenu* menu = menu_;
        menu_ = nullptr;
        menu->LayerClosed(chosen_);
    }
}

// ---- Input -----------------------------------------------------------------------------

bool TPopupMenuLayer::MouseMove(Point pos, Modifiers) {
    if (std::abs(pos.x - openedAt_.x) > 3 || std::abs(pos.y - openedAt_.y) > 3) {
        moved_ = true;
    }
    const std::optional<THit> hit = HitAt(pos);
    scrollDirection_ = hit ? hit->scrollArrow : 0;
    if (scrollDirection_ != 0) {
        scrollLevel_ = hit->level;
        if (!scrollTimer_.Enabled()) {
            scrollTimer_.Start();
        }
        return true;
    }
    scrollTimer_.Stop();
    if (hit && hit->index >= 0) {
        TMenuItem* item = levels_[hit->level].Items[static_cast<std::size_t>(hit->index)];
        if (item->IsSeparator()) {
            SetHot(hit->level, -1);
            CloseLevelsAbove(hit->level);
        } else if (item->IsSubmenu() && item->Enabled) {
            OpenSubmenu(hit->level, hit->index, false);
        } else {
            SetHot(hit->level, hit->index);
            CloseLevelsAbove(hit->level);
        }
    } else if (!levels_.empty()) {
        // Off the items: the deepest panel loses its highlight; the panels leading to it keep
        // theirs.
        const std::size_t deepest = levels_.size() - 1;
        SetHot(deepest, -1);
    }
    return true;
}

bool TPopupMenuLayer::MouseDown(const MouseEvent& e) {
    const std::optional<THit> hit = HitAt(e.pos);
    if (!hit) {
        Cancel();
        return true;
    }
    pressedInside_ = true;
    if (hit->index >= 0) {
        TMenuItem* item = levels_[hit->level].Items[static_cast<std::size_t>(hit->index)];
        if (item->IsSubmenu()) {
            OpenSubmenu(hit->level, hit->index, false);
        }
    }
    return true;
}

bool TPopupMenuLayer::MouseUp(const MouseEvent& e) {
    const bool armed = pressedInside_ || moved_;
    pressedInside_ = false;
    const std::optional<THit> hit = HitAt(e.pos);
    if (!armed || !hit || hit->index < 0) {
        return true;
    }
    TMenuItem* item = levels_[hit->level].Items[static_cast<std::size_t>(hit->index)];
    if (!item->IsSeparator() && !item->IsSubmenu() && item->Enabled) {
        Choose(*item);
    }
    return true;
}

bool TPopupMenuLayer::MouseWheel(const WheelEvent& e) {
    const std::optional<THit> hit = HitAt(e.pos);
    if (hit) {
        const int items = e.delta > 0 ? -3 : 3;
        ScrollLevel(hit->level, items * 22);
    }
    return true;
}

bool TPopupMenuLayer::KeyDown(const KeyEvent& e) {
    namespace K = platform::Key;
    if (levels_.empty()) {
        return true;
    }
    const std::size_t deepest = levels_.size() - 1;
    TMenuItem* hot = HotItem();
    switch (e.key) {
    case K::Up:
        MoveHot(-1);
        break;
    case K::Down:
        MoveHot(1);
        break;
    case K::Home:
        levels_.back().Hot = -1;
        MoveHot(1);
        break;
    case K::End:
        levels_.back().Hot = -1;
        MoveHot(-1);
        break;
    case K::Right:
        if (hot != nullptr && hot->IsSubmenu() && hot->Enabled) {
            OpenSubmenu(deepest, levels_.back().Hot, true);
        }
        break;
    case K::Left:
        if (deepest > 0) {
            CloseLevelsAbove(deepest - 1);
        }
        break;
    case K::Escape:
        if (deepest > 0) {
            CloseLevelsAbove(deepest - 1);
        } else {
            Cancel();
        }
        break;
    case K::Return:
    case K::Space:
        if (hot != nullptr && hot->IsSubmenu()) {
            OpenSubmenu(deepest, levels_.back().Hot, true);
        } else if (hot != nullptr && hot->Enabled) {
            Choose(*hot);
        }
        break;
    default:
        break;
    }
    return true;
}

bool TPopupMenuLayer::Char(char32_t ch) {
    if (levels_.empty() || ch >= 0x80) {
        return true;
    }
    const int wanted = std::tolower(static_cast<int>(ch));
    TLevel& level = levels_.back();
    const int count = static_cast<int>(level.Items.size());
    for (int step = 1; step <= count; ++step) {
        const int index = ((level.Hot < 0 ? -1 : level.Hot) + step + count) % count;
        const TMenuItem* item = level.Items[static_cast<std::size_t>(index)];
        if (Selectable(item) && !item->Caption.empty() &&
            std::tolower(static_cast<unsigned char>(item->Caption[0])) == wanted) {
            SetHot(levels_.size() - 1, index);
            EnsureVisible(levels_.size() - 1, index);
            break;
        }
    }
    return true;
}

// ---- Painting --------------------------------------------------------------------------

void TPopupMenuLayer::Paint(Canvas& canvas) {
    TOverlayLayer::Paint(canvas);
    for (const TLevel& level : levels_) {
        PaintLevel(canvas, level);
    }
}

void TPopupMenuLayer::PaintLevel(Canvas& canvas, const TLevel& level) const {
    const TSkin& skin = ActiveSkin();
    const Rect b = level.Bounds;
    // A soft shadow to the lower right.
    canvas.FillRoundRect(b.Offset({3, 4}), 6.0f, Color{0, 0, 0, 28});
    canvas.FillRoundRect(b.Offset({1, 2}), 5.0f, Color{0, 0, 0, 40});
    canvas.FillRoundRectWithBorder(b, 4.0f, 1.0f, skin.MenuFace, skin.MenuBorder);

    const std::size_t levelIndex = static_cast<std::size_t>(&level - levels_.data());
    const Font& font = menu_ != nullptr ? menu_->MenuFont() : MakeFont("Segoe UI", 12);
    const Rect area = ItemArea(level);
    {
        const ClipScope clip(canvas, area);
        for (std::size_t i = 0; i < level.Items.size(); ++i) {
            const TMenuItem& item = *level.Items[i];
            const Rect r = ItemRect(levelIndex, i);
            if (r.bottom <= area.top || r.top >= area.bottom) {
                continue;
            }
            if (item.IsSeparator()) {
                const int y = (r.top + r.bottom) / 2;
                canvas.HLine(r.left + 8, r.right - 8, y, skin.MenuSeparator);
                continue;
            }
            const bool hot = level.Hot == static_cast<int>(i);
            Color text = skin.MenuText;
            if (!item.Enabled) {
                text = skin.MenuDisabledText;
            } else if (hot) {
                text = skin.MenuHotText;
            }
            if (hot) {
                const Color face =
                    item.Enabled ? skin.MenuHotFace : skin.MenuHotFace.WithAlpha(110);
                canvas.FillRoundRect({r.left + 3, r.top + 1, r.right - 3, r.bottom - 1}, 3.0f,
                                     face);
            }
            const float cy = static_cast<float>(r.top + r.bottom) / 2.0f;
            if (item.Checked) {
                const float x = static_cast<float>(r.left);
                const PointF tick[] = {
                    {x + 9.5f, cy + 0.2f}, {x + 13.0f, cy + 3.7f}, {x + 19.5f, cy - 3.8f}};
                StrokePolyline(canvas, tick, 2.0f,
                               item.Enabled ? (hot ? skin.MenuHotText : skin.MenuCheck) : text);
            }
            const Rect textRect{r.left + kGutter, r.top, r.right - kArrowSpace + 4, r.bottom};
            DrawTextInRect(canvas, font, item.Caption, textRect, text, TextAlign::Left,
                           TextOverflow::Ellipsis);
            if (item.IsSubmenu()) {
                const float ax = static_cast<float>(r.right) - 15.0f;
                const PointF arrow[] = {{ax, cy - 4.0f}, {ax + 4.5f, cy}, {ax, cy + 4.0f}};
                FillPolygon(canvas, arrow, text);
            }
        }
    }
    if (level.Scrollable) {
        const float cx = static_cast<float>(b.left + b.right) / 2.0f;
        const float up = static_cast<float>(b.top + kPadding) + kScrollArrowHeight / 2.0f;
        const float down = static_cast<float>(b.bottom - kPadding) - kScrollArrowHeight / 2.0f;
        const int maxScroll = std::max(0, level.ContentHeight - area.Height());
        const Color on = skin.MenuText;
        const Color off = skin.MenuDisabledText;
        const PointF upArrow[] = {{cx - 5, up + 2.5f}, {cx + 5, up + 2.5f}, {cx, up - 2.5f}};
        const PointF downArrow[] = {
            {cx - 5, down - 2.5f}, {cx + 5, down - 2.5f}, {cx, down + 2.5f}};
        FillPolygon(canvas, upArrow, level.Scroll > 0 ? on : off);
        FillPolygon(canvas, downArrow, level.Scroll < maxScroll ? on : off);
    }
}

} // namespace ostinel::gui
