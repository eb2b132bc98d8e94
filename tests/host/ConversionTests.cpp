// The Winamp adapter's sample conversions (linked code).
#include "ostinel/WinampDsp.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace ostinel::winamp {
namespace {

TEST(WinampConversion, InputScales) {
    float left[2], right[2];
    float* channels[2] = {left, right};
    const std::int16_t s16[4] = {-32768, 16384, 0, 32767};
    ConvertIn(s16, 2, 16, 2, channels, 2);
    EXPECT_EQ(left[0], -1.0f);
    EXPECT_EQ(right[0], 0.5f);
    EXPECT_EQ(left[1], 0.0f);
    const std::int8_t s8[2] = {-128, 64};
    ConvertIn(s8, 1, 8, 2, channels, 2);
    EXPECT_EQ(left[0], -1.0f);
    EXPECT_EQ(right[0], 0.5f);
    const std::uint8_t s24[6] = {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F};
    ConvertIn(s24, 1, 24, 2, channels, 2);
    EXPECT_EQ(left[0], -1.0f);
    EXPECT_NEAR(right[0], 1.0f, 1e-6);
}

TEST(WinampConversion, OutputIsDitheredWithinOneStepAndNeverOverflows) {
    for (int round = 0; round < 200; ++round) {
        float full[1] = {1.5f};
        const float* channels[1] = {full};
        std::int16_t s16 = 0;
        ConvertOut(channels, 1, &s16, 1, 16, 1);
        EXPECT_GE(s16, 32765);
        EXPECT_LE(s16, 32767);
        std::array<std::uint8_t, 3> s24{};
        ConvertOut(channels, 1, s24.data(), 1, 24, 1);
        const std::int32_t v24 = s24[0] | s24[1] << 8 | (s24[2] << 16);
        EXPECT_GE(v24, 8388606);
        EXPECT_LE(v24, 8388607);
        float negative[1] = {-2.0f};
        const float* neg[1] = {negative};
        ConvertOut(neg, 1, &s16, 1, 16, 1);
        EXPECT_GE(s16, -32767);
        EXPECT_LE(s16, -32765);
    }
}

TEST(WinampConversion, ThirtyTwoBitIsTheFloatPattern) {
    float in[1] = {0.123f};
    const float* channels[1] = {in};
    std::uint32_t word = 0;
    ConvertOut(channels, 1, &word, 1, 32, 1);
    float back = 0;
    std::memcpy(&back, &word, 4);
    EXPECT_EQ(back, 0.123f);
}

} // namespace
} // namespace ostinel::winamp
