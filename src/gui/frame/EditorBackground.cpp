#include "gui/frame/EditorBackground.h"

#include <array>

namespace ostinel::gui {

namespace {

// One perforation, lit from the top left: a dark hole with a shadowed upper rim and a bright
// lower lip where the light catches the cut edge.
constexpr int kHoleWidth = 3;
constexpr int kHoleHeight = 4;
constexpr std::array<std::array<std::uint8_t, kHoleWidth>, kHoleHeight> kHole{{
    {0x14, 0x08, 0x14},
    {0x08, 0x00, 0x0A},
    {0x12, 0x06, 0x18},
    {0x2A, 0x34, 0x2C},
}};

// Rows of holes 8 pixels apart, every other row shifted by half a pitch.
constexpr std::array<Point, 4> kHoles{{{1, 1}, {9, 1}, {5, 9}, {13, 9}}};

} // namespace

Image MakeEditorBackground() {
    const Color ground{kEditorBackgroundGround, kEditorBackgroundGround, kEditorBackgroundGround,
                       255};
    Image tile(kEditorBackgroundSize, kEditorBackgroundSize, ground);
    for (const Point at : kHoles) {
        for (int dy = 0; dy < kHoleHeight; ++dy) {
            for (int dx = 0; dx < kHoleWidth; ++dx) {
                const std::uint8_t g =
                    kHole[static_cast<std::size_t>(dy)][static_cast<std::size_t>(dx)];
                tile.SetPixel((at.x + dx) % kEditorBackgroundSize,
                              (at.y + dy) % kEditorBackgroundSize, Color{g, g, g, 255});
            }
        }
    }
    return tile;
}

} // namespace ostinel::gui
