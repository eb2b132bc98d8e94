#include "engine/Random.h"

namespace ostinel {

namespace detail {
std::atomic<std::uint32_t> gRandomState{0};
} // namespace detail

void RandomSeed(std::uint32_t seed) noexcept {
    detail::gRandomState.store(seed, std::memory_order_relaxed);
}

std::uint32_t RandomState() noexcept {
    return detail::gRandomState.load(std::memory_order_relaxed);
}

} // namespace ostinel
