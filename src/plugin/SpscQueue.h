#pragma once
// A fixed-capacity single-producer/single-consumer FIFO. One thread pushes, one other thread
// pops; neither ever blocks or allocates after construction.
#include <array>
#include <atomic>
#include <cstddef>

namespace ostinel {

template <typename T, std::size_t Capacity> class TSpscQueue {
    static_assert((Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");

public:
    // Producer: room for n more items?
    [[nodiscard]] bool HasRoomFor(std::size_t n) const noexcept {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        const std::size_t tail = tail_.load(std::memory_order_acquire);
        return Capacity - (head - tail) >= n;
    }
    // Producer: false when full.
    bool Push(const T& item) noexcept {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head - tail_.load(std::memory_order_acquire) >= Capacity)
            return false;
        items_[head & (Capacity - 1)] = item;
        head_.store(head + 1, std::memory_order_release);
        return true;
    }
    // Consumer: the oldest item, or nullptr when empty. Valid until Pop().
    [[nodiscard]] const T* Front() const noexcept {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail == head_.load(std::memory_order_acquire))
            return nullptr;
        return &items_[tail & (Capacity - 1)];
    }
    void Pop() noexcept {
        tail_.store(tail_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }

private:
    std::array<T, Capacity> items_{};
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
};

} // namespace ostinel
