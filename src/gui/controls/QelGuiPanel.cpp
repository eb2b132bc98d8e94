#include "gui/controls/QelGuiPanel.h"

#include "gui/skins/Skin.h"

#include <algorithm>

namespace ostinel::gui {

TQelGuiPanel::TQelGuiPanel() {
    SetFocusable(true);
}

void TQelGuiPanel::SetPanelColor(Color c) {
    if (c != panelColor_) {
        panelColor_ = c;
        Invalidate();
    }
}

void TQelGuiPanel::SetAlpha(std::uint8_t alpha) {
    if (alpha != alpha_) {
        alpha_ = alpha;
        Invalidate();
    }
}

void TQelGuiPanel::SetBorderVisible(bool visible) {
    if (visible != borderVisible_) {
        borderVisible_ = visible;
        Invalidate();
    }
}

void TQelGuiPanel::SetBorderColor(Color c) {
    if (c != borderColor_) {
        borderColor_ = c;
        Invalidate();
    }
}

void TQelGuiPanel::SetBorderWidth(float width) {
    if (width != borderWidth_) {
        borderWidth_ = width;
        Invalidate();
    }
}

void TQelGuiPanel::SetBorderRadius(float radius) {
    if (radius != borderRadius_) {
        borderRadius_ = radius;
        Invalidate();
    }
}

void TQelGuiPanel::SetTransparent(bool transparent) {
    if (transparent != transparent_) {
        transparent_ = transparent;
        Invalidate();
    }
}

Color TQelGuiPanel::BackgroundColor() const {
    return color_.value_or(ActiveSkin().Window);
}

void TQelGuiPanel::SetColor(Color c) {
    if (!color_ || *color_ != c) {
        color_ = c;
        Invalidate();
    }
}

void TQelGuiPanel::ApplySkinColors() {
    const TSkin& skin = ActiveSkin();
    const bool light = skin.Kind == TSkinKind::Light;
    if (panelGroupColor_) {
        SetPanelColor(light ? skin.GenericBackground : skin.PanelGroup);
    } else {
        SetPanelColor(skin.Panel);
    }
    SetBorderColor(light ? skin.Border : skin.HintBase);
}

void TQelGuiPanel::Loaded() {
    if (useStyles_ && IsSkinActive()) {
        ApplySkinColors();
    }
}

void TQelGuiPanel::Paint(Canvas& canvas) {
    const Rect r = ClientRect();
    if (r.IsEmpty()) {
        return;
    }
    if (!transparent_) {
        canvas.FillRect(r, BackgroundColor());
    }
    const Color fill = panelColor_.WithAlpha(alpha_);
    if (borderVisible_) {
        canvas.FillRoundRectWithBorder(r, borderRadius_, std::max(borderWidth_, 1.0f), fill,
                                       borderColor_.WithAlpha(255));
    } else {
        canvas.FillRoundRect(r, borderRadius_, fill);
    }
}

} // namespace ostinel::gui
