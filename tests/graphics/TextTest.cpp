#include "graphics/Text.h"
#include "graphics/Utf8.h"

#include "graphics/CanvasTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace ostinel::gui {
namespace {

using test::InkBounds;

constexpr Color kBlack = Color::Rgb(0x000000);
constexpr Color kWhite = Color::Rgb(0xFFFFFF);

const Font kSans11{FontFace::Sans, 11};
const Font kMono12{FontFace::Monospace, 12};

std::vector<Font> SampleFonts() {
    std::vector<Font> fonts;
    for (int px : {11, 12, 13, 16}) {
        fonts.push_back({FontFace::Sans, px});
        fonts.push_back({FontFace::Monospace, px});
    }
    return fonts;
}

// --- Faces and sizes -----------------------------------------------------------------

struct FaceCase {
    const char* name;
    FontFace face;
};

class FaceNames : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceNames, MapToEmbeddedFace) {
    EXPECT_EQ(FaceForName(GetParam().name), GetParam().face);
    EXPECT_EQ(MakeFont(GetParam().name, 13), (Font{GetParam().face, 13}));
}

INSTANTIATE_TEST_SUITE_P(Cases, FaceNames,
                         ::testing::Values(FaceCase{"Segoe UI", FontFace::Sans},
                                           FaceCase{"Tahoma", FontFace::Sans},
                                           FaceCase{"Consolas", FontFace::Monospace},
                                           FaceCase{"Lucida Console", FontFace::Monospace},
                                           FaceCase{"Courier New", FontFace::Monospace},
                                           FaceCase{"courier new", FontFace::Monospace},
                                           FaceCase{"Consolas2", FontFace::Sans},
                                           FaceCase{"Wingdings", FontFace::Sans},
                                           FaceCase{"", FontFace::Sans}));

TEST(Font, MonospaceNameIsConsolasAndMapsToMonospace) {
    EXPECT_EQ(GetMonospaceFontName(), "Consolas");
    EXPECT_EQ(FaceForName(GetMonospaceFontName()), FontFace::Monospace);
}

