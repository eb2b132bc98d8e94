#include "editor/map/MapGridLayout.h"

#include "common/QelCommon.h"

namespace ostinel {

TCellKind ColumnKind(int col) noexcept {
    if (col == 0) {
        return TCellKind::ckNoteLabel;
    }
    if (col < 1 || col >= kGridCurrentCol) {
        return TCellKind::ckNone;
    }
    constexpr std::array<TCellKind, kGridColsPerTarget> kinds = {
        TCellKind::ckChannel, TCellKind::ckNote, TCellKind::ckVelocityScale, TCellKind::ckRandom,
        TCellKind::ckProbability};
    return kinds[static_cast<std::size_t>((col - 1) % kGridColsPerTarget)];
}

int ColumnTargetIndex(int col) noexcept {
    if (col < 1 || col >= kGridCurrentCol) {
        return -1;
    }
    return (col - 1) / kGridColsPerTarget;
}

std::string ColumnHeader(int col) {
    if (col == 0) {
        return "NOTE";
    }
    if (col < 1 || col >= kGridCurrentCol) {
        return {};
    }
    constexpr std::array<const char*, kGridColsPerTarget> names = {"-Ch", "-Note", "-Scale", "-Rnd",
                                                                   "-Prob"};
    return std::to_string(ColumnTargetIndex(col) + 1) +
           names[static_cast<std::size_t>((col - 1) % kGridColsPerTarget)];
}

std::string NoteLabel(int note, int lowestOctave) {
    if (note < 0) {
        return {};
    }
    std::string digits = std::to_string(note);
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }
    const std::string name = NoteName(note);
    const std::string octave = FormatInt(note / 12 + lowestOctave);
    std::string label = digits + " - " + name + octave;
    if (name.size() == 1) {
        label += ' ';
    }
    if (octave.size() == 1) {
        label += ' ';
    }
    return label;
}

} // namespace ostinel
