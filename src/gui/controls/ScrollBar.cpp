#include "gui/controls/ScrollBar.h"

#include "gui/skins/Skin.h"
#include "gui/widgets/Shapes.h"
#include "gui/widgets/TextUtil.h"
#include "gui/widgets/WidgetRoot.h"

#include <algorithm>

namespace ostinel::gui {

namespace {

constexpr int kMinThumb = 14;
constexpr int kFirstRepeatMs = 350;
constexpr int kRepeatMs = 50;

} // namespace

TScrollBar::TScrollBar(TScrollBarKind kind) : kind_(kind) {
    if (kind == TScrollBarKind::Vertical) {
        SetSize(GetSystemScrollBarWidth(), 100);
    } else {
        SetSize(100, GetSystemScrollBarWidth());
    }
}

TScrollBar::~TScrollBar() = default;

void TScrollBar::SetParams(int min, int max, int pageSize) {
    min_ = min;
    max_ = std::max(min, max);
    pageSize_ = std::max(1, pageSize);
    Invalidate();
    SetPosition(position_);
}

void TScrollBar::SetPosition(int position) {
    position = std::clamp(position, min_, max_);
    if (position != position_) {
        position_ = position;
        Invalidate();
        if (OnChange) {
            OnChange();
        }
    }
}

int TScrollBar::Along(Point p) const {
    return kind_ == TScrollBarKind::Vertical ? p.y : p.x;
}

int TScrollBar::Length() const {
    return kind_ == TScrollBarKind::Vertical ? Height() : Width();
}

int TScrollBar::Thickness() const {
    return kind_ == TScrollBarKind::Vertical ? Width() : Height();
}

int TScrollBar::ArrowLength() const {
    return std::min(Thickness(), Length() / 2);
}

Rect TScrollBar::LowArrowRect() const {
    const int a = ArrowLength();
    return kind_ == TScrollBarKind::Vertical ? Rect{0, 0, Width(), a} : Rect{0, 0, a, Height()};
}

Rect TScrollBar::HighArrowRect() const {
    const int a = ArrowLength();
    return kind_ == TScrollBarKind::Vertical ? Rect{0, Height() - a, Width(), Height()}
                                             : Rect{Width() - a, 0, Width(), Height()};
}

Rect TScrollBar::ThumbRect() const {
    const int a = ArrowLength();
    const int track = Length() - 2 * a;
    const int range = max_ - min_;
    if (range <= 0 || track <= kMinThumb) {
        return {};
    }
    const long long total = static_cast<long long>(range) + pageSize_;
    const int thumb = std::clamp(
        static_cast<int>(static_cast<long long>(track) * pageSize_ / total), kMinThumb, track);
    const int offset =
        static_cast<int>(static_cast<long long>(track - thumb) * (position_ - min_) / range);
    const int start = a + offset;
    return kind_ == TScrollBarKind::Vertical ? Rect{0, start, Width(), start + thumb}
                                             : Rect{start, 0, start + thumb, Height()};
}

TScrollBar::TPart TScrollBar::PartAt(Point p) const {
    if (!ClientRect().Contains(p)) {
        return TPart::None;
    }
    if (LowArrowRect().Contains(p)) {
        return TPart::LowArrow;
    }
    if (HighArrowRect().Contains(p)) {
        return TPart::HighArrow;
    }
    const Rect thumb = ThumbRect();
    if (thumb.IsEmpty()) {
        return TPart::None;
    }
    if (thumb.Contains(p)) {
        return TPart::Thumb;
    }
    const int at = Along(p);
    return at < Along(thumb.TopLeft()) ? TPart::LowTrack : TPart::HighTrack;
}

void TScrollBar::StepPart() {
    switch (pressed_) {
    case TPart::LowArrow:
        SetPosition(position_ - smallChange_);
        break;
    case TPart::HighArrow:
        SetPosition(position_ + smallChange_);
        break;
    case TPart::LowTrack:
        if (PartAt(lastPos_) == TPart::LowTrack) {
            SetPosition(position_ - pageSize_);
        }
        break;
    case TPart::HighTrack:
        if (PartAt(lastPos_) == TPart::HighTrack) {
            SetPosition(position_ + pageSize_);
        }
        break;
    case TPart::Thumb:
    case TPart::None:
        break;
    }
}

void TScrollBar::StopRepeat() {
    if (repeat_ != nullptr) {
        repeat_->Stop();
    }
}

bool TScrollBar::MouseDown(const MouseEvent& e) {
    if (e.button != MouseButton::Left || max_ <= min_) {
        return true;
    }
    pressed_ = PartAt(e.pos);
    lastPos_ = e.pos;
    if (pressed_ == TPart::Thumb) {
        dragOffset_ = Along(e.pos) - Along(ThumbRect().TopLeft());
    } else if (pressed_ != TPart::None) {
        StepPart();
        if (repeat_ == nullptr && Root() != nullptr) {
            repeat_ = std::make_unique<TTimer>(*Root(), kFirstRepeatMs);
            repeat_->OnTimer = [this] {
                repeat_->SetInterval(kRepeatMs);
                StepPart();
            };
        }
        if (repeat_ != nullptr) {
            repeat_->SetInterval(kFirstRepeatMs);
            repeat_->Start();
        }
    }
    Invalidate();
    return true;
}

bool TScrollBar::MouseMove(Point pos, Modifiers mods) {
    lastPos_ = pos;
    if (pressed_ == TPart::Thumb) {
        const int a = ArrowLength();
        const Rect thumb = ThumbRect();
        const int thumbLength = kind_ == TScrollBarKind::Vertical ? thumb.Height() : thumb.Width();
        const int free = Length() - 2 * a - thumbLength;
        if (free > 0) {
            const int offset = std::clamp(Along(pos) - dragOffset_ - a, 0, free);
            const long long range = max_ - min_;
            SetPosition(min_ + static_cast<int>((offset * range + free / 2) / free));
        }
    } else if (pressed_ == TPart::None) {
        const TPart hot = PartAt(pos);
        if (hot != hot_) {
            hot_ = hot;
            Invalidate();
        }
    }
    return Widget::MouseMove(pos, mods);
}

bool TScrollBar::MouseUp(const MouseEvent& e) {
    if (e.button == MouseButton::Left) {
        pressed_ = TPart::None;
        StopRepeat();
        Invalidate();
    }
    return true;
}

bool TScrollBar::MouseWheel(const WheelEvent& e) {
    if (max_ <= min_) {
        return false;
    }
    SetPosition(position_ + (e.delta > 0 ? -3 : 3) * smallChange_);
    return true;
}

void TScrollBar::MouseLeave() {
    if (hot_ != TPart::None) {
        hot_ = TPart::None;
        Invalidate();
    }
    Widget::MouseLeave();
}

void TScrollBar::MouseCaptureLost() {
    pressed_ = TPart::None;
    StopRepeat();
    Invalidate();
}

void TScrollBar::Paint(Canvas& canvas) {
    const TSkin& skin = ActiveSkin();
    canvas.FillRect(ClientRect(), skin.ScrollTrack);
    const bool enabled = max_ > min_ && IsEnabledInTree();
    const Color arrowOff = MixColor(skin.ScrollArrow, skin.ScrollTrack, 0.6f);
    auto arrow = [&](const Rect& r, bool low, TPart part) {
        const Color c = !enabled           ? arrowOff
                        : pressed_ == part ? skin.ScrollThumbHot
                        : hot_ == part     ? MixColor(skin.ScrollArrow, skin.WindowText, 0.5f)
                                           : skin.ScrollArrow;
        const float cx = static_cast<float>(r.left + r.right) / 2.0f;
        const float cy = static_cast<float>(r.top + r.bottom) / 2.0f;
        if (kind_ == TScrollBarKind::Vertical) {
            const float d = low ? -1.0f : 1.0f;
            const PointF tri[] = {
                {cx - 4.0f, cy - 2.0f * d}, {cx + 4.0f, cy - 2.0f * d}, {cx, cy + 2.5f * d}};
            FillPolygon(canvas, tri, c);
        } else {
            const float d = low ? -1.0f : 1.0f;
            const PointF tri[] = {
                {cx - 2.0f * d, cy - 4.0f}, {cx - 2.0f * d, cy + 4.0f}, {cx + 2.5f * d, cy}};
            FillPolygon(canvas, tri, c);
        }
    };
    arrow(LowArrowRect(), true, TPart::LowArrow);
    arrow(HighArrowRect(), false, TPart::HighArrow);
    const Rect thumb = ThumbRect();
    if (enabled && !thumb.IsEmpty()) {
        const Color c = pressed_ == TPart::Thumb || hot_ == TPart::Thumb ? skin.ScrollThumbHot
                                                                         : skin.ScrollThumb;
        const Rect pill =
            kind_ == TScrollBarKind::Vertical
                ? Rect{thumb.left + 4, thumb.top + 1, thumb.right - 4, thumb.bottom - 1}
                : Rect{thumb.left + 1, thumb.top + 4, thumb.right - 1, thumb.bottom - 4};
        canvas.FillRoundRect(pill, 4.5f, c);
    }
}

} // namespace ostinel::gui