TEST(Font, PointsToPixelsAt96Dpi) {
    EXPECT_EQ(PointsToPixels(8), 11);
    EXPECT_EQ(PointsToPixels(9), 12);
    EXPECT_EQ(PointsToPixels(10), 13);
    EXPECT_EQ(PointsToPixels(12), 16);
    EXPECT_EQ(PointsToPixels(0), 0);
    EXPECT_EQ(PointsToPixels(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Font, MetricsGrowWithSizeAndLineHoldsAscentAndDescent) {
    FontMetrics previous{};
    for (int px : {8, 11, 12, 13, 16, 24}) {
        const FontMetrics m = GetFontMetrics({FontFace::Sans, px});
        EXPECT_EQ(m.height, m.ascent + m.descent);
        EXPECT_GT(m.ascent, m.capHeight);
        EXPECT_GT(m.descent, 0);
        EXPECT_GE(m.height, previous.height);
        previous = m;
    }
    EXPECT_EQ(GetFontMetrics({FontFace::Sans, 11}).height, 13);
}

TEST(Font, OutOfRangeSizesAreClampedNotRefused) {
    EXPECT_EQ(TextWidth({FontFace::Sans, -5}, "abc"),
              TextWidth({FontFace::Sans, Font::kMinPixelHeight}, "abc"));
    EXPECT_EQ(TextWidth({FontFace::Sans, 100000}, "abc"),
              TextWidth({FontFace::Sans, Font::kMaxPixelHeight}, "abc"));
}

// --- Measuring -----------------------------------------------------------------------

TEST(TextWidth, EmptyIsZeroAndPrefixesNeverShrink) {
    const std::string text = "Quick gypsy jumps, AVAToWa 0123456789 \xC3\xA4\xE2\x80\x93|";
    for (const Font& font : SampleFonts()) {
        EXPECT_EQ(TextWidth(font, ""), 0);
        int previous = 0;
        std::size_t pos = 0;
        while (pos < text.size()) {
            (void)DecodeUtf8At(text, pos);
            const int width = TextWidth(font, text.substr(0, pos));
            EXPECT_GT(width, previous) << font.pixelHeight << " '" << text.substr(0, pos) << "'";
            previous = width;
        }
    }
}

TEST(TextWidth, MonospaceIsCountTimesOneAdvance) {
    for (int px : {11, 12, 13, 16}) {
        const Font mono{FontFace::Monospace, px};
        const int advance = TextWidth(mono, "0");
        ASSERT_GT(advance, 0);
        for (const char* text :
             {"W", "i", "&File", "127 -24 +100%", "C#4 \xC3\xA4\xC3\xB6", "  "}) {
            const auto count = static_cast<int>(DecodeUtf8(text).size());
            EXPECT_EQ(TextWidth(mono, text), count * advance) << px << " '" << text << "'";
        }
    }
}

TEST(TextWidth, AmpersandsAreOrdinaryCharacters) {
    EXPECT_GT(TextWidth(kSans11, "&&"), TextWidth(kSans11, "&"));
    EXPECT_GT(TextWidth(kSans11, "&File"), TextWidth(kSans11, "File"));
    Canvas canvas(30, 20, kBlack);
    DrawText(canvas, kSans11, "&", 2, 2, kWhite);
    EXPECT_FALSE(InkBounds(canvas, kBlack).IsEmpty());
}

TEST(TextWidth, LargerFontIsWider) {
    EXPECT_LT(TextWidth({FontFace::Sans, 11}, "Load Preset"),
              TextWidth({FontFace::Sans, 16}, "Load Preset"));
}

TEST(TextWidth, MissingAndInvalidCharactersTakeSpace) {
    EXPECT_GT(TextWidth(kSans11, "\xE4\xB8\xAD"), 0); // not in the face
    EXPECT_EQ(TextWidth(kSans11, "\xFF"), TextWidth(kSans11, "\xEF\xBF\xBD"));
    Canvas canvas(40, 20, kBlack);
    DrawText(canvas, kSans11, "\xE4\xB8\xAD", 2, 2, kWhite);
    EXPECT_FALSE(InkBounds(canvas, kBlack).IsEmpty());
}

// --- Drawing and placement -----------------------------------------------------------

TEST(DrawText, BaselineSitsUnderCapitalsAndDescendersGoBelow) {
    for (const Font& font : SampleFonts()) {
        const FontMetrics m = GetFontMetrics(font);
        Canvas caps(120, 60, kBlack);
        DrawTextAtBaseline(caps, font, "HEH", 5, 40, kWhite);
        const Rect ink = InkBounds(caps, kBlack);
        EXPECT_EQ(ink.bottom, 40) << font.pixelHeight;
        EXPECT_NEAR(ink.Height(), m.capHeight, 1) << font.pixelHeight;

        Canvas low(120, 60, kBlack);
        DrawTextAtBaseline(low, font, "gjpqy", 5, 40, kWhite);
        const Rect lowInk = InkBounds(low, kBlack);
        EXPECT_GT(lowInk.bottom, 41) << font.pixelHeight;
        EXPECT_LE(lowInk.bottom, 40 + m.descent) << font.pixelHeight;
    }
}

TEST(DrawText, TopPlacementIsBaselineMinusAscent) {
    Canvas byTop(100, 40, kBlack);
    DrawText(byTop, kSans11, "Ostinel gj", 3, 7, kWhite);
    Canvas byBaseline(100, 40, kBlack);
    DrawTextAtBaseline(byBaseline, kSans11, "Ostinel gj", 3, 7 + GetFontMetrics(kSans11).ascent,
                       kWhite);
    EXPECT_EQ(byTop.Surface().Pixels()[0], byBaseline.Surface().Pixels()[0]);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 100; ++x) {
            ASSERT_EQ(byTop.GetPixel(x, y), byBaseline.GetPixel(x, y));
        }
    }
}

TEST(DrawText, StemsReachFullColour) {
    Canvas canvas(60, 30, kBlack);
    DrawText(canvas, {FontFace::Sans, 16}, "Il", 4, 4, Color::Rgb(0xFFC040));
    bool full = false;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            full = full || canvas.GetPixel(x, y) == Color::Rgb(0xFFC040);
        }
    }
    EXPECT_TRUE(full);
}

TEST(DrawTextInRect, CentredInkIsCentredHorizontally) {
    const Rect r{10, 5, 191, 35};
    for (const Font& font : SampleFonts()) {
        for (const char* text : {"Load Preset", "OK", "Init", "C#4", "127", "Yes"}) {
            Canvas canvas(200, 40, kBlack);
            DrawTextInRect(canvas, font, text, r, kWhite, TextAlign::Center);
            const Rect ink = InkBounds(canvas, kBlack);
            // Twice the centres, so a one-pixel tolerance is 2.
            EXPECT_NEAR(ink.left + ink.right, r.left + r.right, 2)
                << font.pixelHeight << " '" << text << "'";
        }
    }
}

