#include "common/Utf.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace ostinel {
namespace {

TEST(UtfTest, ValidTextRoundTrips) {
    const std::string texts[] = {
        "",
        "Ostinel",
        "Dokumente/\xC3\x96lgem\xC3\xA4lde",    // 2-byte
        "120 \xE2\x80\x93 127",                 // 3-byte en dash
        "\xF0\x9F\x8E\xB9 piano",               // 4-byte, a surrogate pair
        "\xEF\xBF\xBF\xF4\x8F\xBF\xBF\xC2\x80", // U+FFFF, U+10FFFF, U+0080
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    }
    EXPECT_EQ(Utf8ToUtf16("\xC3\xA4\xE2\x80\x93\xF0\x9F\x8E\xB9"),
              (std::u16string{0x00E4, 0x2013, 0xD83C, 0xDFB9}));
}

TEST(UtfTest, IllFormedUtf8BecomesReplacementCharacters) {
    constexpr char16_t R = 0xFFFD;
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string units;
    };
    const Case cases[] = {
        {"lone continuation", "\x80", {R}},
        {"invalid lead FF",
         "a\xFF"
         "b",
         {u'a', R, u'b'}},
        {"truncated at end", "\xC3", {R}},
        {"truncated 4-byte at end", "\xF0\x9F\x8E", {R}},
        {"truncated before ASCII",
         "\xE2\x82"
         "A",
         {R, u'A'}},
        {"overlong 2-byte", "\xC0\xAF", {R, R}},
        {"overlong 3-byte", "\xE0\x80\xAF", {R, R, R}},
        {"encoded surrogate", "\xED\xA0\x80", {R, R, R}},
        {"above U+10FFFF", "\xF4\x90\x80\x80", {R, R, R, R}},
        {"embedded NUL kept", std::string("a\0b", 3), {u'a', 0, u'b'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.units);
    }
}

TEST(UtfTest, LoneSurrogatesBecomeReplacementCharacters) {
    const std::string R = "\xEF\xBF\xBD";
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83C}), R);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDFB9, u'a'}), R + "a");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83C, u'a', 0xD83C, 0xDFB9}), R + "a\xF0\x9F\x8E\xB9");
}

TEST(UtfTest, EncodesCodePointsAndReplacesWhatIsNoCharacter) {
    const std::pair<char32_t, std::string> cases[] = {
        {U'A', "A"},
        {0x00E9, "\xC3\xA9"},
        {0x20AC, "\xE2\x82\xAC"},
        {0x1F3B9, "\xF0\x9F\x8E\xB9"},
        {0xD800, "\xEF\xBF\xBD"},   // a surrogate
        {0x110000, "\xEF\xBF\xBD"}, // beyond Unicode
    };
    for (const auto& [cp, expected] : cases) {
        std::string out = "x";
        AppendUtf8(out, cp);
        EXPECT_EQ(out, "x" + expected) << static_cast<unsigned>(cp);
    }
}

TEST(UtfTest, DecodingStepsOverOneCharacterOrItsBrokenStart) {
    // text, then the code points and the positions after each step.
    const std::string text = "a\xC3\xA9\xE2\x82z\xF0\x9F\x8E\xB9\xFF";
    const std::vector<std::pair<char32_t, std::size_t>> steps = {
        {U'a', 1}, {0xE9, 3}, {0xFFFD, 5}, {U'z', 6}, {0x1F3B9, 10}, {0xFFFD, 11}};
    std::size_t pos = 0;
    for (const auto& [cp, after] : steps) {
        EXPECT_EQ(DecodeUtf8At(text, pos), cp);
        EXPECT_EQ(pos, after);
    }
}

TEST(UtfTest, PathsKeepNonAsciiNames) {
    const std::string name = "Presets/\xC3\x96lbild \xE2\x9C\x93.quorvatp";
    const std::filesystem::path path = PathFromUtf8(name);
    EXPECT_EQ(PathToUtf8(path.filename()), "\xC3\x96lbild \xE2\x9C\x93.quorvatp");
    EXPECT_EQ(PathToUtf8(path), PathToUtf8(PathFromUtf8(PathToUtf8(path))));
}

} // namespace
} // namespace ostinel
