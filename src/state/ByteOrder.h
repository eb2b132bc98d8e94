#pragma once
// Little-endian loads and stores, independent of the host's byte order. On a little-endian
// host outside constant evaluation they are plain unaligned moves.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace ostinel::codec {

template <typename T> [[nodiscard]] constexpr T LoadLE(const uint8_t* p) noexcept {
    static_assert(std::is_integral_v<T>);
    if constexpr (std::endian::native == std::endian::little) {
        if (!std::is_constant_evaluated()) {
            T value;
            std::memcpy(&value, p, sizeof(T));
            return value;
        }
    }
    using U = std::make_unsigned_t<T>;
    U value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) {
        value = static_cast<U>(value | static_cast<U>(static_cast<U>(p[i]) << (8 * i)));
    }
    return static_cast<T>(value);
}

template <typename T> constexpr void StoreLE(uint8_t* p, T value) noexcept {
    static_assert(std::is_integral_v<T>);
    if constexpr (std::endian::native == std::endian::little) {
        if (!std::is_constant_evaluated()) {
            std::memcpy(p, &value, sizeof(T));
            return;
        }
    }
    using U = std::make_unsigned_t<T>;
    const auto bits = static_cast<U>(value);
    for (size_t i = 0; i < sizeof(T); ++i) {
        p[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

} // namespace ostinel::codec
