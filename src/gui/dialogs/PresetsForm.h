#pragma once
// TfrmPresets: the preset browser. A borderless box drawn like the editor (tiled background,
// rounded main panel) that lists the preset files of a folder by name in three columns and
// returns the chosen file; its context menu opens, deletes or shows the folder. It is a modal
// overlay of the editor's window: a press anywhere outside the box closes it as Cancel and the
// press is handed on to the widget under the pointer, so the click is not lost.
//
// Pure GUI: it is given the presets folder (with a trailing path delimiter) and the current
// preset's name and knows no module. The call that shows it returns at once; the result
// arrives through the callback after the box has left the screen. GUI thread only.
#include "graphics/Image.h"
#include "gui/controls/Button.h"
#include "gui/controls/QelPopupMenu.h"
#include "gui/widgets/OverlayLayer.h"
#include "gui/widgets/Timer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::gui {

class TLabel;
class TListBox;
class TQelGuiPanel;
class TQelSpTBXSpeedButton;
struct TOwnerDrawState;

inline constexpr const char* kPresetFileMask = "*.quorvatp";
inline constexpr const char* kPresetFileExtension = ".quorvatp";

class TfrmPresets final : public TOverlayLayer {
public:
    static constexpr int kTimerMs = 100;
    static constexpr int kDesignWidth = 544;
    static constexpr int kDesignHeight = 289;

    // (OK, the chosen file's full path) or (Cancel, empty).
    using TDone = std::function<void(TModalResult result, const std::string& file)>;

    // FormCreate. `windowRect` is the box in root coordinates.
    TfrmPresets(WidgetRoot& root, std::string presetsFolder, std::string presetName,
                const Rect& windowRect, TDone done);
    ~TfrmPresets() override;

    // Places the box (root coordinates); the layout rule follows the new size.
    void SetWindowRect(const Rect& windowRect);
    [[nodiscard]] Rect WindowRect() const;

    // The presets folder + the selected entry's file; empty when nothing is selected.
    [[nodiscard]] std::string SelectedPresetFile() const;
    [[nodiscard]] TModalResult ModalResult() const { return modalResult_; }
    [[nodiscard]] const std::vector<std::string>& Files() const { return files_; }
    [[nodiscard]] bool MouseHeld() const { return mouseHeld_; }

    [[nodiscard]] TQelGuiPanel& panMain() { return *panMain_; }
    [[nodiscard]] TLabel& lblCaption() { return *lblCaption_; }
    [[nodiscard]] TListBox& lstPresets() { return *lstPresets_; }
    [[nodiscard]] TQelSpTBXSpeedButton& btnOK() { return *btnOK_; }
    [[nodiscard]] TQelSpTBXSpeedButton& btnCancel() { return *btnCancel_; }
    [[nodiscard]] TQelPopupMenu& popMenu() { return popMenu_; }
    [[nodiscard]] TTimer& Timer() { return timer_; }

    // The handlers, public so that tests can reach them as a user would.
    void FillList();
    void btnOKClick();
    void btnCancelClick();
    void popMenuPopup();
    void popMenu_DeleteClick();
    void popMenu_ExplorerClick();
    void panMainResize();
    void TimerTimer();

    bool MouseDown(const MouseEvent& e) override;
    bool MouseUp(const MouseEvent& e) override;
    bool KeyDown(const KeyEvent& e) override;
    void Paint(Canvas& canvas) override;
    void Loaded() override;
    void Closed() override;

private:
    class TWindow;
    struct TOutsidePress {
        MouseButton Button = MouseButton::Left;
        Point Pos;
        bool Released = false;
    };

    void FormShow();
    void CloseWithResult(TModalResult result);
    // Cancel because of a press outside the box, then hand the press and a release to the
    // widget under the pointer.
    void CloseForOutsidePress(MouseButton button, Point pos);
    void lstPresetsDrawItem(Canvas& canvas, int index, const Rect& r, const TOwnerDrawState& state);
    void lstPresetsMouseDown(const MouseEvent& e);
    void HookMouseHeld(Widget& widget);
    [[nodiscard]] std::string SelectedFileName() const;

    WidgetRoot& root_;
    std::string presetsFolder_;
    std::string presetName_;
    TDone done_;
    TModalResult modalResult_ = TModalResult::Cancel;
    std::string result_;
    bool doneCalled_ = false;
    bool mouseHeld_ = false;
    std::optional<TOutsidePress> outsidePress_;
    std::vector<std::string> files_;
    Image tile_;

    TWindow* window_ = nullptr;
    TQelGuiPanel* panMain_ = nullptr;
    TLabel* lblCaption_ = nullptr;
    TListBox* lstPresets_ = nullptr;
    TQelSpTBXSpeedButton* btnOK_ = nullptr;
    TQelSpTBXSpeedButton* btnCancel_ = nullptr;
    TQelPopupMenu popMenu_;
    TTimer timer_;
    // Lets dialog callbacks find out whether the browser still exists.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// Shows the browser over `root` with the box at `windowRect` (root coordinates) and returns it
// (owned by the root; valid until it closes).
TfrmPresets& ShowPresetBrowser(WidgetRoot& root, std::string presetsFolder, std::string presetName,
                               const Rect& windowRect, TfrmPresets::TDone done);

} // namespace ostinel::gui
