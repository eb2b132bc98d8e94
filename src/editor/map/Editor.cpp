#include "editor/map/Editor.h"

#include "editor/files/ScaleFiles.h"
#include "editor/map/CellValues.h"
#include "editor/map/QelDrawGrid.h"
#include "gui/controls/QelGuiStitchedSwitch.h"
#include "gui/controls/QelNumericInput.h"
#include "gui/controls/QelPopupMenu.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/skins/Skin.h"
#include "gui/widgets/WidgetRoot.h"
#include "services/BinClipboard.h"
#include "services/VSTPluginBase.h"

#include <algorithm>

namespace ostinel {

namespace {

// The heading's components in this editor's design (the heading form's own design is
// narrower).
constexpr int kPresetsLeft = 337;
constexpr int kPresetsWidth = 277;
constexpr int kInfoLeft = 661;
constexpr int kInfoWidth = 283;
constexpr int kInfoLabelWidth = 272;

gui::Color ChooseHighlightColor() {
    // A window without a skin (it could not be loaded) highlights in black.
    return gui::IsSkinActive() ? gui::ActiveSkin().NoteHighlight : gui::Color{0, 0, 0, 255};
}

} // namespace

TfrmEditor::TfrmEditor(gui::WidgetRoot& root, IMapEditorModule& module)
    : TfrmVSTEditorMenu(root, module.PluginBase()), module_(module),
      gridFontName_(gui::GetMonospaceFontName()),
      cellMenus_({
          .Value = [this](TCellKind kind, int value) { CellMenuValue(kind, value); },
          .SetAll = [this](TCellKind kind) { CellMenuSetAll(kind); },
          .Learn = [this] { CellMenuLearn(); },
          .Clear = [this] { CellMenuClear(); },
          .ClearAll = [this] { CellMenuClearAll(); },
          .DefaultAll = [this] { CellMenuDefaultAll(); },
          .LoadScale = [this](std::size_t line,
                              const std::string& caption) { LoadScale(line, caption); },
      }),
      channelMenu_({
          .DefaultTemplate = [this] { ApplyDefaultTemplate(); },
          .InputTemplate =
              [this](std::size_t line, const std::string& caption) {
                  ApplyInputTemplate(line, caption);
              },
          .Copy = [this] { ChannelMenuCopy(); },
          .Paste = [this] { ChannelMenuPaste(); },
          .CanPaste = [this] { return ChannelMenuCanPaste(); },
      }) {
    PlaceHeading(kPresetsLeft, kPresetsWidth, kInfoLeft, kInfoWidth, kInfoLabelWidth);
    painter_ = std::make_unique<TMapGridPainter>(gridFontName_);
    CreateHeader();
    CreateGrid();
    shownGeneration_ = module_.StateGeneration();

    BuildInputTemplateMenu();
    cellMenus_.BuildChannelPopup();
    BuildNotePopup();
    cellMenus_.BuildProbabilityPopup();
    cellMenus_.BuildScalePopup();
    cellMenus_.BuildRandomPopup();
    highlightColor_ = ChooseHighlightColor();
}

TfrmEditor::~TfrmEditor() {
    // The base form ends the module's learn state; nothing of ours may wait for a note.
    learnTarget_ = TLearnTarget::None;
}

// ---- The model ---------------------------------------------------------------------------

TOstinel& TfrmEditor::Map() {
    return module_.MapStore().Edit();
}

int TfrmEditor::ShownChannelIndex() {
    // A state may carry any number; the editor shows a channel that exists.
    const int channel = Map().SelectedChannel();
    return channel >= 0 && channel < kMapChannels ? channel : 0;
}

TOstinelChannel& TfrmEditor::ShownChannel() {
    return Map()[ShownChannelIndex()];
}

TOstinToItem* TfrmEditor::CellTarget() {
    if (!cellInfo_.HasTarget() || cellInfo_.Channel != ShownChannelIndex() ||
        cellInfo_.SourceNote < 0 || cellInfo_.SourceNote >= kMapNotes ||
        cellInfo_.TargetIndex >= kMapTargets) {
        return nullptr;
    }
    return &ShownChannel().Notes[cellInfo_.SourceNote].Targets[cellInfo_.TargetIndex];
}

void TfrmEditor::NotifyHostOfChange() {
    module_.PluginBase().NotifyHostOfChange();
}

std::optional<TBinClipboard> TfrmEditor::BinClipboard() const {
    platform::IClipboard* clipboard = OwnerRoot().Clipboard();
    if (clipboard == nullptr) {
        return std::nullopt;
    }
    return TBinClipboard(*clipboard, kChannelClipboardFormat);
}

void TfrmEditor::Confirm(const std::string& text, const std::string& caption,
                         std::function<void()> yes) {
    (void)gui::ShowMessageDialog(OwnerRoot(), text, caption, gui::TMsgDlgButtons::YesNo,
                                 gui::TMsgDlgType::Confirmation,
                                 [yes = std::move(yes)](gui::TModalResult result) {
                                     if (result != gui::TModalResult::No) {
                                         yes();
                                     }
                                 });
}

std::string TfrmEditor::NoteLabel(int note) const {
    return ostinel::NoteLabel(note, Owner().LowestOctave());
}

// ---- Showing and the module's idle calls -------------------------------------------------

void TfrmEditor::FormShow() {
    TfrmVSTEditorMenu::FormShow();
    shown_ = true;
    shownGeneration_ = module_.StateGeneration();
    RefreshChannelButtons();
    RefreshHeader();
}

bool TfrmEditor::HeaderOutOfDate() {
    TOstinel& map = Map();
    const TOstinelChannel& channel = ShownChannel();
    for (int i = 0; i < kMapChannels; ++i) {
        if (btnChannels_[static_cast<std::size_t>(i)]->Underline() != map[i].Active()) {
            return true;
        }
    }
    if (!btnChannels_[static_cast<std::size_t>(ShownChannelIndex())]->Down() ||
        switchActive_->Value() != channel.Active()) {
        return true;
    }
    // While a range input is dragged its value runs ahead of the model on purpose. A pasted
    // range may lie outside 0..127, which the inputs show clamped.
    auto shown = [](float value) { return std::clamp(RoundedValue(value), 0, kMapNotes - 1); };
    return !rangeMouseDown_ && (inputRangeFrom_->ValueAsInteger() != shown(channel.RangeFrom()) ||
                                inputRangeTo_->ValueAsInteger() != shown(channel.RangeTo()));
}

void TfrmEditor::EditorIdle() {
    if (!shown_) {
        return;
    }
    const std::uint32_t generation = module_.StateGeneration();
    if (generation != shownGeneration_) {
        // The host (or the preset browser) loaded a state: whatever waited for a note or a
        // release belongs to the old map.
        shownGeneration_ = generation;
        EndLearn();
        highlightedNotes_.Clear();
        RefreshChannelButtons();
        RefreshHeader();
    } else if (HeaderOutOfDate()) {
        RefreshChannelButtons();
        RefreshHeader();
    }
}

bool TfrmEditor::HighlightNoteOn(int note) {
    // A note released and struck again before the idle call is held: its entry must not be
    // dropped as released.
    highlightedNotes_.FindOrAdd(note).Released = false;
    return true;
}

bool TfrmEditor::HighlightNoteOff(int note) {
    return highlightedNotes_.Release(note);
}

void TfrmEditor::UpdateHighlightedNotes() {
    const int rowCount = grdMap_->RowCount();
    for (std::size_t i = highlightedNotes_.Count(); i-- > 0;) {
        const THighlightedNote entry = highlightedNotes_.Items(i);
        grdMap_->InvalidateCell(0, RowOfNote(entry.Note, rowCount, gridFrom_));
        if (entry.Released) {
            highlightedNotes_.Delete(i);
        }
    }
}

void TfrmEditor::LearnNote(int note) {
    if (note < 0 || note >= kMapNotes) {
        return;
    }
    switch (learnTarget_) {
    case TLearnTarget::None:
        return;
    case TLearnTarget::RangeFrom:
    case TLearnTarget::RangeTo: {
        gui::TQelNumericInput& input =
            RangeInput(learnTarget_ == TLearnTarget::RangeFrom ? TRangeEnd::From : TRangeEnd::To);
        input.SetValue(static_cast<float>(note));
        break;
    }
    case TLearnTarget::Grid:
        // Only a target that still exists in the shown channel of the same state gets it.
        if (learnGeneration_ == module_.StateGeneration() && cellInfo_.Kind == TCellKind::ckNote) {
            if (TOstinToItem* target = CellTarget()) {
                target->SetNote(static_cast<float>(note));
                NotifyHostOfChange();
                RepaintTarget(true);
            }
        }
        break;
    }
    EndLearn();
}

void TfrmEditor::LearnEnded() {
    if (learnTarget_ != TLearnTarget::None && module_.PluginBase().LearnState() == kLearnNone) {
        EndLearn();
    }
}

void TfrmEditor::EndLearn() {
    switch (learnTarget_) {
    case TLearnTarget::RangeFrom:
        inputRangeFrom_->SetHighlight(false);
        break;
    case TLearnTarget::RangeTo:
        inputRangeTo_->SetHighlight(false);
        break;
    case TLearnTarget::Grid:
        grdMap_->InvalidateCell(cellInfo_.Col, cellInfo_.Row);
        break;
    case TLearnTarget::None:
        break;
    }
    learnTarget_ = TLearnTarget::None;
    CancelLearn();
    cellInfo_.Clear();
}

// ---- Hooks of the heading form -----------------------------------------------------------

void TfrmEditor::PresetBrowserClosed() {
    RefreshChannelButtons();
    RefreshHeader();
}

void TfrmEditor::InitializePreset() {
    TfrmVSTEditorMenu::InitializePreset();
    RefreshChannelButtons();
    RefreshHeader();
}

void TfrmEditor::LowestOctaveChanged() {
    TfrmVSTEditorMenu::LowestOctaveChanged();
    grdMap_->InvalidateGrid();
    BuildNotePopup();
}

void TfrmEditor::GetPresetBrowserSize(int& width, int& height) {
    width = Width() - 192;
    height = Height() - 128;
}

void TfrmEditor::ddmMenuPopup() {
    TfrmVSTEditorMenu::ddmMenuPopup();
    MenuItem("ddmMain_LowestOctave").Visible = true;
}

// ---- Menus -------------------------------------------------------------------------------

void TfrmEditor::BuildInputTemplateMenu() {
    inputTemplates_ = ReadUserList(Owner().UserFolder(), kInputFileName, DefaultInputText());
    channelMenu_.BuildInputTemplateMenu(inputTemplates_);
}

void TfrmEditor::BuildNotePopup() {
    scales_ = ReadUserList(Owner().UserFolder(), kScalesFileName, DefaultScalesText());
    cellMenus_.BuildNotePopup(scales_, Owner().LowestOctave());
}

} // namespace ostinel
