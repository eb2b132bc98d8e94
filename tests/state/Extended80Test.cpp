#include "StateTestSupport.h"

#include "state/Extended80.h"

#include <bit>
#include <cmath>
#include <limits>

namespace ostinel::test {
namespace {

using codec::DoubleBitsToExtended;
using codec::DoubleToExtended;
using codec::ExtendedToDouble;
using codec::ExtendedToDoubleBits;
using codec::TExtendedBytes;

TExtendedBytes Ext(std::initializer_list<int> values) {
    TExtendedBytes out{};
    size_t i = 0;
    for (const int v : values) {
        out.at(i++) = static_cast<uint8_t>(v);
    }
    return out;
}

uint64_t Bits(double value) {
    return std::bit_cast<uint64_t>(value);
}

// Encodings that hold in both directions.
struct ExactCase {
    const char* name;
    uint64_t doubleBits;
    TExtendedBytes extended;
};

const ExactCase kExactCases[] = {
    {"0.0", Bits(0.0), Ext({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
    {"-0.0", Bits(-0.0), Ext({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80})},
    {"1.0", Bits(1.0), Ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
    {"-1.0", Bits(-1.0), Ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xBF})},
    {"100.0", Bits(100.0), Ext({0, 0, 0, 0, 0, 0, 0, 0xC8, 0x05, 0x40})},
    {"127.0", Bits(127.0), Ext({0, 0, 0, 0, 0, 0, 0, 0xFE, 0x05, 0x40})},
    {"0.5", Bits(0.5), Ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F})},
    {"0.1", Bits(0.1), Ext({0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F})},
    {"smallest denormal", 1, Ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B})},
    {"largest denormal", 0x000FFFFFFFFFFFFF,
     Ext({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x3C})},
    {"smallest normal", 0x0010000000000000, Ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x3C})},
    {"largest double", 0x7FEFFFFFFFFFFFFF,
     Ext({0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x43})},
    {"+inf", 0x7FF0000000000000, Ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
    {"-inf", 0xFFF0000000000000, Ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF})},
    {"quiet NaN", 0x7FF8000000000000, Ext({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F})},
    {"signalling NaN with payload", 0xFFF0000000000001,
     Ext({0x00, 0x08, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF})},
};

TEST(Extended80, KnownEncodingsInBothDirections) {
    for (const auto& c : kExactCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DoubleBitsToExtended(c.doubleBits), c.extended);
        EXPECT_EQ(ExtendedToDoubleBits(c.extended), c.doubleBits);
    }
}

TEST(Extended80, EveryDoubleRoundTripsBitExactly) {
    // A fixed generator over all bit patterns: normals, denormals, NaN payloads, both signs.
    uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 200000; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        uint64_t bits = state ^ (state >> 29);
        if (i % 4 == 1) {
            bits &= 0x800FFFFFFFFFFFFFu; // denormal
        } else if (i % 4 == 2) {
            bits |= 0x7FF0000000000000u; // NaN or infinity
        }
        const uint64_t back = ExtendedToDoubleBits(DoubleBitsToExtended(bits));
        ASSERT_EQ(back, bits) << std::hex << bits;
    }
}

TEST(Extended80, FloatsEncodeAsTheirWidenedDoubles) {
    // The float path takes its own route for normal numbers; every kind of float must give the
    // bytes of the double it widens to.
    uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1664525u + 1013904223u;
        uint32_t bits = state;
        if (i % 4 == 1) {
            bits &= 0x807FFFFFu; // zero or denormal
        } else if (i % 4 == 2) {
            bits |= 0x7F800000u; // NaN or infinity
        }
        const float value = std::bit_cast<float>(bits);
        ASSERT_EQ(codec::FloatToExtended(value), DoubleToExtended(static_cast<double>(value)))
            << std::hex << bits;
    }
    for (const float value :
         {0.0f, -0.0f, 1.0f, -1.0f, 100.0f, 127.0f, 16.0f, 0.5f, 1e-40f,
          std::numeric_limits<float>::max(), std::numeric_limits<float>::infinity()})
        EXPECT_EQ(codec::FloatToExtended(value), DoubleToExtended(static_cast<double>(value)))
            << value;
}

