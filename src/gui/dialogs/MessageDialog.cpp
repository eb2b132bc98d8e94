#include "gui/dialogs/MessageDialog.h"

#include "gui/controls/Label.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/Shapes.h"
#include "gui/widgets/WidgetRoot.h"

#include <algorithm>

namespace ostinel::gui {

namespace {

constexpr int kMargin = 16;
constexpr int kIconSize = 32;
constexpr int kIconGap = 14;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 8;
constexpr int kFooterHeight = 46;
constexpr int kMinClientWidth = 240;

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            out += '\n';
        }
        out += lines[i];
    }
    return out;
}

// The footer strip behind the buttons, a shade off the dialog face.
class TFooter final : public Widget {
public:
    void Paint(Canvas& canvas) override {
        const TSkin& skin = ActiveSkin();
        canvas.FillRect(ClientRect(), MixColor(skin.DialogFace, skin.DialogCaption, 0.35f));
        canvas.HLine(0, Width(), 0, MixColor(skin.DialogFace, skin.DialogBorder, 0.45f));
    }
};

} // namespace

TDialogIcon::TDialogIcon(TMsgDlgType kind) : kind_(kind) {
    SetSize(kIconSize, kIconSize);
}

void TDialogIcon::Paint(Canvas& canvas) {
    const Color white = Color::Rgb(0xFFFFFF);
    switch (kind_) {
    case TMsgDlgType::Warning: {
        // An amber triangle with rounded corners and a dark exclamation mark.
        const PointF tri[] = {{16.0f, 4.5f}, {29.0f, 27.0f}, {3.0f, 27.0f}};
        FillPolygon(canvas, tri, Color::Rgb(0xB07A00), 2.2f);
        FillPolygon(canvas, tri, Color::Rgb(0xF5B727), 1.2f);
        const PointF bar[] = {{16.0f, 12.0f}, {16.0f, 19.5f}};
        StrokePolyline(canvas, bar, 3.2f, Color::Rgb(0x2B2100));
        FillCircle(canvas, {16.0f, 23.8f}, 1.9f, Color::Rgb(0x2B2100));
        break;
    }
    case TMsgDlgType::Information: {
        FillCircle(canvas, {16.0f, 16.0f}, 15.0f, Color::Rgb(0x1C5FAE));
        FillCircle(canvas, {16.0f, 16.0f}, 14.0f, Color::Rgb(0x2F7DD6));
        FillCircle(canvas, {16.0f, 9.5f}, 2.2f, white);
        const PointF stem[] = {{16.0f, 14.5f}, {16.0f, 23.5f}};
        StrokePolyline(canvas, stem, 3.6f, white);
        break;
    }
    case TMsgDlgType::Confirmation: {
        FillCircle(canvas, {16.0f, 16.0f}, 15.0f, Color::Rgb(0x1C5FAE));
        FillCircle(canvas, {16.0f, 16.0f}, 14.0f, Color::Rgb(0x2F7DD6));
        // The question mark: a hook (arc and stem) and a dot.
        StrokeArc(canvas, {16.0f, 12.2f}, 4.6f, 3.0f, 290.0f, 150.0f, white);
        const PointF stem[] = {{18.3f, 16.2f}, {16.0f, 18.0f}, {16.0f, 19.6f}};
        StrokePolyline(canvas, stem, 3.0f, white);
        FillCircle(canvas, {16.0f, 24.2f}, 1.9f, white);
        break;
    }
    }
}

