#include "engine/Random.h"

#include <atomic>

namespace ostinel {
namespace {

std::atomic<std::uint32_t> gState{0};

std::uint32_t Advance() noexcept {
    std::uint32_t s = gState.load(std::memory_order_relaxed);
    std::uint32_t next;
    do {
        next = s * 134775813u + 1u;
    } while (!gState.compare_exchange_weak(s, next, std::memory_order_relaxed));
    return next;
}

} // namespace

void RandomSeed(std::uint32_t seed) noexcept {
    gState.store(seed, std::memory_order_relaxed);
}

std::uint32_t RandomState() noexcept {
    return gState.load(std::memory_order_relaxed);
}

std::int32_t Random(std::int32_t n) noexcept {
    if (n < 1)
        return 0;
    const std::uint64_t s = Advance();
    return static_cast<std::int32_t>((s * static_cast<std::uint64_t>(n)) >> 32);
}

double RandomFraction() noexcept {
    return static_cast<double>(Advance()) / 4294967296.0;
}

} // namespace ostinel
