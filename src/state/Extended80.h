#pragma once
// The 80-bit IEEE extended format of the value stream, converted by hand so that the result
// does not depend on the compiler's long double (64 bits on MSVC, 80 on x87 targets).
//
// Layout: bytes 0-7 the 64-bit significand with its explicit integer bit, bytes 8-9 the sign
// (bit 15) and the exponent biased by 16383 (bits 0-14), all little-endian.
#include "state/ByteOrder.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ostinel::codec {

inline constexpr size_t kExtendedSize = 10;
using TExtendedBytes = std::array<uint8_t, kExtendedSize>;

// Exact for every double: zeros keep their sign, denormals are normalised, infinities and NaNs
// (payload and quiet bit included) map to their extended counterparts.
[[nodiscard]] TExtendedBytes DoubleToExtended(double value) noexcept;
// The same for a float, widened exactly; quicker for normal numbers, which the float's own
// bits give directly.
[[nodiscard]] TExtendedBytes FloatToExtended(float value) noexcept;
// The same from the bit pattern: on 32-bit x86 a double passed through the x87 registers loses
// a signalling NaN's signalling bit, so exactness is only promised for the bit patterns.
[[nodiscard]] TExtendedBytes DoubleBitsToExtended(uint64_t bits) noexcept;

// Rounds to nearest, ties to even. Magnitudes beyond the double range give +-infinity, those
// below half the smallest denormal give +-0. A NaN keeps the top 52 bits of its fraction as
// payload (a quiet NaN when those are all zero). Unnormal and pseudo-denormal encodings, which
// no writer produces, are read as the number their bits describe.
[[nodiscard]] double ExtendedToDouble(std::span<const uint8_t, kExtendedSize> bytes) noexcept;
[[nodiscard]] uint64_t ExtendedToDoubleBits(std::span<const uint8_t, kExtendedSize> bytes) noexcept;
// The float of an extended value that a float holds exactly (zero or a normal float): true and
// `out` set; false for anything else, which the double path decodes. Inline: the state reader
// calls it for every value of the map.
[[nodiscard]] inline bool ExtendedToFloatIfExact(std::span<const uint8_t, kExtendedSize> bytes,
                                                 float& out) noexcept {
    constexpr uint64_t kIntegerBit = uint64_t{1} << 63;
    constexpr int kDroppedFloatBits = 63 - 23;
    const uint64_t significand = LoadLE<uint64_t>(bytes.data());
    const auto word = LoadLE<uint16_t>(bytes.data() + 8);
    const uint32_t sign = static_cast<uint32_t>(word & 0x8000) << 16;
    // The float's biased exponent: 1..254 for a normal float.
    const int exponent = (word & 0x7FFF) - 16383 + 127;
    if ((significand & kIntegerBit) != 0 && exponent >= 1 && exponent <= 254 &&
        (significand & ((uint64_t{1} << kDroppedFloatBits) - 1)) == 0) {
        const auto fraction =
            static_cast<uint32_t>((significand & ~kIntegerBit) >> kDroppedFloatBits);
        out = std::bit_cast<float>(sign | (static_cast<uint32_t>(exponent) << 23) | fraction);
        return true;
    }
    if (significand == 0 && (word & 0x7FFF) == 0) {
        out = std::bit_cast<float>(sign);
        return true;
    }
    return false;
}

} // namespace ostinel::codec
