#pragma once
// Two note maps and the protocol that lets the GUI thread rebuild the map while the audio thread
// maps notes, without either ever seeing a half-built map and without the audio thread waiting.
//
// The GUI thread owns all writes. Single-field edits go straight into the live map. A bulk
// rewrite (reset, state load) is built in the spare map and published with one pointer store;
// the old live map becomes the spare. Before the GUI thread writes into the spare it waits until
// the audio thread no longer holds it (a hazard pointer the audio thread sets for the length of
// one event list). Only the GUI thread ever waits, and only for the rest of one event list.
#include "engine/Ostin.h"

#include <atomic>
#include <memory>

namespace ostinel {

class TNoteMapStore {
public:
    TNoteMapStore();
    TNoteMapStore(const TNoteMapStore&) = delete;
    TNoteMapStore& operator=(const TNoteMapStore&) = delete;

    // GUI thread: the map to read and edit. During a bulk update this is the map being built.
    [[nodiscard]] TOstinel& Edit() noexcept { return bulkDepth_ > 0 ? *spare_ : *Live(); }
    [[nodiscard]] const TOstinel& Read() const noexcept {
        return bulkDepth_ > 0 ? *spare_ : *Live();
    }

    // GUI thread: start or end a bulk rewrite. Nested calls join the outermost one; the
    // outermost begin copies the live map into the spare, the outermost end publishes it.
    void BeginBulkUpdate();
    void EndBulkUpdate() noexcept;
    [[nodiscard]] bool InBulkUpdate() const noexcept { return bulkDepth_ > 0; }

    // Audio thread: pin the live map for one event list. Lock-free; never allocates.
    [[nodiscard]] const TOstinel* AcquireForAudio() noexcept;
    void ReleaseFromAudio() noexcept { hazard_.store(nullptr, std::memory_order_release); }

    class AudioGuard {
    public:
        explicit AudioGuard(TNoteMapStore& store) noexcept
            : store_(store), map_(store.AcquireForAudio()) {}
        ~AudioGuard() { store_.ReleaseFromAudio(); }
        AudioGuard(const AudioGuard&) = delete;
        AudioGuard& operator=(const AudioGuard&) = delete;
        [[nodiscard]] const TOstinel& Map() const noexcept { return *map_; }

    private:
        TNoteMapStore& store_;
        const TOstinel* map_;
    };

private:
    [[nodiscard]] TOstinel* Live() const noexcept { return live_.load(std::memory_order_seq_cst); }
    void WaitUntilSpareIsFree() const noexcept;

    std::unique_ptr<TOstinel> a_;
    std::unique_ptr<TOstinel> b_;
    std::atomic<TOstinel*> live_;
    std::atomic<const TOstinel*> hazard_{nullptr};
    TOstinel* spare_;   // GUI thread only
    int bulkDepth_ = 0; // GUI thread only
};

// RAII bulk update on the GUI thread; publishes even when the rewrite fails half-way, so a load
// error leaves what was read before it, as the load rules say.
class TBulkMapUpdate {
public:
    explicit TBulkMapUpdate(TNoteMapStore& store) : store_(store) { store_.BeginBulkUpdate(); }
    ~TBulkMapUpdate() { store_.EndBulkUpdate(); }
    TBulkMapUpdate(const TBulkMapUpdate&) = delete;
    TBulkMapUpdate& operator=(const TBulkMapUpdate&) = delete;

private:
    TNoteMapStore& store_;
};

} // namespace ostinel
