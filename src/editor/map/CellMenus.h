#pragma once
// The popup menus of the grid's value cells: popMapChannel, popMapNote, popMapScale,
// popMapRandom and popMapNoteProb. Each offers every value (grouped in submenus of ten) and
// the commands that act on the whole target column; the Note menu also holds Learn, Clear,
// Clear All, Default All and the scales of Scales.txt. The commands themselves belong to the
// editor, which hands them in. GUI thread only.
#include "editor/map/MapGridLayout.h"
#include "gui/controls/QelPopupMenu.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace ostinel {

class TCellMenus {
public:
    // Tag of the fixed entries (commands, separators, scales), so that checking by value tag
    // never marks them.
    static constexpr int kCommandTag = -1000;
    // Entries before the note groups in popMapNote.
    static constexpr std::size_t kNoteFixedCount = 8;

    struct THandlers {
        std::function<void(TCellKind, int value)> Value;
        std::function<void(TCellKind)> SetAll;
        std::function<void()> Learn;
        std::function<void()> Clear;
        std::function<void()> ClearAll;
        std::function<void()> DefaultAll;
        // (index of the line in the sorted Scales list, the entry's caption)
        std::function<void(std::size_t, const std::string&)> LoadScale;
    };

    explicit TCellMenus(THandlers handlers);

    void BuildChannelPopup();
    // Refills "Load Scale" from the scale lines and the note groups with the current labels.
    void BuildNotePopup(const std::vector<std::string>& scales, int lowestOctave);
    void BuildProbabilityPopup();
    void BuildScalePopup();
    void BuildRandomPopup();

    // The menu of a value cell's kind; nullptr for other kinds.
    [[nodiscard]] gui::TQelPopupMenu* MenuFor(TCellKind kind);
    // Before opening: the entry of the rounded value and its group checked, all else
    // unchecked; in the Note menu Learn enabled only for an active channel and Clear only for
    // a target that has a note.
    void Prepare(TCellKind kind, int value, bool channelActive);

    [[nodiscard]] gui::TQelPopupMenu& popMapChannel() { return popMapChannel_; }
    [[nodiscard]] gui::TQelPopupMenu& popMapNote() { return popMapNote_; }
    [[nodiscard]] gui::TQelPopupMenu& popMapScale() { return popMapScale_; }
    [[nodiscard]] gui::TQelPopupMenu& popMapRandom() { return popMapRandom_; }
    [[nodiscard]] gui::TQelPopupMenu& popMapNoteProb() { return popMapNoteProb_; }
    [[nodiscard]] gui::TMenuItem& LoadScaleMenu() { return *loadScale_; }

private:
    void BuildSetAllMenu(gui::TQelPopupMenu& menu, TCellKind kind, int minValue, int maxValue,
                         const std::function<std::string(int)>& group,
                         const std::function<std::string(int)>& caption);
    void AddValues(gui::TMenuItem& parent, TCellKind kind, int minValue, int maxValue,
                   const std::function<std::string(int)>& group,
                   const std::function<std::string(int)>& caption);

    THandlers handlers_;
    gui::TQelPopupMenu popMapChannel_;
    gui::TQelPopupMenu popMapNote_;
    gui::TQelPopupMenu popMapScale_;
    gui::TQelPopupMenu popMapRandom_;
    gui::TQelPopupMenu popMapNoteProb_;
    gui::TMenuItem* learn_ = nullptr;
    gui::TMenuItem* clear_ = nullptr;
    gui::TMenuItem* loadScale_ = nullptr;
};

// Group captions of the value menus ("0 – 9", "190 – 200", "-100% – -91%", "90% – 100%").
[[nodiscard]] std::string RandomGroupCaption(int value);
[[nodiscard]] std::string ScaleGroupCaption(int value);
[[nodiscard]] std::string ProbabilityGroupCaption(int value);

} // namespace ostinel