TEST(Extended80, FloatShortcutOnlyTakesValuesAFloatHoldsExactly) {
    // Whatever the shortcut accepts must be what the double path gives, narrowed; every float
    // that is zero or normal must be accepted.
    uint32_t state = 777;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1664525u + 1013904223u;
        const auto value = std::bit_cast<float>(state);
        TExtendedBytes bytes = codec::FloatToExtended(value);
        if (i % 3 == 1)
            bytes[static_cast<size_t>(i % 5)] ^= 0x01; // low significand bits: not a float
        else if (i % 3 == 2)
            bytes[9] = static_cast<uint8_t>(bytes[9] ^ 0x02); // exponent far off
        float shortcut = 0.0f;
        if (codec::ExtendedToFloatIfExact(bytes, shortcut)) {
            const double wide = ExtendedToDouble(bytes);
            ASSERT_EQ(static_cast<double>(shortcut), wide) << std::hex << state;
            ASSERT_EQ(std::signbit(shortcut), std::signbit(wide)) << std::hex << state;
        } else {
            const int exponent = (state >> 23) & 0xFF;
            ASSERT_FALSE(i % 3 == 0 && exponent != 0 && exponent != 0xFF) << std::hex << state;
        }
    }
    float zero = 1.0f;
    EXPECT_TRUE(codec::ExtendedToFloatIfExact(codec::FloatToExtended(-0.0f), zero));
    EXPECT_TRUE(std::signbit(zero));
}

// Extended values with more precision or range than a double.
struct NarrowCase {
    const char* name;
    uint64_t significand;
    uint16_t signAndExponent;
    uint64_t expectedBits;
};

constexpr uint64_t kOne = 0x3FF0000000000000;
constexpr uint64_t kInf = 0x7FF0000000000000;
constexpr uint64_t kNegative = 0x8000000000000000;

const NarrowCase kNarrowCases[] = {
    {"tie rounds down to even", 0x8000000000000400, 0x3FFF, kOne},
    {"tie rounds up to even", 0x8000000000000C00, 0x3FFF, kOne + 2},
    {"above the tie rounds up", 0x8000000000000401, 0x3FFF, kOne + 1},
    {"below the tie rounds down", 0x80000000000003FF, 0x3FFF, kOne},
    {"rounding carries into the exponent", 0xFFFFFFFFFFFFFC00, 0x3FFF, 0x4000000000000000},
    {"rounding overflows to infinity", 0xFFFFFFFFFFFFFC00, 0x43FE, kInf},
    {"largest double kept", 0xFFFFFFFFFFFFF800, 0x43FE, 0x7FEFFFFFFFFFFFFF},
    {"2^1024 is infinity", 0x8000000000000000, 0x43FF, kInf},
    {"largest extended is infinity", 0xFFFFFFFFFFFFFFFF, 0x7FFE, kInf},
    {"negative overflow is -infinity", 0x8000000000000000, 0xC3FF, kNegative | kInf},
    {"smallest extended normal is zero", 0x8000000000000000, 0x0001, 0},
    {"negative underflow keeps the sign", 0x8000000000000000, 0x8001, kNegative},
    {"half the smallest denormal ties to zero", 0x8000000000000000, 0x3BCC, 0},
    {"three quarters of it rounds up", 0xC000000000000000, 0x3BCC, 1},
    {"1.5 denormal units tie to 2", 0xC000000000000000, 0x3BCD, 2},
    {"2.5 denormal units tie to 2", 0xA000000000000000, 0x3BCE, 2},
    {"denormal rounding carries into the smallest normal", 0xFFFFFFFFFFFFF800, 0x3C00,
     0x0010000000000000},
    {"unnormal reads as its value", 0x4000000000000000, 0x3FFF, 0x3FE0000000000000},
    {"pseudo-denormal reads as its value", 0x8000000000000000, 0x0000, 0},
    {"zero significand with an exponent is zero", 0, 0x3FFF, 0},
    {"pseudo-infinity is infinity", 0, 0x7FFF, kInf},
};

TEST(Extended80, NarrowingRoundsToNearestEvenAndSaturatesToInfinity) {
    for (const auto& c : kNarrowCases) {
        SCOPED_TRACE(c.name);
        TExtendedBytes bytes{};
        for (int i = 0; i < 8; ++i) {
            bytes.at(static_cast<size_t>(i)) = static_cast<uint8_t>(c.significand >> (8 * i));
        }
        bytes[8] = static_cast<uint8_t>(c.signAndExponent);
        bytes[9] = static_cast<uint8_t>(c.signAndExponent >> 8);
        EXPECT_EQ(ExtendedToDoubleBits(bytes), c.expectedBits)
            << std::hex << ExtendedToDoubleBits(bytes);
    }
}

TEST(Extended80, NanPayloadOutsideTheDoubleBitsStaysNan) {
    const double value = ExtendedToDouble(Ext({1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}));
    EXPECT_TRUE(std::isnan(value));
    EXPECT_TRUE(std::signbit(value));
}

} // namespace
} // namespace ostinel::test
