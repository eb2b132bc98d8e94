// Renders a sample sheet of the canvas (translucent rounded panels over a tiled background,
// text in both faces and several sizes) to a PNG for looking at by eye.
// Usage: ostinel_canvas_sample [output.png]   (default /tmp/ostinel-canvas-sample.png)
#include "graphics/Canvas.h"
#include "graphics/Png.h"
#include "graphics/Text.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

using namespace ostinel::gui;

// A small perforated-metal tile: dark plate with one round hole.
Image MakeTile() {
    Image tile(6, 6, Color::Rgb(0x2B2D30));
    Canvas hole(6, 6, Color::Transparent());
    hole.FillRoundRect({1, 1, 5, 5}, 2.0f, Color::Rgb(0x111213));
    Canvas out(6, 6, Color::Rgb(0x2B2D30));
    out.DrawImage(hole.Surface(), {0, 0});
    out.HLine(1, 5, 5, Color::Rgb(0x3A3D41));
    return out.Surface();
}

void DrawFaceSamples(Canvas& c, int x, int y, Color color, const char* title) {
    const Font heading = MakeFont("Segoe UI", 16);
    DrawText(c, heading, title, x, y, color);
    y += 24;
    for (int px : {11, 12, 13, 16}) {
        const Font sans = MakeFont("Tahoma", px);
        const Font mono = MakeFont(std::string(GetMonospaceFontName()), px);
        const std::string label = std::to_string(px) + " px ";
        DrawText(c, sans, label + "Sans: Quick gypsy jumps, Ostinel 0123456789 \xE2\x80\x93 Äöü", x,
                 y, color);
        y += GetFontMetrics(sans).height + 3;
        DrawText(c, mono, label + "Mono: C#4 127 -24 +100% {}[]() ~qjpg", x, y, color);
        y += GetFontMetrics(mono).height + 6;
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string path = argc > 1 ? argv[1] : "/tmp/ostinel-canvas-sample.png";
        Canvas c(900, 600);
        c.TileImage(MakeTile(), c.ClipRect(), {0, 0});

        // Dark translucent panel with a border, light text.
        c.FillRoundRectWithBorder({20, 20, 880, 290}, 10.0f, 2.0f,
                                  Color::Rgb(0x1C1F24).WithAlpha(200), Color::Rgb(0x5A6470));
        DrawFaceSamples(c, 36, 32, Color::Rgb(0xE8E8E8), "Dark panel, light text");

        // Light translucent panel, dark text.
        c.FillRoundRectWithBorder({20, 305, 880, 575}, 10.0f, 1.0f,
                                  Color::Rgb(0xF2F2F2).WithAlpha(225), Color::Rgb(0xB0B0B0));
        DrawFaceSamples(c, 36, 317, Color::Rgb(0x202020), "Light panel, dark text");

        // Placement in boxes: left / centre / right with ellipsis, and a missing glyph.
        const Font font = MakeFont("Segoe UI", 11);
        const Rect boxes[] = {{620, 40, 860, 62}, {620, 68, 860, 90}, {620, 96, 860, 118}};
        const TextAlign aligns[] = {TextAlign::Left, TextAlign::Center, TextAlign::Right};
        for (int i = 0; i < 3; ++i) {
            c.FillRoundRect(boxes[i], 4.0f, Color::Rgb(0x3F6183));
            c.FrameRoundRect(boxes[i], 4.0f, 1.0f, Color::Rgb(0x8FB0D0));
        }
        DrawTextInRect(c, font, "Left aligned, gjpqy", boxes[0].Inset(4), Color::Rgb(0xFFFFFF),
                       aligns[0]);
        DrawTextInRect(c, font, "Centred: Load Preset", boxes[1].Inset(4), Color::Rgb(0xFFFFFF),
                       aligns[1]);
        DrawTextInRect(c, font, "Right aligned text that is much too long for its box",
                       boxes[2].Inset(4), Color::Rgb(0xFFFFFF), aligns[2], TextOverflow::Ellipsis);
        DrawText(c, font, "Missing: \xE4\xB8\xAD / bad: \xFF\xFE", 620, 126, Color::Rgb(0xFFD080));

        // Grid-like cells: monospace values right-aligned, a line box exactly as high as the font.
        const Font mono = MakeFont("Consolas", 12);
        const int lineHeight = GetFontMetrics(mono).height;
        const char* values[] = {"C#4", "127", "-24", "+100", "g#-2"};
        for (int i = 0; i < 5; ++i) {
            const Rect cell = Rect::FromSize(620 + i * 48, 150, 46, lineHeight + 4);
            c.FillRect(cell, Color::Rgb(i % 2 == 0 ? 0xE8E8E8 : 0xD8DEE6));
            c.FrameRect(cell, Color::Rgb(0x808890));
            DrawTextInRect(c, mono, values[i], cell.Inset(2), Color::Rgb(0x101010),
                           TextAlign::Right);
        }
        const Rect tight = Rect::FromSize(620, 180, 240, lineHeight);
        c.FillRect(tight, Color::Rgb(0x5182B3).WithAlpha(160));
        DrawTextInRect(c, mono, "tight line box: gjpqy_|", tight, Color::Rgb(0xFFFFFF),
                       TextAlign::Center);

        SavePng(c, path);
        std::printf("wrote %s\n", path.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ostinel_canvas_sample: %s\n", e.what());
        return 1;
    }
}
