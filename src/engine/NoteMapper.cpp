#include "engine/NoteMapper.h"

#include "common/QelCommon.h"
#include "engine/Random.h"

#include <algorithm>

namespace ostinel {

namespace {
constexpr std::uint8_t B(int v) noexcept {
    return static_cast<std::uint8_t>(v);
}
} // namespace

int ComputeVelocity(int velocity, const TOstinToItem& target) noexcept {
    auto s = static_cast<int>(RoundSingle(target.VelocityScale()));
    if (target.Random() > 0) {
        auto c = static_cast<int>(RoundSingle(target.Random()));
        if (s + c > 200)
            c = 200 - s;
        s += Random(c + 1);
    }
    int result = velocity;
    const double v = velocity;
    if (s < 0)
        result = velocity - static_cast<int>(RoundDouble(v * (-s / 100.0)));
    else if (s > 0)
        result = velocity + static_cast<int>(RoundDouble((127.0 - v) * (s / 100.0)));
    return std::clamp(result, 0, 127);
}

bool TNoteMapper::NoteOn(const TOstinelChannel& channel, int ch, int n, int v,
                         std::int32_t deltaFrames, IMidiSink& out) noexcept {
    if (!channel.InRange(n))
        return false;
    const TOstinTo& targets = channel.Notes[n].Targets;
    for (int k = 0; k < TOstinTo::Count(); ++k) {
        const TOstinToItem& target = targets[k];
        const auto note = static_cast<int>(RoundSingle(target.Note()));
        if (note < 0)
            continue;
        if (Random(100) >= target.Probability())
            continue;
        const int outChannel = static_cast<int>(RoundSingle(target.Channel())) - 1;
        const int velocity = ComputeVelocity(v, target);
        Record({ch, n, outChannel, note, velocity}, deltaFrames, out);
    }
    return true;
}

void TNoteMapper::Record(const TMidiNoteItem& item, std::int32_t deltaFrames,
                         IMidiSink& out) noexcept {
    if (fSounding.Full()) {
        // Never leave a note hanging: release the oldest entry to make room.
        const TMidiNoteItem& oldest = *fSounding.Oldest();
        out.SendNoteOff(B(oldest.OutChannel), B(oldest.OutNote), B(oldest.Velocity), deltaFrames);
        fSounding.RemoveOldest();
    }
    fSounding.AddNote(item);
    out.SendNoteOn(B(item.OutChannel), B(item.OutNote), B(item.Velocity), deltaFrames);
}

void TNoteMapper::NoteOff(int ch, int n, int v, std::int32_t deltaFrames, IMidiSink& out) noexcept {
    const int released = fSounding.ReleaseSource(ch, n, [&](const TMidiNoteItem& item) {
        out.SendNoteOff(B(item.OutChannel), B(item.OutNote), B(item.Velocity), deltaFrames);
    });
    if (released == 0)
        out.SendNoteOff(B(ch), B(n), B(v), deltaFrames);
}

void TNoteMapper::ReleaseAll(IMidiSink& out) noexcept {
    fSounding.ForEach([&](const TMidiNoteItem& item) {
        out.SendNoteOff(B(item.OutChannel), B(item.OutNote), B(item.Velocity), 0);
    });
    fSounding.Clear();
}

} // namespace ostinel
