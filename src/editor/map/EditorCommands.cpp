// TfrmEditor: the commands of the cell menus (values, Set All, Learn, Clear, Clear All,
// Default All, Load Scale) and of the channel menu (input templates, Copy, Paste).
#include "editor/files/ScaleFiles.h"
#include "editor/map/CellValues.h"
#include "editor/map/Editor.h"
#include "editor/map/QelDrawGrid.h"
#include "gui/dialogs/InputDlgNumeric.h"
#include "gui/dialogs/MessageDialog.h"
#include "services/BinClipboard.h"
#include "services/ChannelClipboard.h"
#include "services/VSTPluginBase.h"

#include <exception>

namespace ostinel {

namespace {

struct TSetAllDialog {
    const char* Caption;
    const char* Prompt;
    int Minimum;
    int Maximum;
};

// Three of the captions end with a space, as the users have always seen them.
TSetAllDialog SetAllDialog(TCellKind kind) {
    switch (kind) {
    case TCellKind::ckChannel:
        return {"Set Channel All ", "Channel (1-16)", 1, 16};
    case TCellKind::ckVelocityScale:
        return {"Set Velocity Scale All ", "Velocity Scale (-100% - +100%)", -100, 100};
    case TCellKind::ckRandom:
        return {"Set Random All", "Random (0 - 200)", 0, 200};
    default:
        return {"Set Note Probablity All ", "Note Probability (0 - 100)", 0, 100};
    }
}

} // namespace

// ---- Cell menus --------------------------------------------------------------------------

void TfrmEditor::CellMenuValue(TCellKind kind, int value) {
    TOstinToItem* target = CellTarget();
    if (target == nullptr || kind != cellInfo_.Kind) {
        return;
    }
    SetCellValue(*target, kind, static_cast<float>(value));
    if (kind == TCellKind::ckNote) {
        RepaintTarget(true);
    } else {
        grdMap_->InvalidateCell(cellInfo_.Col, cellInfo_.Row);
    }
    NotifyHostOfChange();
}

void TfrmEditor::CellMenuSetAll(TCellKind kind) {
    const TOstinToItem* target = CellTarget();
    if (target == nullptr || kind != cellInfo_.Kind) {
        return;
    }
    const TSetAllDialog dialog = SetAllDialog(kind);
    // The dialog outlives this event; it works on the hit as it was when it opened.
    const TCellInfo hit = cellInfo_;
    const std::uint32_t generation = module_.StateGeneration();
    (void)gui::InputNumber(OwnerRoot(), dialog.Caption, dialog.Prompt,
                           static_cast<double>(CellValue(*target, kind)), 0, dialog.Minimum,
                           dialog.Maximum, [this, hit, kind, generation](bool ok, double value) {
                               if (!ok || generation != module_.StateGeneration() ||
                                   hit.Channel != ShownChannelIndex()) {
                                   return;
                               }
                               TOstinelChannel& channel = ShownChannel();
                               for (int n = 0; n < kMapNotes; ++n) {
                                   SetCellValue(channel.Notes[n].Targets[hit.TargetIndex], kind,
                                                static_cast<float>(value));
                               }
                               grdMap_->InvalidateCol(hit.Col);
                               NotifyHostOfChange();
                           });
}

void TfrmEditor::CellMenuLearn() {
    if (CellTarget() == nullptr || cellInfo_.Kind != TCellKind::ckNote) {
        return;
    }
    Owner().SetLearnState(kLearnNote);
    learnTarget_ = TLearnTarget::Grid;
    learnGeneration_ = module_.StateGeneration();
    grdMap_->InvalidateCell(cellInfo_.Col, cellInfo_.Row);
}

void TfrmEditor::CellMenuClear() {
    TOstinToItem* target = CellTarget();
    if (target == nullptr) {
        return;
    }
    target->SetNote(-1);
    RepaintTarget(true);
    NotifyHostOfChange();
}

void TfrmEditor::CellMenuClearAll() {
    if (CellTarget() == nullptr) {
        return;
    }
    const TCellInfo hit = cellInfo_;
    const std::uint32_t generation = module_.StateGeneration();
    Confirm("Clear all notes?", "Clear All", [this, hit, generation] {
        if (generation != module_.StateGeneration() || hit.Channel != ShownChannelIndex()) {
            return;
        }
        TOstinelChannel& channel = ShownChannel();
        for (int n = 0; n < kMapNotes; ++n) {
            channel.Notes[n].Targets[hit.TargetIndex].SetNote(-1);
        }
        grdMap_->InvalidateGrid();
        NotifyHostOfChange();
    });
}

void TfrmEditor::CellMenuDefaultAll() {
    if (CellTarget() == nullptr) {
        return;
    }
    const TCellInfo hit = cellInfo_;
    const std::uint32_t generation = module_.StateGeneration();
    Confirm("Set to default notes?", "Default All", [this, hit, generation] {
        if (generation != module_.StateGeneration() || hit.Channel != ShownChannelIndex()) {
            return;
        }
        TOstinelChannel& channel = ShownChannel();
        for (int n = 0; n < kMapNotes; ++n) {
            channel.Notes[n].Targets[hit.TargetIndex].SetNote(static_cast<float>(n));
        }
        grdMap_->InvalidateGrid();
        NotifyHostOfChange();
    });
}

void TfrmEditor::LoadScale(std::size_t line, const std::string& caption) {
    if (CellTarget() == nullptr || cellInfo_.Kind != TCellKind::ckNote || line >= scales_.size()) {
        return;
    }
    const TCellInfo hit = cellInfo_;
    const std::uint32_t generation = module_.StateGeneration();
    Confirm("Load scale (\"" + caption + "\")?", "Load Scale",
            [this, hit, generation, text = scales_[line]] {
                if (generation != module_.StateGeneration() || hit.Channel != ShownChannelIndex()) {
                    return;
                }
                const std::vector<int> degrees = ScaleDegrees(text);
                TOstinelChannel& channel = ShownChannel();
                const TOstinToItem& target = channel.Notes[hit.SourceNote].Targets[hit.TargetIndex];
                const int base =
                    IsEmptyTarget(target) ? hit.SourceNote : RoundedValue(target.Note());
                // A line without a valid degree leaves the map as it is.
                if (!ostinel::LoadScale(channel, hit.SourceNote, hit.TargetIndex, base, degrees)) {
                    return;
                }
                NotifyHostOfChange();
                grdMap_->InvalidateGrid();
            });
}

// ---- Channel menu ------------------------------------------------------------------------

void TfrmEditor::ApplyInputTemplate(std::size_t line, const std::string& caption) {
    if (line >= inputTemplates_.size()) {
        return;
    }
    Confirm("Apply input template (\"" + caption + "\")?", "Input Template",
            [this, text = inputTemplates_[line]] {
                const TInputTemplate input = ParseInputTemplate(text);
                SetRangeFromTemplate(input.First, input.Last);
                TOstinelChannel& channel = ShownChannel();
                MapNotesToThemselves(channel, RoundedValue(channel.RangeFrom()),
                                     RoundedValue(channel.RangeTo()));
                SilenceNotes(channel, input.Silenced);
                grdMap_->InvalidateGrid();
            });
}

void TfrmEditor::ApplyDefaultTemplate() {
    Confirm("Apply default input template?", "Input Template", [this] {
        SetRangeFromTemplate(0, kMapNotes - 1);
        MapNotesToThemselves(ShownChannel(), 0, kMapNotes - 1);
        grdMap_->InvalidateGrid();
    });
}

void TfrmEditor::ChannelMenuCopy() {
    std::optional<TBinClipboard> clipboard = BinClipboard();
    if (!clipboard) {
        return;
    }
    try {
        CopyToClipboard(ShownChannel(), *clipboard);
    } catch (const std::exception& e) {
        (void)gui::ShowMessageDialog(OwnerRoot(), e.what(), "Copy", gui::TMsgDlgButtons::OK,
                                     gui::TMsgDlgType::Information);
    }
}

void TfrmEditor::ChannelMenuPaste() {
    Confirm("Paste from clipboard?", "Paste", [this] {
        std::optional<TBinClipboard> clipboard = BinClipboard();
        try {
            if (!clipboard) {
                throw Error("Empty clipboard");
            }
            PasteFromClipboard(module_.MapStore(), ShownChannelIndex(), *clipboard);
        } catch (const std::exception& e) {
            (void)gui::ShowMessageDialog(OwnerRoot(), e.what(), "Paste", gui::TMsgDlgButtons::OK,
                                         gui::TMsgDlgType::Information);
            return;
        }
        RefreshChannelButtons();
        RefreshHeader();
        NotifyHostOfChange();
    });
}

bool TfrmEditor::ChannelMenuCanPaste() const {
    const std::optional<TBinClipboard> clipboard = BinClipboard();
    return clipboard && clipboard->HasData();
}

} // namespace ostinel
