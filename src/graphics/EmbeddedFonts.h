#pragma once
// Font files compiled into the binary (sources generated at build time from
// resources/fonts/EmbedBinary.cmake), so every platform and every test draws the same pixels.
#include <cstddef>
#include <cstdint>
#include <span>

namespace ostinel::gui::fonts {

extern const unsigned char kDejaVuSansBold[];
extern const std::size_t kDejaVuSansBoldSize;
extern const unsigned char kDejaVuSansMonoBold[];
extern const std::size_t kDejaVuSansMonoBoldSize;

[[nodiscard]] inline std::span<const std::uint8_t> SansBold() {
    return {kDejaVuSansBold, kDejaVuSansBoldSize};
}
[[nodiscard]] inline std::span<const std::uint8_t> MonoBold() {
    return {kDejaVuSansMonoBold, kDejaVuSansMonoBoldSize};
}

} // namespace ostinel::gui::fonts
