#pragma once
// The fixed shape of the map grid: 17 columns (the note label, five cells for each of three
// targets, and a zero-width column that holds the current cell), what each column shows, the
// row heights, the mapping between rows and source notes, and the note labels. No GUI here.
#include <array>
#include <cstdint>
#include <string>

namespace ostinel {

enum class TCellKind : std::uint8_t {
    ckNone,
    ckNoteLabel,
    ckChannel,
    ckNote,
    ckVelocityScale,
    ckRandom,
    ckProbability
};

inline constexpr int kGridColCount = 17;
inline constexpr int kGridCurrentCol = 16; // zero width: no visible cell is ever current
inline constexpr int kGridFillCol = 15;    // takes the rest of the width
inline constexpr int kGridHeaderHeight = 26;
inline constexpr int kGridRowHeight = 20;
inline constexpr int kGridColsPerTarget = 5;
inline constexpr std::array<int, kGridColCount> kGridColWidths = {
    86, 38, 80, 52, 48, 52, 38, 80, 52, 48, 52, 38, 80, 52, 48, 52, 0};

[[nodiscard]] TCellKind ColumnKind(int col) noexcept;
// 0..2 for the columns of targets 1..3; -1 for the note label and column 16.
[[nodiscard]] int ColumnTargetIndex(int col) noexcept;
// "NOTE", "1-Ch" ... "3-Prob"; empty for column 16.
[[nodiscard]] std::string ColumnHeader(int col);
// The first column (Ch) of a target.
[[nodiscard]] constexpr int TargetFirstColumn(int targetIndex) noexcept {
    return 1 + kGridColsPerTarget * targetIndex;
}

// The rows shown for a range: a header row and one row per note, highest note on top.
// `from` and `to` are the rounded range ends already brought into 0..127; an inverted range
// shows the header alone.
[[nodiscard]] constexpr int RowCountForRange(int from, int to) noexcept {
    return to >= from ? to - from + 2 : 1;
}
[[nodiscard]] constexpr int NoteOfRow(int row, int rowCount, int from) noexcept {
    return from + rowCount - row - 1;
}
[[nodiscard]] constexpr int RowOfNote(int note, int rowCount, int from) noexcept {
    return rowCount + from - note - 1;
}

// "060 - C3  ": three digits, " - ", the pitch name and octave, padded to 10 characters so the
// labels line up in a monospaced font. -1 (no note) gives the empty text.
[[nodiscard]] std::string NoteLabel(int note, int lowestOctave);

} // namespace ostinel
