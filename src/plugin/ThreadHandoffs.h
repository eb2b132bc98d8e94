#pragma once
// Every hand-over between the GUI thread and the audio thread, named by direction. Each has one
// writing thread and one reading thread; none blocks or allocates after construction, so the
// audio side stays real-time safe. The module classes own them; nothing else crosses threads
// except the note map (TNoteMapStore) and plain atomics documented where they are kept.
#include "plugin/SpscQueue.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace ostinel {

// A short MIDI message from the GUI thread, to go out `delaySamples` processed samples after
// the audio thread takes it in (0: at the next flush).
struct TGuiEvent {
    std::uint8_t status = 0, data1 = 0, data2 = 0;
    std::int32_t delaySamples = 0;
};

// GUI -> audio: the note preview's messages.
class TGuiToAudioEvents {
public:
    // GUI thread: all of them or, when the FIFO cannot take them all, none (false).
    bool Push(const TGuiEvent* events, int count) noexcept {
        if (count <= 0 || !queue_.HasRoomFor(static_cast<std::size_t>(count)))
            return false;
        for (int i = 0; i < count; ++i)
            queue_.Push(events[i]);
        return true;
    }
    // Audio thread: f(event) for each waiting message, oldest first.
    template <typename F> void Drain(F&& f) noexcept {
        while (const TGuiEvent* e = queue_.Front()) {
            f(*e);
            queue_.Pop();
        }
    }

private:
    TSpscQueue<TGuiEvent, 512> queue_;
};

// Audio -> GUI: notes played on the shown channel, for the editor's highlights.
class TAudioToGuiPlayedNotes {
public:
    // Audio thread: false when the FIFO is full and the note was dropped.
    bool Push(int note, bool on) noexcept {
        return queue_.Push(static_cast<std::uint8_t>((note & 0x7F) | (on ? 0x80 : 0)));
    }
    // GUI thread: f(note, on) for each waiting note, oldest first.
    template <typename F> void Drain(F&& f) noexcept {
        while (const std::uint8_t* e = queue_.Front()) {
            f(*e & 0x7F, (*e & 0x80) != 0);
            queue_.Pop();
        }
    }

private:
    TSpscQueue<std::uint8_t, 1024> queue_; // note | 0x80 for a note-on
};

// Audio -> GUI: the note a learn captured; the latest one wins.
class TAudioToGuiLearnedNote {
public:
    static constexpr std::int32_t kNone = -1;

    void Publish(int note) noexcept { note_.store(note, std::memory_order_release); } // audio
    // GUI thread: the captured note, or kNone; empties the slot.
    [[nodiscard]] int Take() noexcept { return note_.exchange(kNone, std::memory_order_acq_rel); }
    [[nodiscard]] int Peek() const noexcept { return note_.load(std::memory_order_acquire); }
    void Clear() noexcept { note_.store(kNone, std::memory_order_release); }

private:
    std::atomic<std::int32_t> note_{kNone};
};

// Any thread -> GUI: asks for the editor-idle handler at the host's next idle call.
class TAnyToGuiIdleRequest {
public:
    void Raise() noexcept { pending_.store(true, std::memory_order_release); }
    [[nodiscard]] bool Pending() const noexcept { return pending_.load(std::memory_order_acquire); }
    // GUI thread: true once per request. Cleared before the handler runs, so a request raised
    // while it runs is not lost.
    [[nodiscard]] bool Take() noexcept {
        return pending_.exchange(false, std::memory_order_acq_rel);
    }

private:
    std::atomic<bool> pending_{false};
};

} // namespace ostinel