TEST(DrawTextInRect, CapitalsAreCentredVertically) {
    for (const Font& font : SampleFonts()) {
        for (int height : {16, 20, 22, 25, 30}) {
            const Rect r{0, 3, 150, 3 + height};
            Canvas canvas(150, 40, kBlack);
            DrawTextInRect(canvas, font, "HELLO", r, kWhite, TextAlign::Center);
            const Rect ink = InkBounds(canvas, kBlack);
            EXPECT_NEAR(ink.top + ink.bottom, r.top + r.bottom, 2)
                << font.pixelHeight << " height " << height;
        }
    }
}

TEST(DrawTextInRect, DescendersFitWhenTheLineFits) {
    for (const Font& font : SampleFonts()) {
        const FontMetrics m = GetFontMetrics(font);
        for (int height = m.height; height < m.height + 10; ++height) {
            const Rect r{0, 4, 150, 4 + height};
            const Point at = TextOriginInRect(font, "Hgjpqy", r, TextAlign::Left);
            Canvas canvas(150, 60, kBlack);
            DrawText(canvas, font, "Hgjpqy", at.x, at.y, kWhite); // unclipped
            const Rect ink = InkBounds(canvas, kBlack);
            EXPECT_EQ(ink.Intersect(r), ink) << font.pixelHeight << " height " << height;
        }
    }
}

TEST(DrawTextInRect, LeftAndRightAlignment) {
    const Rect r{20, 0, 120, 20};
    EXPECT_EQ(TextOriginInRect(kSans11, "abc", r, TextAlign::Left).x, 20);
    EXPECT_EQ(TextOriginInRect(kSans11, "abc", r, TextAlign::Right).x,
              120 - TextWidth(kSans11, "abc"));
    Canvas canvas(140, 20, kBlack);
    DrawTextInRect(canvas, kMono12, "42", r, kWhite, TextAlign::Right);
    const Rect ink = InkBounds(canvas, kBlack);
    EXPECT_LE(ink.right, 120);
    EXPECT_GE(ink.right, 118);
}

TEST(DrawTextInRect, ClipsToTheRectangle) {
    Canvas canvas(200, 40, kBlack);
    const Rect r{10, 10, 40, 30};
    DrawTextInRect(canvas, kSans11, "A long caption that overflows", r, kWhite);
    const Rect ink = InkBounds(canvas, kBlack);
    EXPECT_EQ(ink.Intersect(r), ink);
    EXPECT_EQ(ink.right, r.right);
    EXPECT_EQ(canvas.StateDepth(), 0u);
}

// --- Ellipsis ------------------------------------------------------------------------

TEST(EllipsizeText, FittingTextIsUnchanged) {
    EXPECT_EQ(EllipsizeText(kSans11, "Init", 100), "Init");
    EXPECT_EQ(EllipsizeText(kSans11, "", 0), "");
    const int exact = TextWidth(kSans11, "Load Preset");
    EXPECT_EQ(EllipsizeText(kSans11, "Load Preset", exact), "Load Preset");
}

TEST(EllipsizeText, LongestPrefixThatFitsWithEllipsis) {
    const std::string text = "Right aligned text that is much too long";
    for (int width : {30, 60, 95, 140}) {
        const std::string shortened = EllipsizeText(kSans11, text, width);
        ASSERT_GE(shortened.size(), 3u);
        const std::string stem = shortened.substr(0, shortened.size() - 3);
        EXPECT_EQ(shortened.substr(shortened.size() - 3), "\xE2\x80\xA6");
        EXPECT_LE(TextWidth(kSans11, shortened), width);
        EXPECT_EQ(text.compare(0, stem.size(), stem), 0) << shortened;
        EXPECT_NE(stem.back(), ' ');
        // The next longer stem (blanks do not count) would not fit.
        std::size_t next = stem.size() + 1;
        while (next < text.size() && text[next - 1] == ' ') {
            ++next;
        }
        const std::string longer = text.substr(0, next);
        EXPECT_GT(TextWidth(kSans11, longer + "\xE2\x80\xA6"), width) << shortened;
    }
}

TEST(EllipsizeText, CutsOnlyBetweenCodePoints) {
    const std::string text = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6";
    for (int width = 5; width < TextWidth(kSans11, text); ++width) {
        for (char32_t c : DecodeUtf8(EllipsizeText(kSans11, text, width))) {
            ASSERT_NE(c, kReplacementCharacter) << width;
        }
    }
}

TEST(EllipsizeText, NothingFitsGivesTheEllipsisAlone) {
    EXPECT_EQ(EllipsizeText(kSans11, "Preset", 1), "\xE2\x80\xA6");
}

} // namespace
} // namespace ostinel::gui
