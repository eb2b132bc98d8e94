#include "editor/map/MapGridPainter.h"

#include "editor/map/CellValues.h"
#include "editor/map/MapGridLayout.h"
#include "graphics/Text.h"
#include "gui/skins/Skin.h"

namespace ostinel {

namespace {

constexpr int kFontPoints = 9;

} // namespace

TMapGridPainter::TMapGridPainter(const std::string& gridFontName)
    : headerFont_(gui::MakeFont("Segoe UI", gui::PointsToPixels(kFontPoints))),
      dataFont_(gui::MakeFont(gridFontName, gui::PointsToPixels(kFontPoints))) {}

void TMapGridPainter::Paint(gui::Canvas& canvas, int col, int row, const gui::Rect& r,
                            const TGridPaintContext& context) const {
    const gui::TSkin& skin = gui::ActiveSkin();
    const bool luna = skin.Kind == gui::TSkinKind::Luna;
    // Luna's texts sit lower: the whole text box moves down (3 pixels in the label column).
    gui::Rect textRect = r;
    if (luna) {
        const int down = col == 0 ? 3 : 1;
        textRect.top += down;
        textRect.bottom += down;
    }

    if (row == 0) {
        const std::string text = ColumnHeader(col);
        gui::DrawTextInRect(canvas, headerFont_, text, textRect, skin.GridFixedText,
                            gui::TextAlign::Center);
        return;
    }

    const gui::Color textColor =
        col > 0 && skin.Kind == gui::TSkinKind::Carbon ? skin.ButtonNormal.Text : skin.GridText;
    if (col == context.LearnCol && row == context.LearnRow) {
        canvas.FillRect(r, context.LearnColor);
    }
    const int note = NoteOfRow(row, context.RowCount, context.From);
    if (context.Channel == nullptr || note < 0 || note >= kMapNotes) {
        return;
    }
    const TChannelOstinItem& item = context.Channel->Notes[note];

    std::string text;
    if (col == 0) {
        if (context.Highlighted != nullptr && context.Highlighted->IsHeld(note)) {
            canvas.FillRect(r, context.HighlightColor);
        }
        text = NoteLabel(item.SourceNote(), context.LowestOctave);
    } else {
        const int targetIndex = ColumnTargetIndex(col);
        if (targetIndex < 0) {
            return;
        }
        text = CellText(item.Targets[targetIndex], ColumnKind(col), context.LowestOctave);
    }
    if (!text.empty()) {
        gui::DrawTextInRect(canvas, dataFont_, text, textRect, textColor, gui::TextAlign::Center);
    }
}

} // namespace ostinel
