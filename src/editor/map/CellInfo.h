#pragma once
// TCellInfo: the grid cell a mouse action or a popup command works on, as left by the last
// hit test. The target is kept as indices (channel, source note, target index) and looked up
// in the live map at use: a state load publishes the store's other map object, so a pointer
// kept across events could point into the map the audio thread is about to be handed back.
#include "editor/map/MapGridLayout.h"

#include <cstdint>

namespace ostinel {

struct TCellInfo {
    TCellKind Kind = TCellKind::ckNone;
    std::int32_t Col = -1;
    std::int32_t SourceNote = -1;
    std::int32_t MouseX = -1;
    std::int32_t MouseY = -1;
    std::int32_t TargetIndex = -1;
    std::int32_t Row = -1;
    // The shown channel (0-based) when the hit was made; the target is only valid while that
    // channel is still the shown one.
    std::int32_t Channel = -1;

    void Clear() noexcept { *this = TCellInfo{}; }
    [[nodiscard]] bool HasTarget() const noexcept {
        return Kind != TCellKind::ckNone && Kind != TCellKind::ckNoteLabel && Row > 0 &&
               TargetIndex >= 0;
    }
};

} // namespace ostinel
