#include "engine/NoteMapStore.h"

#include <thread>

namespace ostinel {

TNoteMapStore::TNoteMapStore()
    : fA(std::make_unique<TOstinel>()), fB(std::make_unique<TOstinel>()), fLive(fA.get()),
      fSpare(fB.get()) {}

void TNoteMapStore::WaitUntilSpareIsFree() const noexcept {
    // The audio thread holds a map for at most one event list; yield until it lets go.
    while (fHazard.load(std::memory_order_seq_cst) == fSpare)
        std::this_thread::yield();
}

void TNoteMapStore::BeginBulkUpdate() {
    if (fBulkDepth++ > 0)
        return;
    WaitUntilSpareIsFree();
    fSpare->CopyFrom(*Live());
}

void TNoteMapStore::EndBulkUpdate() noexcept {
    if (fBulkDepth == 0 || --fBulkDepth > 0)
        return;
    TOstinel* old = fLive.exchange(fSpare, std::memory_order_seq_cst);
    fSpare = old;
}

const TOstinel* TNoteMapStore::AcquireForAudio() noexcept {
    const TOstinel* map = fLive.load(std::memory_order_seq_cst);
    for (;;) {
        fHazard.store(map, std::memory_order_seq_cst);
        const TOstinel* again = fLive.load(std::memory_order_seq_cst);
        if (again == map)
            return map;
        map = again;
    }
}

} // namespace ostinel
