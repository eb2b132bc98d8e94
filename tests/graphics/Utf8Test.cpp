#include "graphics/Utf8.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ostinel::gui {
namespace {

struct Utf8Case {
    const char* name;
    std::string bytes;
    std::vector<char32_t> expected;
};

constexpr char32_t R = kReplacementCharacter;

class Utf8Decoding : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Decoding, DecodesOrReplaces) {
    EXPECT_EQ(DecodeUtf8(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Decoding,
    ::testing::Values(
        Utf8Case{"ascii", "A&b", {'A', '&', 'b'}},
        Utf8Case{"two_three_four", "\xC3\xA4\xE2\x80\x93\xF0\x9F\x8E\xB9", {0xE4, 0x2013, 0x1F3B9}},
        Utf8Case{"stray_continuation", "a\x80z", {'a', R, 'z'}},
        Utf8Case{"truncated_at_end", "a\xE2\x80", {'a', R}},
        Utf8Case{"truncated_then_ascii", "\xE2\x80z", {R, 'z'}},
        Utf8Case{"overlong_two", "\xC0\xAF", {R, R}},
        Utf8Case{"overlong_three", "\xE0\x80\xAF", {R, R, R}},
        Utf8Case{"surrogate", "\xED\xA0\x80", {R, R, R}},
        Utf8Case{"above_max", "\xF4\x90\x80\x80", {R, R, R, R}},
        Utf8Case{"invalid_lead", "\xFF\xFE", {R, R}},
        Utf8Case{"max_code_point", "\xF4\x8F\xBF\xBF", {0x10FFFF}},
        Utf8Case{"embedded_nul", std::string("a\0b", 3), {'a', 0, 'b'}}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace ostinel::gui
