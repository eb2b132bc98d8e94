#pragma once
// The value a grid cell stands for: reading and writing it through the model's clamping
// setters, its default (Ctrl with a left press), the text the cell shows and the info line's
// description of it. Values are shown and compared rounded half to even.
#include "editor/map/MapGridLayout.h"
#include "engine/Ostin.h"

#include <string>

namespace ostinel {

// Channel, VelocityScale, Random and Probability: blank and not editable on an empty target.
[[nodiscard]] constexpr bool IsValueKind(TCellKind kind) noexcept {
    return kind == TCellKind::ckChannel || kind == TCellKind::ckVelocityScale ||
           kind == TCellKind::ckRandom || kind == TCellKind::ckProbability;
}
[[nodiscard]] constexpr bool IsTargetKind(TCellKind kind) noexcept {
    return IsValueKind(kind) || kind == TCellKind::ckNote;
}

// A target whose note rounds to -1 plays nothing.
[[nodiscard]] bool IsEmptyTarget(const TOstinToItem& target) noexcept;
[[nodiscard]] int RoundedValue(float value) noexcept;

[[nodiscard]] float CellValue(const TOstinToItem& target, TCellKind kind) noexcept;
void SetCellValue(TOstinToItem& target, TCellKind kind, float value) noexcept;
// Channel 1, scale 0, random 0, probability 100; the note maps to itself on the first target
// and is empty on the others.
[[nodiscard]] float CellDefault(TCellKind kind, int targetIndex, int sourceNote) noexcept;

// What the cell shows: empty for an empty target, else the rounded value ("10", a note
// label, "-25%", "40", "100%").
[[nodiscard]] std::string CellText(const TOstinToItem& target, TCellKind kind, int lowestOctave);
// The info line's text for the cell ("3-Scale: 20% <=> 50%"); empty for other kinds.
[[nodiscard]] std::string CellInfoText(const TOstinToItem& target, TCellKind kind, int targetIndex,
                                       int lowestOctave);

} // namespace ostinel
