#include "state/Extended80.h"

#include "state/ByteOrder.h"

#include <algorithm>
#include <bit>

namespace ostinel::codec {

namespace {

constexpr int kDoubleBias = 1023;
constexpr int kExtendedBias = 16383;
constexpr int kDoubleMaxExponent = 1023;
constexpr int kDoubleMinExponent = -1022;
constexpr int kDoubleFractionBits = 52;
constexpr int kDroppedBits = 63 - kDoubleFractionBits; // significand bits below a double's
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;
constexpr uint64_t kDoubleFractionMask = (uint64_t{1} << kDoubleFractionBits) - 1;
constexpr uint64_t kDoubleQuietBit = uint64_t{1} << 51;
constexpr uint64_t kDoubleSignBit = uint64_t{1} << 63;
constexpr uint64_t kDoubleExponentAll = uint64_t{0x7FF} << kDoubleFractionBits;
constexpr uint16_t kExtendedExponentAll = 0x7FFF;
constexpr uint16_t kExtendedSignBit = 0x8000;

TExtendedBytes Pack(bool negative, int exponent, uint64_t significand) noexcept {
    TExtendedBytes out{};
    StoreLE<uint64_t>(out.data(), significand);
    const auto word = static_cast<uint16_t>(static_cast<uint16_t>(exponent) |
                                            (negative ? kExtendedSignBit : uint16_t{0}));
    StoreLE<uint16_t>(out.data() + 8, word);
    return out;
}

// Rounds q + rem / 2^shift to nearest, ties to even; shift is 1..64.
uint64_t RoundShifted(uint64_t significand, int shift) noexcept {
    const uint64_t q = shift == 64 ? 0 : significand >> shift;
    const uint64_t rem = shift == 64 ? significand : significand & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    return (rem > half || (rem == half && (q & 1) != 0)) ? q + 1 : q;
}

} // namespace

TExtendedBytes DoubleToExtended(double value) noexcept {
    return DoubleBitsToExtended(std::bit_cast<uint64_t>(value));
}

TExtendedBytes FloatToExtended(float value) noexcept {
    constexpr int kFloatBias = 127;
    constexpr int kFloatFractionBits = 23;
    const auto bits = std::bit_cast<uint32_t>(value);
    const int exponent = static_cast<int>((bits >> kFloatFractionBits) & 0xFF);
    const uint64_t fraction = bits & ((uint32_t{1} << kFloatFractionBits) - 1);
    if (exponent == 0 && fraction == 0)
        return Pack((bits >> 31) != 0, 0, 0);
    if (exponent == 0 || exponent == 0xFF) // denormals, infinities, NaNs
        return DoubleToExtended(static_cast<double>(value));
    return Pack((bits >> 31) != 0, exponent - kFloatBias + kExtendedBias,
                kIntegerBit | (fraction << (63 - kFloatFractionBits)));
}

TExtendedBytes DoubleBitsToExtended(uint64_t bits) noexcept {
    const bool negative = (bits & kDoubleSignBit) != 0;
    const int exponent = static_cast<int>((bits >> kDoubleFractionBits) & 0x7FF);
    const uint64_t fraction = bits & kDoubleFractionMask;

    if (exponent == 0x7FF) { // infinity (fraction 0) or NaN (payload kept)
        return Pack(negative, kExtendedExponentAll, kIntegerBit | (fraction << kDroppedBits));
    }
    if (exponent == 0) {
        if (fraction == 0) {
            return Pack(negative, 0, 0);
        }
        // Denormal: fraction x 2^-1074; move its top bit to the integer bit.
        const int shift = std::countl_zero(fraction);
        const int unbiased = (63 - shift) - 1074;
        return Pack(negative, unbiased + kExtendedBias, fraction << shift);
    }
    return Pack(negative, exponent - kDoubleBias + kExtendedBias,
                kIntegerBit | (fraction << kDroppedBits));
}

uint64_t ExtendedToDoubleBits(std::span<const uint8_t, kExtendedSize> bytes) noexcept {
    uint64_t significand = LoadLE<uint64_t>(bytes.data());
    const auto word = LoadLE<uint16_t>(bytes.data() + 8);
    const uint64_t sign = (word & kExtendedSignBit) != 0 ? kDoubleSignBit : 0;
    const int exponent = word & kExtendedExponentAll;
    const uint64_t infinity = sign | kDoubleExponentAll;

    if (exponent == kExtendedExponentAll) {
        const uint64_t fraction = significand & ~kIntegerBit;
        if (fraction == 0) {
            return infinity;
        }
        uint64_t payload = fraction >> kDroppedBits;
        if (payload == 0) {
            payload = kDoubleQuietBit; // the payload lived only in bits a double cannot hold
        }
        return sign | kDoubleExponentAll | payload;
    }
    if (significand == 0) {
        return sign;
    }

    // Normalise; the biased exponent 0 scales like 1 (denormal).
    const int shift = std::countl_zero(significand);
    significand <<= shift;
    int unbiased = std::max(exponent, 1) - kExtendedBias - shift;
    if (unbiased > kDoubleMaxExponent) {
        return infinity;
    }
    if (unbiased >= kDoubleMinExponent) {
        uint64_t q = RoundShifted(significand, kDroppedBits);
        if ((q >> (kDoubleFractionBits + 1)) != 0) { // rounding carried into a new bit
            q >>= 1;
            ++unbiased;
            if (unbiased > kDoubleMaxExponent) {
                return infinity;
            }
        }
        const auto biased = static_cast<uint64_t>(unbiased + kDoubleBias);
        return sign | (biased << kDoubleFractionBits) | (q & kDoubleFractionMask);
    }

    // Denormal result in units of 2^-1074. A carry into bit 52 yields the smallest normal,
    // which the bit pattern expresses by itself.
    const int denormalShift = -(unbiased + 1074 - 63);
    if (denormalShift > 64) {
        return sign;
    }
    return sign | RoundShifted(significand, denormalShift);
}

double ExtendedToDouble(std::span<const uint8_t, kExtendedSize> bytes) noexcept {
    return std::bit_cast<double>(ExtendedToDoubleBits(bytes));
}

} // namespace ostinel::codec
