#pragma once
// A scroll bar: arrow ends, a track and a thumb whose length shows the visible part. Arrows
// and the track repeat while held; dragging the thumb moves the position as it goes (thumb
// tracking). Position runs from Min to Max (the largest first-visible position).
#include "gui/widgets/Timer.h"
#include "gui/widgets/Widget.h"

#include <functional>
#include <memory>

namespace ostinel::gui {

enum class TScrollBarKind { Horizontal, Vertical };

// The platform's scroll bar thickness (SM_CXVSCROLL at 96 dpi).
[[nodiscard]] constexpr int GetSystemScrollBarWidth() {
    return 17;
}

class TScrollBar : public Widget {
public:
    explicit TScrollBar(TScrollBarKind kind = TScrollBarKind::Vertical);
    ~TScrollBar() override;

    [[nodiscard]] TScrollBarKind Kind() const { return kind_; }
    // Max below Min counts as Min; the position is clamped into the new range.
    void SetParams(int min, int max, int pageSize);
    [[nodiscard]] int Min() const { return min_; }
    [[nodiscard]] int Max() const { return max_; }
    [[nodiscard]] int PageSize() const { return pageSize_; }
    [[nodiscard]] int Position() const { return position_; }
    // Clamped; a change repaints and fires OnChange.
    void SetPosition(int position);
    [[nodiscard]] int SmallChange() const { return smallChange_; }
    void SetSmallChange(int change) { smallChange_ = change < 1 ? 1 : change; }

    std::function<void()> OnChange;

    // Geometry in local coordinates (for tests and painting).
    [[nodiscard]] Rect ThumbRect() const;
    [[nodiscard]] Rect LowArrowRect() const;
    [[nodiscard]] Rect HighArrowRect() const;

    void Paint(Canvas& canvas) override;
    bool MouseDown(const MouseEvent& e) override;
    bool MouseMove(Point pos, Modifiers mods) override;
    bool MouseUp(const MouseEvent& e) override;
    bool MouseWheel(const WheelEvent& e) override;
    void MouseLeave() override;
    void MouseCaptureLost() override;

private:
    enum class TPart { None, LowArrow, HighArrow, LowTrack, HighTrack, Thumb };
    [[nodiscard]] int Along(Point p) const;
    [[nodiscard]] int Length() const;
    [[nodiscard]] int Thickness() const;
    [[nodiscard]] int ArrowLength() const;
    [[nodiscard]] TPart PartAt(Point p) const;
    void StepPart();
    void StopRepeat();

    TScrollBarKind kind_;
    int min_ = 0;
    int max_ = 0;
    int pageSize_ = 1;
    int position_ = 0;
    int smallChange_ = 1;
    TPart pressed_ = TPart::None;
    TPart hot_ = TPart::None;
    int dragOffset_ = 0;
    Point lastPos_;
    std::unique_ptr<TTimer> repeat_;
};

} // namespace ostinel::gui
