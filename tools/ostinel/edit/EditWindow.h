#pragma once
// The standalone editor's window: a top-level window with the plug-in's editor inside, the
// tool's loop (our window's events, the editor's idle calls, the box's events), Ctrl+S, the
// title with the unsaved mark, and the question before closing with unsaved changes.
//
// GUI thread only; the loop never blocks longer than one idle interval, and the question is a
// box in a window of its own that the loop keeps serving.
#include "edit/EditDocument.h"
#include "edit/EditedPlugin.h"
#include "edit/QuestionBox.h"
#include "platform/Window.h"

#include <chrono>
#include <iosfwd>
#include <memory>

namespace ostinel::edit {

class EditWindow final : public platform::ITopLevelClient {
public:
    static constexpr int kSaveShortcut = 1;
    // How often the loop turns (hosts call effEditIdle 30 to 60 times a second).
    static constexpr int kIdleMs = 15;
    // How often the state is compared for the unsaved mark.
    static constexpr std::chrono::milliseconds kCompareInterval{100};

    // Messages about saves go to `log` (the tool's output stream).
    EditWindow(IEditedPlugin& plugin, EditDocument& document, std::ostream& log,
               std::chrono::milliseconds compareInterval = kCompareInterval);
    ~EditWindow();
    EditWindow(const EditWindow&) = delete;
    EditWindow& operator=(const EditWindow&) = delete;

    // Makes the window, opens the editor in it and shows it. Throws ostinel::Error when the
    // window cannot be made or the plug-in does not open its editor.
    void Open();
    // One turn of the loop, without waiting.
    void Step();
    // Open(), then turns until the window is closed; the editor is closed at the end.
    void Run();
    [[nodiscard]] bool Finished() const { return finished_; }

    [[nodiscard]] platform::ITopLevelWindow& Window() { return *window_; }
    // The box on screen (the close question or a save error), or null.
    [[nodiscard]] QuestionBox* Box() { return box_.get(); }

    // ---- ITopLevelClient ---------------------------------------------------------------
    void OnCloseRequest() override;
    void OnShortcut(int id) override;

private:
    enum class BoxKind : std::uint8_t { None, CloseQuestion, Message };

    void SaveNow();
    void ShowMessage(const std::string& text);
    void BoxAnswered(gui::TModalResult result);
    void UpdateTitle();
    void Finish();

    IEditedPlugin& plugin_;
    EditDocument& document_;
    std::ostream& log_;
    std::unique_ptr<platform::ITopLevelWindow> window_;
    std::unique_ptr<QuestionBox> box_;
    BoxKind boxKind_ = BoxKind::None;
    std::chrono::milliseconds compareInterval_;
    std::chrono::steady_clock::time_point lastCompare_;
    bool editorOpen_ = false;
    bool finished_ = false;
};

} // namespace ostinel::edit
