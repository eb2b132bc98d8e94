#include "gui/widgets/TextUtil.h"

#include "graphics/Utf8.h"

#include <algorithm>

namespace ostinel::gui {

TFont MakeTFont(std::string_view faceName, int pixelHeight, Color color) {
    return TFont{MakeFont(faceName, pixelHeight), color, false};
}

std::u32string ToCodePoints(std::string_view utf8) {
    std::u32string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        out.push_back(DecodeUtf8At(utf8, pos));
    }
    return out;
}

std::string ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t ch : text) {
        AppendUtf8(out, ch);
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current.push_back(c);
        }
    }
    lines.push_back(std::move(current));
    return lines;
}

namespace {

// Breaks one over-long word between code points.
void BreakWord(const Font& font, const std::u32string& word, int maxWidth,
               std::vector<std::string>& out, std::string& line) {
    for (const char32_t ch : word) {
        std::string candidate = line;
        AppendUtf8(candidate, ch);
        if (!line.empty() && TextWidth(font, candidate) > maxWidth) {
            out.push_back(std::move(line));
            line.clear();
            AppendUtf8(line, ch);
        } else {
            line = std::move(candidate);
        }
    }
}

} // namespace

std::vector<std::string> WrapText(const Font& font, std::string_view text, int maxWidth) {
    std::vector<std::string> out;
    for (const std::string& paragraph : SplitLines(text)) {
        if (paragraph.empty()) {
            out.emplace_back();
            continue;
        }
        std::string line;
        std::size_t pos = 0;
        while (pos < paragraph.size()) {
            const std::size_t blank = paragraph.find(' ', pos);
            const std::size_t end = blank == std::string::npos ? paragraph.size() : blank;
            const std::string word = paragraph.substr(pos, end - pos);
            pos = end == paragraph.size() ? end : end + 1;
            std::string candidate = line.empty() ? word : line + " " + word;
            if (TextWidth(font, candidate) <= maxWidth) {
                line = std::move(candidate);
                continue;
            }
            if (!line.empty()) {
                out.push_back(std::move(line));
                line.clear();
            }
            if (TextWidth(font, word) <= maxWidth) {
                line = word;
            } else {
                BreakWord(font, ToCodePoints(word), maxWidth, out, line);
            }
        }
        out.push_back(std::move(line));
    }
    return out;
}

void DrawFontText(Canvas& canvas, const TFont& font, std::string_view text, Point at) {
    DrawText(canvas, font.Face, text, at.x, at.y, font.TextColor);
    if (font.Underline && !text.empty()) {
        const FontMetrics m = GetFontMetrics(font.Face);
        const int y = at.y + m.ascent + std::max(1, m.descent / 3);
        canvas.HLine(at.x, at.x + TextWidth(font.Face, text), y, font.TextColor);
    }
}

void DrawFontTextInRect(Canvas& canvas, const TFont& font, std::string_view text, const Rect& r,
                        TextAlign align, TextOverflow overflow) {
    if (r.IsEmpty()) {
        return;
    }
    std::string shortened;
    if (overflow == TextOverflow::Ellipsis) {
        shortened = EllipsizeText(font.Face, text, r.Width());
        text = shortened;
    }
    const Point at = TextOriginInRect(font.Face, text, r, align);
    const ClipScope clip(canvas, r);
    DrawFontText(canvas, font, text, at);
}

Color MixColor(Color a, Color b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    auto ch = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(
            static_cast<float>(x) + (static_cast<float>(y) - static_cast<float>(x)) * t + 0.5f);
    };
    return {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b), ch(a.a, b.a)};
}

} // namespace ostinel::gui
