#include "engine/NoteMapStore.h"

#include <thread>

namespace ostinel {

TNoteMapStore::TNoteMapStore()
    : a_(std::make_unique<TOstinel>()), b_(std::make_unique<TOstinel>()), live_(a_.get()),
      spare_(b_.get()) {}

void TNoteMapStore::WaitUntilSpareIsFree() const noexcept {
    // The audio thread holds a map for at most one event list; yield until it lets go.
    while (hazard_.load(std::memory_order_seq_cst) == spare_)
        std::this_thread::yield();
}

void TNoteMapStore::BeginBulkUpdate() {
    if (bulkDepth_++ > 0)
        return;
    WaitUntilSpareIsFree();
    spare_->CopyFrom(*Live());
}

void TNoteMapStore::EndBulkUpdate() noexcept {
    if (bulkDepth_ == 0 || --bulkDepth_ > 0)
        return;
    TOstinel* old = live_.exchange(spare_, std::memory_order_seq_cst);
    spare_ = old;
}

const TOstinel* TNoteMapStore::AcquireForAudio() noexcept {
    const TOstinel* map = live_.load(std::memory_order_seq_cst);
    for (;;) {
        hazard_.store(map, std::memory_order_seq_cst);
        const TOstinel* again = live_.load(std::memory_order_seq_cst);
        if (again == map)
            return map;
        map = again;
    }
}

} // namespace ostinel
