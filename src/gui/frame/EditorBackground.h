#pragma once
// The "EditorBackground" tile: 16 x 16 pixels of perforated metal (a dark plate about 0x20
// grey with staggered holes 3 pixels wide, greys 0x00 to 0x34). Made in code so that no image
// file has to travel with the plug-in; the same pixels on every platform.
#include "graphics/Image.h"

namespace ostinel::gui {

inline constexpr int kEditorBackgroundSize = 16;
inline constexpr std::uint8_t kEditorBackgroundGround = 0x20;

// An opaque 16 x 16 tile; its copies join without a seam.
[[nodiscard]] Image MakeEditorBackground();

} // namespace ostinel::gui