TMessageForm::TMessageForm(const WidgetRoot& owner, std::string_view text, std::string_view caption,
                           TMsgDlgButtons buttons, TMsgDlgType kind,
                           std::function<void(TModalResult)> done)
    : TDialogForm(caption.empty() ? ApplicationTitle() : std::string(caption), kMinClientWidth,
                  100),
      done_(std::move(done)) {
    const Font font = MakeFont("Segoe UI", 12);
    const int lineHeight = GetFontMetrics(font).height;
    const int maxTextWidth =
        std::clamp(owner.Width() - 2 * kMargin - kIconSize - kIconGap - 40, 160, 420);
    std::vector<std::string> lines = WrapText(font, text, maxTextWidth);
    while (lines.size() > 1 && lines.back().empty()) {
        lines.pop_back(); // a closing line break adds no room below the text
    }
    int textWidth = 0;
    for (const std::string& line : lines) {
        textWidth = std::max(textWidth, TextWidth(font, line));
    }
    const int textHeight = lineHeight * static_cast<int>(lines.size());
    const int contentHeight = std::max(kIconSize, textHeight);

    std::vector<std::pair<std::string, TModalResult>> specs;
    if (buttons == TMsgDlgButtons::YesNo) {
        specs = {{"Yes", TModalResult::Yes}, {"No", TModalResult::No}};
    } else if (buttons == TMsgDlgButtons::YesNoCancel) {
        specs = {
            {"Yes", TModalResult::Yes}, {"No", TModalResult::No}, {"Cancel", TModalResult::Cancel}};
    } else {
        specs = {{"OK", TModalResult::OK}};
    }
    const int count = static_cast<int>(specs.size());
    const int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
    const int textLeft = kMargin + kIconSize + kIconGap;
    const int clientWidth =
        std::max({kMinClientWidth, textLeft + textWidth + kMargin + 8, buttonsWidth + 2 * kMargin});
    const int footerTop = kMargin + contentHeight + kMargin;
    const int clientHeight = footerTop + kFooterHeight;
    SetClientSize(clientWidth, clientHeight);

    Widget& client = Client();
    auto& icon = client.Add<TDialogIcon>(kind);
    icon.SetPosition(kMargin, kMargin + (contentHeight - kIconSize) / 2);
    message_ = &client.Add<TLabel>(JoinLines(lines));
    message_->SetCaptionFont(font);
    message_->SetFontColor(ActiveSkin().DialogText);
    message_->SetPosition(textLeft, kMargin + (contentHeight - textHeight) / 2);

    auto& footer = client.Add<TFooter>();
    footer.SetBounds(0, footerTop, clientWidth, kFooterHeight);
    int x = clientWidth - kMargin - buttonsWidth;
    for (const auto& [label, result] : specs) {
        auto& b = footer.Add<TButton>(label, result);
        b.SetBounds(x, (kFooterHeight - kButtonHeight) / 2, kButtonWidth, kButtonHeight);
        b.SetCaptionFont(font);
        b.OnClick = [this, r = result] { CloseWithResult(r); };
        buttons_.push_back(&b);
        x += kButtonWidth + kButtonGap;
    }
    // Yes or OK is the default; the last button (No, Cancel or OK) answers Escape.
    buttons_.front()->SetDefault(true);
    buttons_.back()->SetCancel(true);
    SetActiveControl(buttons_.front());
}

bool TMessageForm::KeyDown(const KeyEvent& e) {
    if (buttons_.size() >= 2 && WindowVisible() && !e.mods.ctrl && !e.mods.alt) {
        if (e.key == platform::Key::LetterA + ('Y' - 'A')) {
            buttons_[0]->Click();
            return true;
        }
        if (e.key == platform::Key::LetterA + ('N' - 'A')) {
            buttons_[1]->Click();
            return true;
        }
    }
    return TDialogForm::KeyDown(e);
}

void TMessageForm::Done(TModalResult result) {
    if (done_) {
        done_(result);
    }
}

TMessageForm& ShowMessageDialog(WidgetRoot& owner, std::string_view text, std::string_view caption,
                                TMsgDlgButtons buttons, TMsgDlgType kind,
                                std::function<void(TModalResult)> done) {
    auto form =
        std::make_unique<TMessageForm>(owner, text, caption, buttons, kind, std::move(done));
    TMessageForm& ref = *form;
    owner.PushOverlay(std::move(form));
    return ref;
}

} // namespace ostinel::gui
