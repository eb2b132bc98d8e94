// TfrmEditor: the channel header above the grid (channel buttons, Active switch, note range
// inputs, channel menu button) and the two refresh operations that bring header and grid in
// line with the model.
#include "common/QelCommon.h"
#include "editor/map/CellValues.h"
#include "editor/map/Editor.h"
#include "editor/map/QelDrawGrid.h"
#include "graphics/Text.h"
#include "gui/controls/Label.h"
#include "gui/controls/QelGuiStitchedSwitch.h"
#include "gui/controls/QelMenuButton.h"
#include "gui/controls/QelNumericInput.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/skins/Skin.h"
#include "services/VSTPluginBase.h"

#include <algorithm>

namespace ostinel {

namespace {

constexpr int kChannelButtonsLeft = 524;
constexpr int kChannelButtonsPitch = 26;
constexpr int kChannelGroup = 1;
constexpr int kLearnEntryTag = -1000;

// The embedded face runs wider than the design's Tahoma and Segoe UI: a label is widened to
// its text where the design's width would cut it.
gui::TLabel& AddLabel(gui::Widget& parent, const char* name, const char* caption,
                      const gui::Font& font, gui::Rect bounds) {
    auto& label = parent.Add<gui::TLabel>(caption);
    label.SetName(name);
    label.SetCaptionFont(font);
    label.SetAutoSize(false);
    label.SetBounds(bounds.left, bounds.top,
                    std::max(bounds.Width(), gui::TextWidth(font, caption)), bounds.Height());
    return label;
}

// Holds the range inputs' change handling off while the header is filled from the model.
class TUpdatingScope {
public:
    explicit TUpdatingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TUpdatingScope() { flag_ = false; }
    TUpdatingScope(const TUpdatingScope&) = delete;
    TUpdatingScope& operator=(const TUpdatingScope&) = delete;

private:
    bool& flag_;
};

} // namespace

void TfrmEditor::CreateHeader() {
    gui::TQelGuiPanel& main = panMain();

    switchActive_ = &main.Add<gui::TQelGuiStitchedSwitch>();
    switchActive_->SetName("switchActive");
    switchActive_->SetBounds(6, 7, 24, 24);
    switchActive_->OnChange = [this] { switchActiveChange(); };

    lblChannel_ = &AddLabel(main, "lblChannel", "Channel 1", gui::MakeFont("Tahoma", 15),
                            gui::Rect::FromSize(37, 10, 74, 18));
    // Room for the widest caption, "Channel 16".
    lblChannel_->SetSize(
        std::max(lblChannel_->Width(), gui::TextWidth(lblChannel_->CaptionFont(), "Channel 16")),
        lblChannel_->Height());

    for (int i = 1; i <= kMapChannels; ++i) {
        auto& button = main.Add<gui::TQelSpTBXSpeedButton>(FormatInt(i));
        button.SetName(std::string("btnChannel") + (i < 10 ? "0" : "") + FormatInt(i));
        button.SetBounds(kChannelButtonsLeft + kChannelButtonsPitch * (i - 1), 8, 24, 24);
        button.SetCaptionFont(gui::MakeFont("Segoe UI", 12));
        button.SetGroupIndex(kChannelGroup);
        button.SetTag(i - 1);
        button.OnClick = [this, &button] { btnChannel01Click(button); };
        btnChannels_[static_cast<std::size_t>(i - 1)] = &button;
    }

    btnChannelMenu_ = &main.Add<gui::TQelMenuButton>();
    btnChannelMenu_->SetName("btnChannelMenu");
    btnChannelMenu_->SetBounds(6, 45, 24, 24);
    btnChannelMenu_->SetDropDownMenu(&channelMenu_.ddmChannelMenu());
    btnChannelMenu_->SetDropDownArrow(false);

    lblRange_ = &AddLabel(main, "lblRange", "Range", gui::MakeFont("Segoe UI", 13),
                          gui::Rect::FromSize(37, 47, 42, 21));
    lblRange_->SetLayout(gui::TTextLayout::Center);

    // The inputs' start values are no user's change: applied, they would overwrite the range
    // of the shown channel and rebuild a grid that does not exist yet.
    const TUpdatingScope scope(updating_);
    inputRangeFrom_ = &main.Add<gui::TQelNumericInput>();
    inputRangeFrom_->SetName("inputRangeFrom");
    inputRangeFrom_->SetBounds(86, 45, 44, 24);
    SetUpRangeInput(*inputRangeFrom_, TRangeEnd::From);
    inputRangeFrom_->SetValue(0);

    lblRangeTo_ = &AddLabel(main, "lblRangeTo", "-", gui::MakeFont("Segoe UI", 16),
                            gui::Rect::FromSize(135, 45, 10, 25));
    lblRangeTo_->SetAlignment(gui::TextAlign::Center);
    lblRangeTo_->SetLayout(gui::TTextLayout::Center);

    inputRangeTo_ = &main.Add<gui::TQelNumericInput>();
    inputRangeTo_->SetName("inputRangeTo");
    inputRangeTo_->SetBounds(148, 45, 44, 24);
    SetUpRangeInput(*inputRangeTo_, TRangeEnd::To);
    inputRangeTo_->SetValue(127);
}

void TfrmEditor::SetUpRangeInput(gui::TQelNumericInput& input, TRangeEnd end) {
    input.SetMinValue(0);
    input.SetMaxValue(127);
    input.SetCenter(true);
    input.SetBorderWidth(1);
    input.SetInputFont(gui::MakeTFont("Segoe UI", 12));
    input.SetHighlight(false);
    input.OnGetText = [](float value, std::string& text) { text = FormatInt(RoundedValue(value)); };
    input.OnGetPopupGroup = [](int value, std::string& group) { group = DecadeRangeText(value); };
    input.OnPopulatePopupMenu = [this, &input](gui::TQelPopupMenu& popup) {
        auto learn = std::make_unique<gui::TMenuItem>("Learn", kLearnEntryTag);
        learn->OnClick = [this, &input](gui::TMenuItem&) { StartInputLearn(input); };
        popup.Items().Insert(0, std::move(learn));
        popup.Items().Insert(1, std::make_unique<gui::TMenuItem>("-", kLearnEntryTag));
    };
    input.OnPopupPopupMenu = [this](gui::TQelPopupMenu& popup) {
        if (popup.Items().Count() > 0) {
            popup.Items().Items(0).Enabled = switchActive_->Value();
        }
    };
    input.OnBeforeMouseDown = [this, end](gui::MouseButton button, gui::Modifiers mods, int, int,
                                          bool& proceed) {
        inputRangeBeforeMouseDown(end, button, mods, proceed);
    };
    input.OnMouseDown = [this](const gui::MouseEvent&) { rangeMouseDown_ = true; };
    input.OnMouseUp = [this, end](const gui::MouseEvent&) { inputRangeMouseUp(end); };
    input.OnChange = [this, end] { inputRangeChange(end); };
}

gui::TQelSpTBXSpeedButton& TfrmEditor::btnChannel(int i) {
    return *btnChannels_.at(static_cast<std::size_t>(i - 1));
}

gui::TQelNumericInput& TfrmEditor::RangeInput(TRangeEnd end) {
    return end == TRangeEnd::From ? *inputRangeFrom_ : *inputRangeTo_;
}

// ---- Refresh -----------------------------------------------------------------------------

void TfrmEditor::RefreshChannelButtons() {
    TOstinel& map = Map();
    for (int i = 0; i < kMapChannels; ++i) {
        btnChannels_[static_cast<std::size_t>(i)]->SetUnderline(map[i].Active());
    }
    btnChannels_[static_cast<std::size_t>(ShownChannelIndex())]->SetDown(true);
}

void TfrmEditor::RefreshHeader() {
    const TUpdatingScope scope(updating_);
    lblChannel_->SetCaption("Channel " + FormatInt(ShownChannelIndex() + 1));
    // A different state runs the switch's change handling, as a user toggle would.
    switchActive_->SetValue(ShownChannel().Active());
    inputRangeFrom_->SetValue(ShownChannel().RangeFrom());
    inputRangeTo_->SetValue(ShownChannel().RangeTo());
    RebuildGrid();
}

// ---- Channel buttons and the Active switch -----------------------------------------------

void TfrmEditor::btnChannel01Click(gui::TQelSpTBXSpeedButton& button) {
    EndLearn();
    highlightedNotes_.Clear();
    Map().SetSelectedChannel(button.Tag());
    RefreshChannelButtons();
    RefreshHeader();
}

void TfrmEditor::switchActiveChange() {
    EndLearn();
    ShownChannel().SetActive(switchActive_->Value());
    if (!switchActive_->Value()) {
        const int rowCount = grdMap_->RowCount();
        for (std::size_t i = 0; i < highlightedNotes_.Count(); ++i) {
            grdMap_->InvalidateCell(
                0, RowOfNote(highlightedNotes_.Items(i).Note, rowCount, gridFrom_));
        }
        highlightedNotes_.Clear();
    }
    NotifyHostOfChange();
    RefreshChannelButtons();
}

// ---- Range inputs ------------------------------------------------------------------------

void TfrmEditor::StartInputLearn(gui::TQelNumericInput& input) {
    EndLearn();
    Owner().SetLearnState(kLearnNote);
    learnTarget_ = &input == inputRangeFrom_ ? TLearnTarget::RangeFrom : TLearnTarget::RangeTo;
    learnGeneration_ = module_.StateGeneration();
    input.SetHighlight(true);
}

void TfrmEditor::ShowRangeInfo(TRangeEnd end) {
    ShowInfo((end == TRangeEnd::From ? "Range From: " : "Range To: ") +
             NoteLabel(RangeInput(end).ValueAsInteger()));
}

void TfrmEditor::inputRangeBeforeMouseDown(TRangeEnd end, gui::MouseButton button,
                                           gui::Modifiers mods, bool& /*proceed*/) {
    EndLearn();
    if (button != gui::MouseButton::Left) {
        return;
    }
    if (mods.ctrl) {
        // 0 for the To input as well; applying it raises it to the From value.
        RangeInput(end).SetValue(0);
    }
    ShowRangeInfo(end);
}

void TfrmEditor::inputRangeMouseUp(TRangeEnd end) {
    if (!rangeMouseDown_) {
        return;
    }
    rangeMouseDown_ = false;
    ApplyRange(end);
}

void TfrmEditor::inputRangeChange(TRangeEnd end) {
    if (updating_) {
        return;
    }
    ShowRangeInfo(end);
    // A value dragged with the mouse is applied once, on release.
    if (!rangeMouseDown_) {
        ApplyRange(end);
    }
}

void TfrmEditor::ApplyRange(TRangeEnd end) {
    if (end == TRangeEnd::From) {
        ApplyRangeFrom();
    } else {
        ApplyRangeTo();
    }
}

void TfrmEditor::ApplyRangeFrom() {
    TOstinelChannel& channel = ShownChannel();
    if (inputRangeFrom_->ValueAsInteger() == RoundedValue(channel.RangeFrom())) {
        return;
    }
    if (inputRangeFrom_->Value() > inputRangeTo_->Value()) {
        // Runs the change handling again for the new value, which may apply it already.
        inputRangeFrom_->SetValue(inputRangeTo_->Value());
        if (inputRangeFrom_->ValueAsInteger() == RoundedValue(channel.RangeFrom())) {
            return;
        }
    }
    channel.SetRangeFrom(static_cast<float>(inputRangeFrom_->ValueAsInteger()));
    NotifyHostOfChange();
    RebuildGrid();
}

void TfrmEditor::ApplyRangeTo() {
    TOstinelChannel& channel = ShownChannel();
    if (inputRangeTo_->ValueAsInteger() == RoundedValue(channel.RangeTo())) {
        return;
    }
    if (inputRangeTo_->Value() < inputRangeFrom_->Value()) {
        inputRangeTo_->SetValue(inputRangeFrom_->Value());
        if (inputRangeTo_->ValueAsInteger() == RoundedValue(channel.RangeTo())) {
            return;
        }
    }
    channel.SetRangeTo(static_cast<float>(inputRangeTo_->ValueAsInteger()));
    NotifyHostOfChange();
    RebuildGrid();
}

void TfrmEditor::SetRangeFromTemplate(int first, int last) {
    const auto from = static_cast<float>(std::clamp(first, 0, 127));
    const auto to = static_cast<float>(std::clamp(last, 0, 127));
    auto setFrom = [this, from] {
        inputRangeFrom_->SetValue(from);
        ApplyRangeFrom();
    };
    auto setTo = [this, to] {
        inputRangeTo_->SetValue(to);
        ApplyRangeTo();
    };
    // Move the end first that makes room for the other, so the old range never clamps the
    // new one.
    if (from > inputRangeTo_->Value()) {
        setTo();
        setFrom();
    } else {
        setFrom();
        setTo();
    }
}

} // namespace ostinel
