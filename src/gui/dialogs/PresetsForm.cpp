#include "gui/dialogs/PresetsForm.h"

#include "common/QelCommon.h"
#include "gui/controls/Label.h"
#include "gui/controls/ListBox.h"
#include "gui/controls/QelGuiPanel.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/frame/EditorBackground.h"
#include "gui/widgets/WidgetRoot.h"
#include "platform/System.h"
#include "platform/Window.h"

#include <algorithm>
#include <initializer_list>

namespace ostinel::gui {

namespace {

constexpr int kColumns = 3;
constexpr int kItemHeight = 20;

} // namespace

// The box itself: the editor's tile, anchored at the box's own top-left corner.
class TfrmPresets::TWindow final : public Widget {
public:
    explicit TWindow(const Image& tile) : tile_(tile) {}
    void Paint(Canvas& canvas) override { canvas.TileImage(tile_, canvas.ClipRect(), {0, 0}); }

private:
    const Image& tile_;
};

TfrmPresets::TfrmPresets(WidgetRoot& root, std::string presetsFolder, std::string presetName,
                         const Rect& windowRect, TDone done)
    : root_(root), presetsFolder_(std::move(presetsFolder)), presetName_(std::move(presetName)),
      done_(std::move(done)), tile_(MakeEditorBackground()), timer_(root, kTimerMs) {
    // The step that switches the platform's warning beep off (and on again when the browser
    // goes) is skipped: our platforms have no such setting, and a press outside the browser
    // lands on our own window, which does not beep.
    SetName("frmPresets");
    window_ = &Add<TWindow>(tile_);

    auto& panel = window_->Add<TQelGuiPanel>();
    panel.SetName("panMain");
    panel.SetBorderRadius(5.0f);
    panel.SetBorderVisible(false);
    panel.SetBorderWidth(2.0f);
    panel.SetPanelColor(Color::Rgb(0xFFFFFF));
    panel.SetTransparent(true);
    panel.OnResize = [this] { panMainResize(); };
    panMain_ = &panel;

    auto& caption = panel.Add<TLabel>("Load Preset");
    caption.SetName("lblCaption");
    caption.SetCaptionFont(MakeFont("Tahoma", 16));
    caption.SetAutoSize(false);
    caption.SetAlignment(TextAlign::Center);
    caption.SetLayout(TTextLayout::Center);
    lblCaption_ = &caption;

    auto& list = panel.Add<TListBox>();
    list.SetName("lstPresets");
    list.SetBounds(12, 36, 517, 202);
    list.SetItemHeight(kItemHeight);
    list.SetColumns(kColumns);
    list.SetItemFont(MakeFont("Segoe UI", 12));
    list.SetPopupMenu(&popMenu_);
    list.OnDrawItem = [this](Canvas& canvas, int index, const Rect& r, TOwnerDrawState state) {
        lstPresetsDrawItem(canvas, index, r, state);
    };
    list.OnMouseDown = [this](const MouseEvent& e) { lstPresetsMouseDown(e); };
    list.OnMouseUp = [this](const MouseEvent&) { mouseHeld_ = false; };
    list.OnDblClick = [this] {
        if (btnOK_->Enabled()) {
            btnOKClick();
        }
    };
    lstPresets_ = &list;

    auto& ok = panel.Add<TQelSpTBXSpeedButton>("OK");
    ok.SetName("btnOK");
    ok.SetBounds(363, 244, 80, 26);
    ok.OnClick = [this] { btnOKClick(); };
    btnOK_ = &ok;
    auto& cancel = panel.Add<TQelSpTBXSpeedButton>("Cancel");
    cancel.SetName("btnCancel");
    cancel.SetBounds(449, 244, 80, 26);
    cancel.OnClick = [this] { btnCancelClick(); };
    btnCancel_ = &cancel;
    // A press on these sets mouse-held (so the timer leaves the browser alone) until the
    // release.
    for (Widget* w : std::initializer_list<Widget*>{&panel, &caption, &ok, &cancel}) {
        HookMouseHeld(*w);
    }

    TMenuItem& items = popMenu_.Items();
    items.Add("Open", 0, [this](TMenuItem&) { btnOKClick(); }).Name = "popMenu_Open";
    items.Add("Delete", 0, [this](TMenuItem&) { popMenu_DeleteClick(); }).Name = "popMenu_Delete";
    items.AddSeparator();
    items.Add("Show in Explorer", 0, [this](TMenuItem&) { popMenu_ExplorerClick(); }).Name =
        "popMenu_Explorer";
    popMenu_.OnPopup = [this](TQelPopupMenu&) { popMenuPopup(); };

    timer_.OnTimer = [this] { TimerTimer(); };
    SetWindowRect(windowRect);
}

TfrmPresets::~TfrmPresets() {
    timer_.Stop();
    popMenu_.Close();
}

void TfrmPresets::HookMouseHeld(Widget& widget) {
    widget.OnMouseDown = [this](const MouseEvent&) { mouseHeld_ = true; };
    widget.OnMouseUp = [this](const MouseEvent&) { mouseHeld_ = false; };
}

void TfrmPresets::SetWindowRect(const Rect& windowRect) {
    window_->SetBounds(windowRect);
    // panMain fills the box inside 1-pixel margins; its resize runs the layout rule.
    panMain_->SetBounds(
        Rect{1, 1, std::max(1, windowRect.Width() - 1), std::max(1, windowRect.Height() - 1)});
    panMainResize();
    Invalidate();
}

Rect TfrmPresets::WindowRect() const {
    return window_->RootRect();
}

void TfrmPresets::Loaded() {
    FormShow();
}

void TfrmPresets::FormShow() {
    FillList();
    for (int i = 0; i < lstPresets_->Count(); ++i) {
        if (CompareTextNoCase(lstPresets_->ItemText(i), presetName_) == 0) {
            lstPresets_->SetItemIndex(i);
            break;
        }
    }
    btnOK_->SetEnabled(lstPresets_->ItemIndex() >= 0);
    lstPresets_->SetFocus(FocusReason::Program);
    timer_.Start();
}

void TfrmPresets::FillList() {
    lstPresets_->Clear();
    files_.clear();
    // A missing folder simply lists nothing.
    (void)FindFilesByMasks(presetsFolder_ + kPresetFileMask, 0, files_);
    for (std::size_t i = 0; i < files_.size(); ++i) {
        lstPresets_->AddItem(ExtractNameWithoutExt(files_[i]), static_cast<std::intptr_t>(i));
    }
    if (lstPresets_->Count() > 0) {
        lstPresets_->SetItemIndex(0);
    }
    btnOK_->SetEnabled(lstPresets_->ItemIndex() >= 0);
}

std::string TfrmPresets::SelectedFileName() const {
    const int index = lstPresets_->ItemIndex();
    if (index < 0) {
        return {};
    }
    const auto file = static_cast<std::size_t>(lstPresets_->ItemData(index));
    return file < files_.size() ? files_[file] : std::string();
}

std::string TfrmPresets::SelectedPresetFile() const {
    // The file's own name: on a case-sensitive file system "X.QUORVATP" is not "X.quorvatp".
    const std::string file = SelectedFileName();
    return file.empty() ? std::string() : presetsFolder_ + file;
}

void TfrmPresets::lstPresetsDrawItem(Canvas& canvas, int index, const Rect& r,
                                     const TOwnerDrawState& state) {
    canvas.FillRect(r, lstPresets_->ItemFillColor(state.Selected));
    DrawTextInRect(canvas, lstPresets_->ItemFont(), lstPresets_->ItemText(index),
                   {r.left + 4, r.top, r.right - 4, r.bottom},
                   lstPresets_->ItemTextColor(state.Selected));
}

void TfrmPresets::lstPresetsMouseDown(const MouseEvent& e) {
    mouseHeld_ = true;
    if (e.button == MouseButton::Right) {
        // The context menu acts on the entry under the pointer.
        if (const int index = lstPresets_->ItemAtPos(e.pos); index >= 0) {
            lstPresets_->SetItemIndex(index);
            btnOK_->SetEnabled(true);
        }
    }
}

void TfrmPresets::btnOKClick() {
    if (lstPresets_->ItemIndex() >= 0) {
        CloseWithResult(TModalResult::OK);
    }
}

void TfrmPresets::btnCancelClick() {
    CloseWithResult(TModalResult::Cancel);
}

void TfrmPresets::CloseWithResult(TModalResult result) {
    if (!IsOpen()) {
        return;
    }
    timer_.Stop();
    modalResult_ = result;
    result_ = result == TModalResult::OK ? SelectedPresetFile() : std::string();
    Close();
}

void TfrmPresets::Closed() {
    if (doneCalled_) {
        return;
    }
    doneCalled_ = true;
    if (done_) {
        // The callback may show another dialog or even another browser: hand it copies.
        const TDone done = done_;
        const std::string file = result_;
        done(modalResult_, file);
    }
}

void TfrmPresets::popMenuPopup() {
    const bool any = btnOK_->Enabled();
    popMenu_.Items().Find("popMenu_Open")->Enabled = any;
    popMenu_.Items().Find("popMenu_Delete")->Enabled = any;
}

void TfrmPresets::popMenu_DeleteClick() {
    const std::string file = SelectedFileName();
    if (file.empty()) {
        return;
    }
    const std::string name = ExtractNameWithoutExt(file);
    ShowMessageDialog(root_, "Delete \"" + name + "\"?", "Delete Preset", TMsgDlgButtons::YesNo,
                      TMsgDlgType::Confirmation,
                      [this, alive = std::weak_ptr<int>(alive_), file](TModalResult answer) {
                          if (alive.expired() || answer == TModalResult::No) {
                              return;
                          }
                          // A file that cannot be deleted stays in the list; nothing is said.
                          (void)platform::DeleteFile(presetsFolder_ + file);
                          const int index = lstPresets_->ItemIndex();
                          FillList();
                          if (lstPresets_->Count() > 0) {
                              lstPresets_->SetItemIndex(std::min(index, lstPresets_->Count() - 1));
                          }
                          btnOK_->SetEnabled(lstPresets_->ItemIndex() >= 0);
                      });
}

void TfrmPresets::popMenu_ExplorerClick() {
    try {
        platform::CreateFolders(presetsFolder_);
    } catch (const std::exception&) {
        // The shell reports a folder it cannot show itself.
    }
    (void)platform::ShowFolderInExplorer(presetsFolder_);
}

void TfrmPresets::panMainResize() {
    if (btnCancel_ == nullptr) {
        return; // still being built
    }
    const int w = window_->Width();
    const int h = window_->Height();
    lblCaption_->SetBounds(0, 6, panMain_->Width(), 19);
    lstPresets_->SetSize(std::max(0, w - 24), lstPresets_->Height());
    btnCancel_->SetPosition(lstPresets_->Left() + lstPresets_->Width() - btnCancel_->Width() - 1,
                            h - btnCancel_->Height() - 10);
    btnOK_->SetPosition(btnCancel_->Left() - btnOK_->Width() - 10, btnCancel_->Top());
    lstPresets_->SetSize(lstPresets_->Width(),
                         std::max(0, btnCancel_->Top() - lstPresets_->Top() - 10));
}

// Every 100 ms while the browser is open. A press outside the box landed on this layer (the
// layer is modal, so nothing below saw it); once it is clear that it was not the start of a
// drag back into the box, the browser closes as Cancel and the press goes on to the widget
// under the pointer. A press that began inside the box (mouse-held) never closes it, even when
// it is dragged out.
void TfrmPresets::TimerTimer() {
    if (mouseHeld_ && !LeftButtonDown(root_) && !RightButtonDown(root_)) {
        // A release that never reached us (the pointer was taken by a layer above) must not
        // leave the browser deaf to clicks outside it.
        mouseHeld_ = false;
    }
    if (mouseHeld_) {
        return;
    }
    const std::optional<Point> cursor = root_.CursorPos();
    // Not showing: gone, or a menu or a confirmation of its own lies above it.
    if (!cursor || !IsOpen() || root_.TopOverlay() != this || !outsidePress_) {
        return;
    }
    const TOutsidePress press = *outsidePress_;
    if (press.Released) {
        // Pressed and released between two ticks: the click still counts.
        CloseForOutsidePress(press.Button, press.Pos);
        return;
    }
    const bool held = press.Button == MouseButton::Left    ? LeftButtonDown(root_)
                      : press.Button == MouseButton::Right ? RightButtonDown(root_)
                                                           : false;
    if (held && !WindowRect().Contains(*cursor)) {
        CloseForOutsidePress(press.Button, *cursor);
    }
}

void TfrmPresets::CloseForOutsidePress(MouseButton button, Point pos) {
    timer_.Stop();
    outsidePress_.reset();
    CloseWithResult(TModalResult::Cancel);
    // This layer is off the stack now (destroyed after the current event), so the replayed
    // press finds the widget under the pointer.
    WidgetRoot& root = root_;
    root.OnMouseDown({pos, button, {}, false});
    root.OnMouseUp({pos, button, {}, false});
}

bool TfrmPresets::MouseDown(const MouseEvent& e) {
    Widget::MouseDown(e);
    if (!WindowRect().Contains(e.pos) && e.button != MouseButton::Middle) {
        outsidePress_ = TOutsidePress{e.button, e.pos, false};
    }
    return true; // modal
}

bool TfrmPresets::MouseUp(const MouseEvent& e) {
    Widget::MouseUp(e);
    if (outsidePress_ && outsidePress_->Button == e.button) {
        if (WindowRect().Contains(e.pos)) {
            outsidePress_.reset(); // dragged into the box: not a click outside
        } else {
            outsidePress_->Released = true;
        }
    }
    return true;
}

bool TfrmPresets::KeyDown(const KeyEvent& e) {
    if (e.mods.alt || e.mods.ctrl) {
        return false;
    }
    if (e.key == platform::Key::Escape) {
        btnCancelClick();
        return true;
    }
    if (e.key == platform::Key::Return) {
        if (btnOK_->Enabled()) {
            btnOKClick();
        }
        return true;
    }
    return false;
}

void TfrmPresets::Paint(Canvas& canvas) {
    TOverlayLayer::Paint(canvas);
    // A soft shadow under the box, as under the dialogs.
    const Rect w = window_->Bounds();
    canvas.FillRoundRect(w.Offset({0, 6}).Inset(-4), 12.0f, Color{0, 0, 0, 22});
    canvas.FillRoundRect(w.Offset({0, 3}).Inset(-2), 9.0f, Color{0, 0, 0, 34});
}

TfrmPresets& ShowPresetBrowser(WidgetRoot& root, std::string presetsFolder, std::string presetName,
                               const Rect& windowRect, TfrmPresets::TDone done) {
    auto form = std::make_unique<TfrmPresets>(root, std::move(presetsFolder), std::move(presetName),
                                              windowRect, std::move(done));
    TfrmPresets& ref = *form;
    root.PushOverlay(std::move(form));
    return ref;
}

} // namespace ostinel::gui
