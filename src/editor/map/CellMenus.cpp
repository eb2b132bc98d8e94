#include "editor/map/CellMenus.h"

#include "common/QelCommon.h"
#include "editor/files/ScaleFiles.h"

#include <algorithm>

namespace ostinel {

namespace {

constexpr const char* kEnDash = " \xE2\x80\x93 ";

// First value of the group of ten holding `value`; the last group also holds the maximum.
int GroupStart(int value, int lastGroupStart) {
    const int start = (value >= 0 ? value / 10 : -((-value + 9) / 10)) * 10;
    return std::min(start, lastGroupStart);
}

std::string GroupCaption(int value, int lastGroupStart, int maximum, const char* unit) {
    const int first = GroupStart(value, lastGroupStart);
    const int last = first == lastGroupStart ? maximum : first + 9;
    return FormatInt(first) + unit + kEnDash + FormatInt(last) + unit;
}

// An entry that runs one of the editor's handlers (an unset handler does nothing).
gui::TMenuItem& AddCommand(gui::TMenuItem& parent, const char* caption,
                           const std::function<void()>& handler) {
    return parent.Add(caption, TCellMenus::kCommandTag, [&handler](gui::TMenuItem&) {
        if (handler) {
            handler();
        }
    });
}

void AddSeparator(gui::TMenuItem& parent) {
    parent.AddSeparator().Tag = TCellMenus::kCommandTag;
}

} // namespace

std::string RandomGroupCaption(int value) {
    return GroupCaption(value, 190, 200, "");
}

std::string ScaleGroupCaption(int value) {
    return GroupCaption(value, 90, 100, "%");
}

std::string ProbabilityGroupCaption(int value) {
    return GroupCaption(value, 90, 100, "%");
}

TCellMenus::TCellMenus(THandlers handlers) : handlers_(std::move(handlers)) {
    gui::TMenuItem& note = popMapNote_.Items();
    learn_ = &AddCommand(note, "Learn", handlers_.Learn);
    AddSeparator(note);
    clear_ = &AddCommand(note, "Clear", handlers_.Clear);
    AddCommand(note, "Clear All", handlers_.ClearAll);
    AddCommand(note, "Default All", handlers_.DefaultAll);
    AddSeparator(note);
    loadScale_ = &note.Add("Load Scale", kCommandTag);
    AddSeparator(note);
}

void TCellMenus::AddValues(gui::TMenuItem& parent, TCellKind kind, int minValue, int maxValue,
                           const std::function<std::string(int)>& group,
                           const std::function<std::string(int)>& caption) {
    gui::TMenuItem* current = &parent;
    std::string currentGroup;
    for (int v = minValue; v <= maxValue; ++v) {
        if (group) {
            std::string g = group(v);
            if (current == &parent || g != currentGroup) {
                current = &parent.Add(g, -999);
                currentGroup = std::move(g);
            }
        }
        current->Add(caption(v), v, [this, kind](gui::TMenuItem& sender) {
            if (handlers_.Value) {
                handlers_.Value(kind, sender.Tag);
            }
        });
    }
}

void TCellMenus::BuildSetAllMenu(gui::TQelPopupMenu& menu, TCellKind kind, int minValue,
                                 int maxValue, const std::function<std::string(int)>& group,
                                 const std::function<std::string(int)>& caption) {
    gui::TMenuItem& items = menu.Items();
    items.Clear();
    items.Add("Set All", kCommandTag, [this, kind](gui::TMenuItem&) {
        if (handlers_.SetAll) {
            handlers_.SetAll(kind);
        }
    });
    AddSeparator(items);
    AddValues(items, kind, minValue, maxValue, group, caption);
}

void TCellMenus::BuildChannelPopup() {
    BuildSetAllMenu(popMapChannel_, TCellKind::ckChannel, 1, 16, nullptr,
                    [](int v) { return FormatInt(v); });
}

void TCellMenus::BuildScalePopup() {
    BuildSetAllMenu(popMapScale_, TCellKind::ckVelocityScale, -100, 100, ScaleGroupCaption,
                    [](int v) { return FormatInt(v) + "%"; });
}

void TCellMenus::BuildRandomPopup() {
    BuildSetAllMenu(popMapRandom_, TCellKind::ckRandom, 0, 200, RandomGroupCaption,
                    [](int v) { return FormatInt(v); });
}

void TCellMenus::BuildProbabilityPopup() {
    BuildSetAllMenu(popMapNoteProb_, TCellKind::ckProbability, 0, 100, ProbabilityGroupCaption,
                    [](int v) { return FormatInt(v) + "%"; });
}

void TCellMenus::BuildNotePopup(const std::vector<std::string>& scales, int lowestOctave) {
    gui::TMenuItem& items = popMapNote_.Items();
    while (items.Count() > kNoteFixedCount) {
        items.Delete(items.Count() - 1);
    }
    loadScale_->Clear();
    for (std::size_t i = 0; i < scales.size(); ++i) {
        std::string caption = ListEntryCaption(scales[i]);
        if (caption.empty()) {
            continue;
        }
        loadScale_->Add(caption, kCommandTag, [this, i](gui::TMenuItem& sender) {
            if (handlers_.LoadScale) {
                handlers_.LoadScale(i, sender.Caption);
            }
        });
    }
    AddValues(items, TCellKind::ckNote, 0, 127, DecadeRangeText,
              [lowestOctave](int v) { return NoteLabel(v, lowestOctave); });
}

gui::TQelPopupMenu* TCellMenus::MenuFor(TCellKind kind) {
    switch (kind) {
    case TCellKind::ckChannel:
        return &popMapChannel_;
    case TCellKind::ckNote:
        return &popMapNote_;
    case TCellKind::ckVelocityScale:
        return &popMapScale_;
    case TCellKind::ckRandom:
        return &popMapRandom_;
    case TCellKind::ckProbability:
        return &popMapNoteProb_;
    case TCellKind::ckNone:
    case TCellKind::ckNoteLabel:
        break;
    }
    return nullptr;
}

void TCellMenus::Prepare(TCellKind kind, int value, bool channelActive) {
    gui::TQelPopupMenu* menu = MenuFor(kind);
    if (menu == nullptr) {
        return;
    }
    menu->CheckItemsByTag(value, nullptr, true);
    if (kind == TCellKind::ckNote) {
        learn_->Enabled = channelActive;
        clear_->Enabled = value != -1;
    }
}

} // namespace ostinel
