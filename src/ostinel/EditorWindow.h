#pragma once
// The plug-in's editor window as the module sees it (IMapEditor): the widget root, the editor
// form and the platform window inside the host's window, owned together and released
// together. The module creates one on effEditOpen through CreateEditorWindow and releases it
// on effEditClose.
//
// The platform is not chosen here: CreateChildWindow comes from whichever platform library the
// final binary links (native in the plug-in, headless in tests and off-screen tools).
// GUI thread only.
#include "gui/widgets/WidgetRoot.h"
#include "ostinel/MapEditor.h"
#include "platform/Window.h"

#include <memory>

namespace ostinel {

class TVSTPlugin;
class TfrmEditor;

// The editor's client size; no border, so the outer size is the same.
inline constexpr int kEditorWidth = 950;
inline constexpr int kEditorHeight = 600;

class TEditorWindow final : public IMapEditor {
public:
    explicit TEditorWindow(TVSTPlugin& owner);
    ~TEditorWindow() override;
    TEditorWindow(const TEditorWindow&) = delete;
    TEditorWindow& operator=(const TEditorWindow&) = delete;

    // Creates the child window in the host's window and shows the form; a load error that
    // waited for an editor then shows over it. Throws ostinel::Error when the window cannot
    // be made (the form stays, without a window).
    void PlaceInParent(void* parentHandle) override;
    [[nodiscard]] int Width() const override { return root_.Width(); }
    [[nodiscard]] int Height() const override { return root_.Height(); }
    [[nodiscard]] int ClientWidth() const override { return root_.Width(); }
    [[nodiscard]] int ClientHeight() const override { return root_.Height(); }
    // Dispatches the window's pending events, due timers and repaints.
    void HostIdle() override;

    void EditorIdle() override;
    void PresetNameChanged() override;
    void FocusControlUnderCursor() override;
    // An OK box over the editor; returns at once.
    void ShowMessage(const TMessage& message) override;

    // Played and learned notes, handed over by the module's idle handler.
    bool HighlightNoteOn(int note) override;
    bool HighlightNoteOff(int note) override;
    void LearnNote(int note) override;
    void LearnEnded() override;
    void UpdateHighlightedNotes() override;

    [[nodiscard]] gui::WidgetRoot& Root() { return root_; }
    [[nodiscard]] TfrmEditor& Form() { return *form_; }
    // Null until PlaceInParent succeeded.
    [[nodiscard]] platform::IPlatformWindow* Window() const { return window_.get(); }

private:
    void DetachWindow() noexcept;

    TVSTPlugin& owner_;
    gui::WidgetRoot root_;
    TfrmEditor* form_ = nullptr; // the root's content
    std::unique_ptr<platform::IPlatformWindow> window_;
};

// The module's editor form factory.
[[nodiscard]] std::unique_ptr<IEditorForm> CreateEditorWindow(TCustomVSTModule& owner);

} // namespace ostinel
