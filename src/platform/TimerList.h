#pragma once
// The repeating timers of a window that has no system timers (X11 and headless): a short list
// advanced from the window's event pump against a millisecond clock the window supplies (the
// monotonic clock on X11, a fake clock in headless tests). GUI thread only.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace ostinel::platform {

class TimerList {
public:
    struct Due {
        int id = 0;
        int intervalMs = 0;
        std::int64_t dueMs = 0;
    };

    // Intervals below 1 ms are raised to 1 ms so that a pump always makes progress.
    static constexpr int kMinIntervalMs = 1;

    // Starts (or restarts) timer `id`: it first fires intervalMs after nowMs.
    void Set(int id, int intervalMs, std::int64_t nowMs) {
        Kill(id);
        const int interval = std::max(intervalMs, kMinIntervalMs);
        timers_.push_back({id, interval, nowMs + interval, nextSequence_++});
    }

    void Kill(int id) {
        std::erase_if(timers_, [id](const Timer& t) { return t.id == id; });
    }

    [[nodiscard]] bool IsActive(int id) const { return Find(id) != nullptr; }
    [[nodiscard]] bool IsEmpty() const { return timers_.empty(); }

    // The timer due first at or before limitMs; among equal due times the one set first.
    [[nodiscard]] std::optional<Due> NextDue(std::int64_t limitMs) const {
        const Timer* best = nullptr;
        for (const Timer& t : timers_) {
            if (t.dueMs <= limitMs && (best == nullptr || t.dueMs < best->dueMs ||
                                       (t.dueMs == best->dueMs && t.sequence < best->sequence))) {
                best = &t;
            }
        }
        if (best == nullptr) {
            return std::nullopt;
        }
        return Due{best->id, best->interval, best->dueMs};
    }

    // Moves the next firing of a running timer; it then ranks after timers already due at
    // that time. Does nothing when the timer was killed meanwhile.
    void Rearm(int id, std::int64_t dueMs) {
        if (Timer* t = Find(id)) {
            t->dueMs = dueMs;
            t->sequence = nextSequence_++;
        }
    }

private:
    struct Timer {
        int id;
        int interval;
        std::int64_t dueMs;
        std::uint64_t sequence;
    };

    [[nodiscard]] const Timer* Find(int id) const {
        auto it = std::find_if(timers_.begin(), timers_.end(),
                               [id](const Timer& t) { return t.id == id; });
        return it == timers_.end() ? nullptr : &*it;
    }
    [[nodiscard]] Timer* Find(int id) { return const_cast<Timer*>(std::as_const(*this).Find(id)); }

    std::vector<Timer> timers_;
    std::uint64_t nextSequence_ = 0;
};

} // namespace ostinel::platform
