#include "StateTestSupport.h"

#include "state/TextCodec.h"

namespace ostinel::test {
namespace {

using codec::Cp1252ToUtf8;
using codec::SanitizeUtf8;
using codec::Utf16LeToUtf8;
using codec::Utf8ToUtf16;

struct SanitizeCase {
    const char* name;
    std::string input;
    std::string expected;
};

const std::string kFFFD = "\xEF\xBF\xBD";

TEST(TextCodec, SanitizeUtf8ReplacesEachMaximalInvalidSubpart) {
    const SanitizeCase cases[] = {
        {"ASCII unchanged", "Ostinel 1.00", "Ostinel 1.00"},
        {"valid multibyte unchanged", "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x8E\xB9",
         "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x8E\xB9"},
        {"stray continuation byte", "a\x80z", "a" + kFFFD + "z"},
        {"lone Latin-1 byte", "Caf\xE9", "Caf" + kFFFD},
        {"overlong two-byte", "\xC0\xAF", kFFFD + kFFFD},
        {"overlong three-byte", "\xE0\x80\xAF", kFFFD + kFFFD + kFFFD},
        {"encoded surrogate", "\xED\xA0\x80", kFFFD + kFFFD + kFFFD},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", kFFFD + kFFFD + kFFFD + kFFFD},
        {"five-byte lead", "\xF8\x88\x80\x80\x80", kFFFD + kFFFD + kFFFD + kFFFD + kFFFD},
        {"truncated sequence is one replacement", "\xE4\xB8", kFFFD},
        {"truncated sequence before ASCII", "\xF0\x9F\x8Ex", kFFFD + "x"},
        {"embedded NUL kept", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SanitizeUtf8(c.input), c.expected);
    }
}

TEST(TextCodec, Utf8ToUtf16UsesSurrogatePairsAboveTheBasicPlane) {
    EXPECT_EQ(Utf8ToUtf16("A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x8E\xB9"),
              (std::u16string{u'A', 0x00E9, 0x4E2D, 0xD83C, 0xDFB9}));
    EXPECT_EQ(Utf8ToUtf16("\xFF"), std::u16string{0xFFFD});
    EXPECT_EQ(Utf8ToUtf16(""), std::u16string{});
}

TEST(TextCodec, Utf16LeDecodingReplacesLoneSurrogates) {
    const struct {
        const char* name;
        Bytes input;
        std::string expected;
    } cases[] = {
        {"BMP", B({0x41, 0x00, 0xE9, 0x00, 0x2D, 0x4E}), "A\xC3\xA9\xE4\xB8\xAD"},
        {"pair", B({0x3C, 0xD8, 0xB9, 0xDF}), "\xF0\x9F\x8E\xB9"},
        {"lone high at end", B({0x41, 0x00, 0x3C, 0xD8}), "A" + kFFFD},
        {"lone high before BMP", B({0x3C, 0xD8, 0x41, 0x00}), kFFFD + "A"},
        {"lone low", B({0xB9, 0xDF, 0x41, 0x00}), kFFFD + "A"},
        {"two highs then low", B({0x3C, 0xD8, 0x3C, 0xD8, 0xB9, 0xDF}), kFFFD + "\xF0\x9F\x8E\xB9"},
        {"odd trailing byte ignored", B({0x41, 0x00, 0x42}), "A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf16LeToUtf8(c.input), c.expected);
    }
}

TEST(TextCodec, SingleByteTextIsWindows1252) {
    const struct {
        int byte;
        std::string expected;
    } cases[] = {
        {0x41, "A"},        {0x80, "\xE2\x82\xAC"}, // euro sign
        {0x81, "\xC2\x81"},                         // undefined: C1 control of the same number
        {0x8A, "\xC5\xA0"},                         // S with caron
        {0x9F, "\xC5\xB8"},                         // Y with diaeresis
        {0xA0, "\xC2\xA0"}, {0xE9, "\xC3\xA9"},     {0xFF, "\xC3\xBF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.byte);
        EXPECT_EQ(Cp1252ToUtf8(B({c.byte})), c.expected);
    }
}

} // namespace
} // namespace ostinel::test
