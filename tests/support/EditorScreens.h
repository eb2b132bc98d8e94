#pragma once
// Checks on screenshots of the plug-in's editor window.
#include "graphics/Image.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/frame/EditorBackground.h"
#include "gui/widgets/WidgetRoot.h"

namespace ostinel::test {

inline constexpr int kEditorWidth = 950;
inline constexpr int kEditorHeight = 600;

// Where the editor's OK button lies when a load error shows: the same toolkit lays the same box
// out in a root of the editor's size.
inline gui::Rect LoadErrorOkButton() {
    gui::WidgetRoot root(kEditorWidth, kEditorHeight);
    gui::TMessageForm& box =
        gui::ShowMessageDialog(root, "Error loading preset.\r\n\r\n\"Invalid chunk id\"",
                               "Load Preset", gui::TMsgDlgButtons::OK, gui::TMsgDlgType::Warning);
    return box.Button(0).RootRect();
}

// The editor's margins (the columns left and right of its main panel below the heading, and the
// row below it) show the background tile exactly, anchored at the window's top-left.
inline bool MarginsShowTheTile(const gui::Image& shot, int width, int height) {
    static const gui::Image tile = gui::MakeEditorBackground();
    constexpr int kHeadingBottom = 41;
    auto tileAt = [&](int x, int y) {
        return shot.GetPixel(x, y) == tile.GetPixel(x % 16, y % 16);
    };
    for (int x = 0; x < width; ++x)
        if (!tileAt(x, height - 1))
            return false;
    for (int y = kHeadingBottom; y < height; ++y)
        for (const int x : {0, 1, 2, width - 3, width - 2, width - 1})
            if (!tileAt(x, y))
                return false;
    return true;
}

} // namespace ostinel::test
