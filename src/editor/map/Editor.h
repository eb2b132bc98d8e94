#pragma once
// TfrmEditor: the plug-in's editor window. Below the heading (TfrmVSTEditorMenu) it shows one
// channel of the note map: a header with the channel buttons, the Active switch, the note
// range inputs and the channel menu, above the grid grdMap with one row per source note of
// the range and five cells for each of the three targets. Values are edited by dragging, the
// wheel, the cells' popup menus and the set-all dialogs; notes can be learned from the MIDI
// input and rows auditioned; held notes are highlighted.
//
// Threads: GUI thread only. The module hands played and learned notes over from its idle
// handler; the audio thread never calls in. The map is reached through the module at every
// use (MapStore().Edit()): a host state load publishes the store's other map, so nothing here
// keeps a reference into a map across events. The form's parts live in Editor.cpp (creation,
// hooks, learn, highlights), EditorHeader.cpp, EditorGrid.cpp and EditorCommands.cpp.
#include "editor/map/CellInfo.h"
#include "editor/map/CellMenus.h"
#include "editor/map/ChannelMenu.h"
#include "editor/map/HighlightedNotes.h"
#include "editor/map/MapEditorModule.h"
#include "editor/map/MapGridPainter.h"
#include "editor/menu/VSTEditorMenu.h"
#include "engine/Ostin.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ostinel {

namespace gui {
class TQelGuiStitchedSwitch;
class TQelNumericInput;
} // namespace gui

class TBinClipboard;
class TQelDrawGrid;

class TfrmEditor final : public TfrmVSTEditorMenu {
public:
    static constexpr int kClientWidth = 950;
    static constexpr int kClientHeight = 600;

    enum class TLearnTarget : std::uint8_t { None, RangeFrom, RangeTo, Grid };

    TfrmEditor(gui::WidgetRoot& root, IMapEditorModule& module);
    ~TfrmEditor() override;

    // ---- Calls from the module's idle handler ----
    // A note-on about to be mapped on the shown channel; true: repaint wanted.
    bool HighlightNoteOn(int note);
    // A note-off on the shown channel; true when the note was held.
    bool HighlightNoteOff(int note);
    // Repaints the held notes' labels and drops the released ones.
    void UpdateHighlightedNotes();
    // Applies a note learned from the MIDI input to whatever waits for it.
    void LearnNote(int note);
    // The module ended its learn state without a note: ends a learn still shown.
    void LearnEnded();
    // Ends a pending learn (range input or grid cell) and clears the info line and CellInfo.
    void EndLearn();
    // After a state load by the host (or the preset browser), shows the new state.
    void EditorIdle() override;

    // ---- Grid ----
    void RebuildGrid();
    // Widget's shape test stays available beside the grid's hit test.
    using TfrmVSTEditorMenu::HitTest;
    // Maps a grid point to CellInfo (cleared first; margins of 3 and 2 pixels hit nothing).
    void HitTest(int x, int y);
    [[nodiscard]] std::string NoteLabel(int note) const;
    // Repaints the cell of CellInfo, and with `whole` the other four cells of its target.
    void RepaintTarget(bool whole);
    void ShowCellInfo();

    // ---- Header ----
    void RefreshChannelButtons();
    void RefreshHeader();
    void ApplyRangeFrom();
    void ApplyRangeTo();
    void StartInputLearn(gui::TQelNumericInput& input);

    // ---- Menus and commands ----
    void BuildInputTemplateMenu();
    void BuildNotePopup();
    void LoadScale(std::size_t line, const std::string& caption);
    void ApplyInputTemplate(std::size_t line, const std::string& caption);
    void ApplyDefaultTemplate();

    // ---- Hooks of the heading form ----
    void PresetBrowserClosed() override;
    void InitializePreset() override;
    void LowestOctaveChanged() override;
    void GetPresetBrowserSize(int& width, int& height) override;

    // ---- Components and state (tests) ----
    [[nodiscard]] TQelDrawGrid& grdMap() { return *grdMap_; }
    [[nodiscard]] gui::TQelGuiStitchedSwitch& switchActive() { return *switchActive_; }
    [[nodiscard]] gui::TLabel& lblChannel() { return *lblChannel_; }
    // i: 1..16 as in the design's names btnChannel01 .. btnChannel16.
    [[nodiscard]] gui::TQelSpTBXSpeedButton& btnChannel(int i);
    [[nodiscard]] gui::TQelMenuButton& btnChannelMenu() { return *btnChannelMenu_; }
    [[nodiscard]] gui::TLabel& lblRange() { return *lblRange_; }
    [[nodiscard]] gui::TQelNumericInput& inputRangeFrom() { return *inputRangeFrom_; }
    [[nodiscard]] gui::TLabel& lblRangeTo() { return *lblRangeTo_; }
    [[nodiscard]] gui::TQelNumericInput& inputRangeTo() { return *inputRangeTo_; }
    [[nodiscard]] gui::TQelPopupMenu& ddmChannelMenu() { return channelMenu_.ddmChannelMenu(); }
    [[nodiscard]] TChannelMenu& ChannelMenu() { return channelMenu_; }
    [[nodiscard]] TCellMenus& CellMenus() { return cellMenus_; }
    [[nodiscard]] const TCellInfo& CellInfo() const { return cellInfo_; }
    [[nodiscard]] const THighlightedNotes& HighlightedNotes() const { return highlightedNotes_; }
    [[nodiscard]] TLearnTarget LearnTarget() const { return learnTarget_; }
    [[nodiscard]] const std::vector<std::string>& Scales() const { return scales_; }
    [[nodiscard]] const std::vector<std::string>& InputTemplates() const { return inputTemplates_; }
    [[nodiscard]] gui::Color HighlightColor() const { return highlightColor_; }
    [[nodiscard]] const std::string& GridFontName() const { return gridFontName_; }
    [[nodiscard]] int DragLastY() const { return dragLastY_; }
    // The first note of the rows the grid was last built for.
    [[nodiscard]] int GridFrom() const { return gridFrom_; }

protected:
    void FormShow() override;
    void ddmMenuPopup() override;

private:
    enum class TRangeEnd : std::uint8_t { From, To };

