#pragma once
// Checks on screenshots of the plug-in's editor window.
#include "gui/canvas/Image.h"
#include "gui/frame/EditorBackground.h"

namespace ostinel::test {

// The editor's margins (the rows above and below its main panel) show the background tile
// exactly, anchored at the window's top-left.
inline bool MarginsShowTheTile(const gui::Image& shot, int width, int height) {
    static const gui::Image tile = gui::MakeEditorBackground();
    for (int x = 0; x < width; ++x)
        for (const int y : {0, 1, 2, 3, height - 1})
            if (shot.GetPixel(x, y) != tile.GetPixel(x % 16, y % 16))
                return false;
    return true;
}

} // namespace ostinel::test
