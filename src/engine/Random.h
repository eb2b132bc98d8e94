#pragma once
// The process-wide random generator shared by every plug-in instance in the host process:
// s = s * 134775813 + 1 (mod 2^32). Lock-free, so the audio threads of several instances and
// the GUI thread may draw at the same time; each draw advances the one shared state.
#include <cstdint>

namespace ostinel {

void RandomSeed(std::uint32_t seed) noexcept;
[[nodiscard]] std::uint32_t RandomState() noexcept;

// A draw with bound n (n >= 1): 0 .. n-1. A bound below 1 returns 0 without drawing.
[[nodiscard]] std::int32_t Random(std::int32_t n) noexcept;

// A draw as a fraction in [0, 1).
[[nodiscard]] double RandomFraction() noexcept;

} // namespace ostinel
