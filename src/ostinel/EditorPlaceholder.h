#pragma once
// The plug-in's editor window content until the map editor takes its place: the frame with a
// heading (product name and version), an info line (the preset's name, or the load error that
// waited for the editor) and a quiet description where the map will be. It reaches the module
// through its owner, as every editor form does. GUI thread only.
#include "gui/frame/VSTEditorBase.h"

#include <string>

namespace ostinel {

namespace gui {
class TLabel;
} // namespace gui

class TVSTPluginBase;

class TfrmEditorPlaceholder final : public gui::TfrmVSTEditorBase {
public:
    TfrmEditorPlaceholder(gui::WidgetRoot& root, TVSTPluginBase& owner);

    // The preset's name (or "No preset loaded") returns to the info line.
    void PresetNameChanged() override;
    // Shows a text in the info line instead (cut with an ellipsis to fit).
    void SetInfoText(const std::string& text);
    [[nodiscard]] const std::string& InfoText() const { return infoText_; }

    [[nodiscard]] gui::TLabel& lblTitle() { return *lblTitle_; }
    [[nodiscard]] gui::TLabel& lblVersion() { return *lblVersion_; }
    [[nodiscard]] gui::TLabel& lblInfo() { return *lblInfo_; }
    [[nodiscard]] gui::TQelGuiPanel& panInfo() { return *panInfo_; }
    [[nodiscard]] gui::TQelGuiPanel& panBody() { return *panBody_; }

    void Resized() override;

private:
    void Layout();

    TVSTPluginBase& owner_;
    std::string infoText_;
    gui::TLabel* lblTitle_ = nullptr;
    gui::TLabel* lblVersion_ = nullptr;
    gui::TQelGuiPanel* panInfo_ = nullptr;
    gui::TLabel* lblInfo_ = nullptr;
    gui::TQelGuiPanel* panBody_ = nullptr;
    gui::TLabel* lblBodyTitle_ = nullptr;
    gui::TLabel* lblBodyText_ = nullptr;
};

} // namespace ostinel
