#pragma once
// What the map grid's cell painter adds on top of the grid's own background and lines: the
// header texts, the learn cell's fill, the held notes' fill in the label column, and the
// values of the three targets, centred in their cells in the skin's colours.
#include "editor/map/HighlightedNotes.h"
#include "engine/Ostin.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"

#include <string>

namespace ostinel {

// The editor's state a cell's picture depends on.
struct TGridPaintContext {
    const TOstinelChannel* Channel = nullptr; // the shown channel
    int From = 0;                             // note range start the rows were built for
    int RowCount = 1;
    int LowestOctave = -2;
    int LearnCol = -1; // the cell waiting for a learned note, or -1
    int LearnRow = -1;
    gui::Color LearnColor;
    gui::Color HighlightColor;
    const THighlightedNotes* Highlighted = nullptr;
};

class TMapGridPainter {
public:
    // The data rows' face: the monospaced font's name (9 pt); the header uses Segoe UI 9 pt.
    explicit TMapGridPainter(const std::string& gridFontName);

    // grdMapDrawCell: paints cell (col, row) inside r.
    void Paint(gui::Canvas& canvas, int col, int row, const gui::Rect& r,
               const TGridPaintContext& context) const;

    [[nodiscard]] const gui::Font& HeaderFont() const { return headerFont_; }
    [[nodiscard]] const gui::Font& DataFont() const { return dataFont_; }

private:
    gui::Font headerFont_;
    gui::Font dataFont_;
};

} // namespace ostinel
