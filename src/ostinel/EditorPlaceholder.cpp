#include "ostinel/EditorPlaceholder.h"

#include "gui/canvas/Text.h"
#include "gui/controls/Label.h"
#include "gui/skins/Skin.h"
#include "services/VSTPluginBaseDM.h"

#include <algorithm>

namespace ostinel {

using gui::Color;
using gui::MakeFont;
using gui::Rect;
using gui::TextAlign;
using gui::TLabel;
using gui::TQelGuiPanel;
using gui::TTextLayout;

namespace {

constexpr int kPad = 14;
constexpr int kHeadingTop = 10;
constexpr int kInfoWidth = 380;
constexpr int kInfoHeight = 26;
constexpr int kBodyTop = 46;
constexpr int kBodyInset = 10;

// A colour part of the way from a to b (quiet texts: the text colour towards the panel's).
Color Mix(Color a, Color b, int percentB) {
    auto channel = [percentB](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>((x * (100 - percentB) + y * percentB + 50) / 100);
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), 255};
}

TQelGuiPanel& AddGroupPanel(gui::Widget& parent, const char* name) {
    auto& panel = parent.Add<TQelGuiPanel>();
    panel.SetName(name);
    panel.SetPanelGroupColor(true);
    panel.SetAlpha(255);
    panel.SetBorderRadius(6.0f);
    panel.SetBorderVisible(true); // in the skin's frame colour, as the toolkit's group panels
    return panel;
}

TLabel& AddLabel(gui::Widget& parent, const char* name, const gui::Font& font) {
    auto& label = parent.Add<TLabel>();
    label.SetName(name);
    label.SetCaptionFont(font);
    return label;
}

} // namespace

TfrmEditorPlaceholder::TfrmEditorPlaceholder(gui::WidgetRoot& root, TVSTPluginBase& owner)
    : TfrmVSTEditorBase(root), owner_(owner) {
    const gui::TSkin& skin = gui::ActiveSkin();
    const Color quiet = Mix(skin.WindowText, skin.Panel, 40);
    TQelGuiPanel& main = panMain();

    lblTitle_ = &AddLabel(main, "lblTitle", MakeFont("Tahoma", 21));
    lblTitle_->SetCaption("Ostinel");
    lblVersion_ = &AddLabel(main, "lblVersion", FormFont());
    lblVersion_->SetCaption("Version " + owner_.PluginVersion());
    lblVersion_->SetFontColor(quiet);

    panInfo_ = &AddGroupPanel(main, "panInfo");
    lblInfo_ = &AddLabel(*panInfo_, "lblInfo", FormFont());
    lblInfo_->SetAutoSize(false);
    lblInfo_->SetAlignment(TextAlign::Center);
    lblInfo_->SetLayout(TTextLayout::Center);

    panBody_ = &AddGroupPanel(main, "panBody");
    lblBodyTitle_ = &AddLabel(*panBody_, "lblBodyTitle", MakeFont("Tahoma", 15));
    lblBodyTitle_->SetAutoSize(false);
    lblBodyTitle_->SetAlignment(TextAlign::Center);
    lblBodyTitle_->SetCaption("MIDI note mapping");
    lblBodyText_ = &AddLabel(*panBody_, "lblBodyText", FormFont());
    lblBodyText_->SetAutoSize(false);
    lblBodyText_->SetAlignment(TextAlign::Center);
    lblBodyText_->SetFontColor(quiet);
    lblBodyText_->SetCaption("16 channels \xC2\xB7 128 notes \xC2\xB7 3 targets per note");

    PresetNameChanged();
}

void TfrmEditorPlaceholder::PresetNameChanged() {
    const std::string& name = owner_.PresetName();
    SetInfoText(name.empty() ? std::string("No preset loaded") : "Preset: " + name);
}

void TfrmEditorPlaceholder::SetInfoText(const std::string& text) {
    infoText_ = text;
    lblInfo_->SetCaption(
        gui::EllipsizeText(lblInfo_->CaptionFont(), text, std::max(1, lblInfo_->Width())));
}

void TfrmEditorPlaceholder::Resized() {
    TfrmVSTEditorBase::Resized();
    Layout();
}

void TfrmEditorPlaceholder::Layout() {
    if (lblTitle_ == nullptr) {
        return; // still being built; the root sizes the form afterwards
    }
    const int w = panMain().Width();
    const int h = panMain().Height();
    lblTitle_->SetPosition(kPad, kHeadingTop - 1);
    // The version sits on the title's baseline.
    const int baseline = lblTitle_->Top() + gui::GetFontMetrics(lblTitle_->CaptionFont()).ascent;
    lblVersion_->SetPosition(lblTitle_->Bounds().right + 10,
                             baseline - gui::GetFontMetrics(lblVersion_->CaptionFont()).ascent);

    panInfo_->SetBounds(std::max(kPad, w - kPad - kInfoWidth), kHeadingTop, kInfoWidth,
                        kInfoHeight);
    lblInfo_->SetBounds(8, 0, kInfoWidth - 16, kInfoHeight);
    SetInfoText(infoText_);

    panBody_->SetBounds(Rect{kBodyInset, kBodyTop, std::max(kBodyInset, w - kBodyInset),
                             std::max(kBodyTop, h - kBodyInset)});
    const int bodyW = panBody_->Width();
    const int titleH = gui::GetFontMetrics(lblBodyTitle_->CaptionFont()).height;
    const int textH = gui::GetFontMetrics(lblBodyText_->CaptionFont()).height;
    const int top = (panBody_->Height() - titleH - 8 - textH) / 2;
    lblBodyTitle_->SetBounds(0, top, bodyW, titleH);
    lblBodyText_->SetBounds(0, top + titleH + 8, bodyW, textH);
}

} // namespace ostinel