    // Creation
    void CreateHeader();
    void CreateGrid();

    // The model, looked up at every use.
    [[nodiscard]] TOstinel& Map();
    [[nodiscard]] int ShownChannelIndex();
    [[nodiscard]] TOstinelChannel& ShownChannel();
    // The target of CellInfo, while it still exists in the shown channel; else nullptr.
    [[nodiscard]] TOstinToItem* CellTarget();
    void NotifyHostOfChange();
    [[nodiscard]] std::optional<TBinClipboard> BinClipboard() const;
    // Yes/No box over the editor; `yes` runs unless the answer is No.
    void Confirm(const std::string& text, const std::string& caption, std::function<void()> yes);
    [[nodiscard]] bool HeaderOutOfDate();

    // Grid handlers
    void grdMapDrawCell(gui::Canvas& canvas, int col, int row, const gui::Rect& r);
    void grdMapMouseDown(const gui::MouseEvent& e);
    void grdMapMouseMove(gui::Point pos, gui::Modifiers mods);
    void grdMapMouseUp(const gui::MouseEvent& e);
    bool grdMapMouseWheel(gui::Point pos, int direction);
    void grdMapFixedCellClick(int col, int row);
    void grdMapTopLeftChanged();
    void ApplyCellStep(float step);

    // Header handlers
    void btnChannel01Click(gui::TQelSpTBXSpeedButton& button);
    void switchActiveChange();
    void SetUpRangeInput(gui::TQelNumericInput& input, TRangeEnd end);
    [[nodiscard]] gui::TQelNumericInput& RangeInput(TRangeEnd end);
    void inputRangeBeforeMouseDown(TRangeEnd end, gui::MouseButton button, gui::Modifiers mods,
                                   bool& proceed);
    void inputRangeMouseUp(TRangeEnd end);
    void inputRangeChange(TRangeEnd end);
    void inputRangeFromChange() { inputRangeChange(TRangeEnd::From); }
    void inputRangeToChange() { inputRangeChange(TRangeEnd::To); }
    void ShowRangeInfo(TRangeEnd end);
    void ApplyRange(TRangeEnd end);

    // Cell menu commands
    void CellMenuValue(TCellKind kind, int value);
    void CellMenuSetAll(TCellKind kind);
    void CellMenuLearn();
    void CellMenuClear();
    void CellMenuClearAll();
    void CellMenuDefaultAll();
    // Channel menu commands
    void ChannelMenuCopy();
    void ChannelMenuPaste();
    [[nodiscard]] bool ChannelMenuCanPaste() const;
    // The range inputs take first..last, applied at once (templates).
    void SetRangeFromTemplate(int first, int last);

    IMapEditorModule& module_;
    TCellInfo cellInfo_;
    bool dragChanged_ = false;
    THighlightedNotes highlightedNotes_;
    std::vector<std::string> inputTemplates_;
    std::string gridFontName_;
    bool rangeMouseDown_ = false;
    int dragLastY_ = -1;
    // A left press started a value drag that has not been released (the pointer's y can be
    // -1 above the grid, so DragLastY cannot tell).
    bool dragging_ = false;
    std::vector<std::string> scales_;
    bool updating_ = false;
    int lastTopRow_ = -1;
    gui::Color highlightColor_;
    TLearnTarget learnTarget_ = TLearnTarget::None;
    std::uint32_t learnGeneration_ = 0;
    // What the grid and header show: the state generation they were built from, the first
    // note of the rows.
    std::uint32_t shownGeneration_ = 0;
    int gridFrom_ = 0;
    bool shown_ = false;

    std::unique_ptr<TMapGridPainter> painter_;
    TCellMenus cellMenus_;
    TChannelMenu channelMenu_;

    TQelDrawGrid* grdMap_ = nullptr;
    gui::TQelGuiStitchedSwitch* switchActive_ = nullptr;
    gui::TLabel* lblChannel_ = nullptr;
    std::array<gui::TQelSpTBXSpeedButton*, kMapChannels> btnChannels_{};
    gui::TQelMenuButton* btnChannelMenu_ = nullptr;
    gui::TLabel* lblRange_ = nullptr;
    gui::TQelNumericInput* inputRangeFrom_ = nullptr;
    gui::TLabel* lblRangeTo_ = nullptr;
    gui::TQelNumericInput* inputRangeTo_ = nullptr;
};

} // namespace ostinel
