#pragma once
// The note map: 16 input channels x 128 input notes x 3 targets. Its shape is fixed for the
// life of the module, so nothing here ever allocates after construction.
//
// Threads: the GUI thread writes single fields through the clamping setters; each write is a
// relaxed atomic store (a plain move on x86) of the value and, for the target fields the mapping
// rounds, a second one of its rounding, so the audio thread reading the same map sees the old or
// the new value of a field (it reads only the roundings of those fields). Bulk rewrites (reset,
// state loads) never happen in a map the audio thread is reading; see TNoteMapStore.
#include "common/QelCommon.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace ostinel {

inline constexpr int kMapChannels = 16;
inline constexpr int kMapNotes = 128;
inline constexpr int kMapTargets = 3;

// A relaxed atomic value: readable on the audio thread while the GUI thread writes it.
template <typename T> class TRelaxed {
public:
    TRelaxed() noexcept = default;
    explicit TRelaxed(T v) noexcept : value_(v) {}
    TRelaxed(const TRelaxed&) = delete;
    TRelaxed& operator=(const TRelaxed&) = delete;
    [[nodiscard]] T Get() const noexcept { return value_.load(std::memory_order_relaxed); }
    void Set(T v) noexcept { value_.store(v, std::memory_order_relaxed); }

private:
    std::atomic<T> value_{};
};

// Values below the lower bound (NaN included) become the lower bound, above the upper bound
// the upper bound.
[[nodiscard]] constexpr float ClampSingle(float v, float lo, float hi) noexcept {
    if (!(v >= lo))
        return lo;
    return v > hi ? hi : v;
}

class TOstinToItem {
public:
    static constexpr float kChannelMin = 1, kChannelMax = 16;
    static constexpr float kNoteMin = -1, kNoteMax = 127;
    static constexpr float kProbabilityMin = 0, kProbabilityMax = 100;
    static constexpr float kRandomMin = 0, kRandomMax = 200;
    static constexpr float kVelocityScaleMin = -100, kVelocityScaleMax = 100;

    [[nodiscard]] float Channel() const noexcept { return channel_.Get(); }
    [[nodiscard]] float Note() const noexcept { return note_.Get(); }
    [[nodiscard]] float Probability() const noexcept { return probability_.Get(); }
    [[nodiscard]] float Random() const noexcept { return random_.Get(); }
    [[nodiscard]] float VelocityScale() const noexcept { return velocityScale_.Get(); }

    // The values rounded (RoundSingle), for the mapping on the audio thread: 1..16, -1..127,
    // 0..200 and -100..100. Each setter stores the value, then its rounding; like the values
    // themselves they are written on one thread at a time (see the file comment).
    [[nodiscard]] int ChannelRounded() const noexcept { return channelRounded_.Get(); }
    [[nodiscard]] int NoteRounded() const noexcept { return noteRounded_.Get(); }
    [[nodiscard]] int RandomRounded() const noexcept { return randomRounded_.Get(); }
    [[nodiscard]] int VelocityScaleRounded() const noexcept { return velocityScaleRounded_.Get(); }

    void SetChannel(float v) noexcept { StoreChannel(ClampSingle(v, kChannelMin, kChannelMax)); }
    void SetNote(float v) noexcept { StoreNote(ClampSingle(v, kNoteMin, kNoteMax)); }
    void SetProbability(float v) noexcept {
        probability_.Set(ClampSingle(v, kProbabilityMin, kProbabilityMax));
    }
    void SetRandom(float v) noexcept { StoreRandom(ClampSingle(v, kRandomMin, kRandomMax)); }
    void SetVelocityScale(float v) noexcept {
        StoreVelocityScale(ClampSingle(v, kVelocityScaleMin, kVelocityScaleMax));
    }

    void ResetToCreation() noexcept;
    // ResetToCreation, then SetChannel(channel) and SetNote(note), for whole numbers in range:
    // the default map's targets, without rounding anything.
    void ResetTo(std::int8_t channel, std::int8_t note) noexcept;
    void CopyFrom(const TOstinToItem& other) noexcept;

private:
    // Clamped values only: their roundings fit the small types.
    void StoreChannel(float v) noexcept {
        channel_.Set(v);
        channelRounded_.Set(static_cast<std::int8_t>(RoundSingle(v)));
    }
    void StoreNote(float v) noexcept {
        note_.Set(v);
        noteRounded_.Set(static_cast<std::int8_t>(RoundSingle(v)));
    }
    void StoreRandom(float v) noexcept {
        random_.Set(v);
        randomRounded_.Set(static_cast<std::uint8_t>(RoundSingle(v)));
    }
    void StoreVelocityScale(float v) noexcept {
        velocityScale_.Set(v);
        velocityScaleRounded_.Set(static_cast<std::int8_t>(RoundSingle(v)));
    }

