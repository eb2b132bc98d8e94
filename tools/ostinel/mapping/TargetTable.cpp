#include "mapping/TargetTable.h"

#include "common/QelCommon.h"

namespace ostinel::cli {

TargetTable::TargetTable(const TOstinel& map) {
    for (int c = 0; c < kMapChannels; ++c) {
        const TOstinelChannel& channel = map[c];
        for (int n = 0; n < kMapNotes; ++n) {
            Entry& entry = entries_[static_cast<std::size_t>(c * kMapNotes + n)];
            const auto add = [&entry](int ch, int note) {
                entry.keys[entry.count++] = {static_cast<std::uint8_t>(ch),
                                             static_cast<std::uint8_t>(note)};
            };
            if (!channel.Active()) {
                add(c, n);
                continue;
            }
            if (!channel.InRange(n))
                continue;
            for (int k = 0; k < TOstinTo::Count(); ++k) {
                const TOstinToItem& target = channel.Notes[n].Targets[k];
                const auto note = RoundSingle(target.Note());
                if (note < 0 || !(target.Probability() > 0.0f))
                    continue;
                add(static_cast<int>(RoundSingle(target.Channel())) - 1, static_cast<int>(note));
            }
        }
    }
}

std::span<const NoteKey> TargetTable::Candidates(int channel, int note) const {
    const Entry& entry =
        entries_[static_cast<std::size_t>((channel & 15) * kMapNotes + (note & 127))];
    return {entry.keys.data(), entry.count};
}

} // namespace ostinel::cli
