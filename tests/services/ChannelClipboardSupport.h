#pragma once
// Shared by the channel clipboard tests: a channel whose every value differs from the default
// map, and the channel stream built by hand (for streams the copy never produces).
#include "engine/MapStream.h"
#include "engine/Ostin.h"
#include "state/MemoryStream.h"
#include "state/ValueWriter.h"

#include <array>
#include <cstdint>

namespace ostinel::test {

// Values that no default channel has, different per row and target.
inline void FillDistinctChannel(TOstinelChannel& channel) {
    channel.SetActive(false);
    channel.SetRangeFrom(12);
    channel.SetRangeTo(99);
    for (int n = 0; n < kMapNotes; ++n) {
        TChannelOstinItem& row = channel.Notes[n];
        row.SetSourceNote(127 - n);
        for (int t = 0; t < kMapTargets; ++t) {
            TOstinToItem& target = row.Targets[t];
            target.SetChannel(static_cast<float>(1 + (n + t) % 16));
            target.SetNote(static_cast<float>((n * 3 + t) % 128));
            target.SetProbability(static_cast<float>((n + 7 * t) % 101));
            target.SetVelocityScale(static_cast<float>(n % 50) - 25.5f);
            target.SetRandom(static_cast<float>(t * 60 + n % 20));
        }
    }
}

// The five values of a target in stream order (Channel, Note, Probability, VelocityScale,
// Random), written as they are, unclamped.
using RawTarget = std::array<double, 5>;

// "TPF0" and a channel entry of `rows` rows, each with source note `sourceNote` and three
// targets of `target`, and the header values as given.
[[nodiscard]] inline TMemoryStream ChannelStream(bool active, double from, double to, int rows,
                                                 std::int32_t sourceNote, const RawTarget& target) {
    TMemoryStream stream;
    TValueWriter w(stream);
    w.WriteSignature();
    w.WriteListBegin();
    w.WriteListBegin();
    w.WriteBoolean(active);
    w.WriteFloat(from);
    w.WriteFloat(to);
    w.WriteListEnd();
    w.WriteListBegin();
    for (int j = 0; j < rows; ++j) {
        w.WriteListBegin();
        w.WriteListBegin();
        w.WriteInteger(sourceNote);
        w.WriteListEnd();
        w.WriteListBegin();
        for (int k = 0; k < kMapTargets; ++k) {
            w.WriteListBegin();
            w.WriteListBegin();
            for (const double value : target)
                w.WriteFloat(value);
            w.WriteListEnd();
            w.WriteListEnd();
        }
        w.WriteListEnd();
        w.WriteListEnd();
    }
    w.WriteListEnd();
    w.WriteListEnd();
    return stream;
}

} // namespace ostinel::test