    TRelaxed<float> channel_{1};
    TRelaxed<float> note_{-1};
    TRelaxed<float> probability_{100};
    TRelaxed<float> random_{0};
    TRelaxed<float> velocityScale_{0};
    TRelaxed<std::int8_t> channelRounded_{1};
    TRelaxed<std::int8_t> noteRounded_{-1};
    TRelaxed<std::uint8_t> randomRounded_{0};
    TRelaxed<std::int8_t> velocityScaleRounded_{0};
};

// The targets of one input note, played in index order.
class TOstinTo {
public:
    [[nodiscard]] static constexpr int Count() noexcept { return kMapTargets; }
    [[nodiscard]] TOstinToItem& GetItem(int index); // throws "Argument out of range"
    [[nodiscard]] const TOstinToItem& GetItem(int index) const;
    [[nodiscard]] TOstinToItem& operator[](int index) noexcept { return items_[index]; }
    [[nodiscard]] const TOstinToItem& operator[](int index) const noexcept { return items_[index]; }

private:
    std::array<TOstinToItem, kMapTargets> items_;
};

// One input note: a row of the editor grid.
class TChannelOstinItem {
public:
    TOstinTo Targets;
    [[nodiscard]] std::int32_t SourceNote() const noexcept { return sourceNote_.Get(); }
    void SetSourceNote(std::int32_t v) noexcept { sourceNote_.Set(v); }

private:
    TRelaxed<std::int32_t> sourceNote_{0};
};

class TOstinList {
public:
    [[nodiscard]] static constexpr int Count() noexcept { return kMapNotes; }
    [[nodiscard]] TChannelOstinItem& GetItem(int note);
    [[nodiscard]] const TChannelOstinItem& GetItem(int note) const;
    [[nodiscard]] TChannelOstinItem& operator[](int note) noexcept { return items_[note]; }
    [[nodiscard]] const TChannelOstinItem& operator[](int note) const noexcept {
        return items_[note];
    }

private:
    std::array<TChannelOstinItem, kMapNotes> items_;
};

class TOstinelChannel {
public:
    TOstinList Notes;

    [[nodiscard]] bool Active() const noexcept { return active_.Get(); }
    void SetActive(bool v) noexcept { active_.Set(v); }
    [[nodiscard]] float RangeFrom() const noexcept { return rangeFrom_.Get(); }
    [[nodiscard]] float RangeTo() const noexcept { return rangeTo_.Get(); }
    void SetRangeFrom(float v) noexcept { rangeFrom_.Set(ClampSingle(v, 0, 127)); }
    void SetRangeTo(float v) noexcept { rangeTo_.Set(ClampSingle(v, 0, 127)); }
    // The channel paste stores the range as read, without clamping.
    void StoreRangeUnclamped(float from, float to) noexcept {
        rangeFrom_.Set(from);
        rangeTo_.Set(to);
    }
    // Range test of the mapping: both bounds inclusive, compared as floats.
    [[nodiscard]] bool InRange(int note) const noexcept {
        const float n = static_cast<float>(note);
        return !(n < RangeFrom()) && !(n > RangeTo());
    }

    // Every value as stored (ranges and floats compared exactly).
    [[nodiscard]] bool Equals(const TOstinelChannel& other) const noexcept;

private:
    TRelaxed<bool> active_{true};
    TRelaxed<float> rangeFrom_{0};
    TRelaxed<float> rangeTo_{127};
};

// The whole map, owned by the module as `Mapping`.
class TOstinel {
public:
    TOstinel() noexcept { Reset(); }
    TOstinel(const TOstinel&) = delete;
    TOstinel& operator=(const TOstinel&) = delete;

    [[nodiscard]] static constexpr int Count() noexcept { return kMapChannels; }
    [[nodiscard]] TOstinelChannel& GetItem(int channel); // throws "Argument out of range"
    [[nodiscard]] const TOstinelChannel& GetItem(int channel) const;
    [[nodiscard]] TOstinelChannel& operator[](int channel) noexcept { return channels_[channel]; }
    [[nodiscard]] const TOstinelChannel& operator[](int channel) const noexcept {
        return channels_[channel];
    }

    [[nodiscard]] std::int32_t SelectedChannel() const noexcept { return selectedChannel_.Get(); }
    void SetSelectedChannel(std::int32_t v) noexcept { selectedChannel_.Set(v); }

    // The default map: channel 1 active, every note onto itself on its own channel.
    void Reset() noexcept;
    void CopyFrom(const TOstinel& other) noexcept;
    [[nodiscard]] bool Equals(const TOstinel& other) const noexcept;

private:
    std::array<TOstinelChannel, kMapChannels> channels_;
    TRelaxed<std::int32_t> selectedChannel_{0};
};

} // namespace ostinel
