#pragma once
// The process-wide random generator shared by every plug-in instance in the host process:
// s = s * 134775813 + 1 (mod 2^32).
//
// Threads: the audio threads of several instances and the GUI thread may draw at the same time.
// A draw is a relaxed atomic load and a relaxed atomic store, not a read-modify-write: it is
// free of data races, never waits, and costs what a plain variable costs. Two draws racing on
// different threads may read the same state and one advance may be lost; the interleaving of
// draws across threads was never deterministic anyway, while one instance drawing on one thread
// sees exactly the sequence of the formula.
#include <atomic>
#include <cstdint>

namespace ostinel {

namespace detail {
extern std::atomic<std::uint32_t> gRandomState;

[[nodiscard]] inline std::uint32_t AdvanceRandom() noexcept {
    const std::uint32_t next = gRandomState.load(std::memory_order_relaxed) * 134775813u + 1u;
    gRandomState.store(next, std::memory_order_relaxed);
    return next;
}
} // namespace detail

void RandomSeed(std::uint32_t seed) noexcept;
[[nodiscard]] std::uint32_t RandomState() noexcept;

// A draw with bound n (n >= 1): 0 .. n-1. A bound below 1 returns 0 without drawing.
[[nodiscard]] inline std::int32_t Random(std::int32_t n) noexcept {
    if (n < 1)
        return 0;
    const std::uint64_t s = detail::AdvanceRandom();
    return static_cast<std::int32_t>((s * static_cast<std::uint64_t>(n)) >> 32);
}

// A draw as a fraction in [0, 1).
[[nodiscard]] inline double RandomFraction() noexcept {
    return static_cast<double>(detail::AdvanceRandom()) / 4294967296.0;
}

} // namespace ostinel
