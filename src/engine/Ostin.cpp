#include "engine/Ostin.h"

#include "common/Error.h"

namespace ostinel {

namespace {
[[noreturn]] void ThrowOutOfRange() {
    throw Error(kArgumentOutOfRange);
}
} // namespace

void TOstinToItem::ResetToCreation() noexcept {
    StoreChannel(1);
    StoreNote(-1);
    probability_.Set(100);
    StoreRandom(0);
    StoreVelocityScale(0);
}

void TOstinToItem::ResetTo(std::int8_t channel, std::int8_t note) noexcept {
    channel_.Set(static_cast<float>(channel));
    channelRounded_.Set(channel);
    note_.Set(static_cast<float>(note));
    noteRounded_.Set(note);
    probability_.Set(100);
    random_.Set(0);
    randomRounded_.Set(0);
    velocityScale_.Set(0);
    velocityScaleRounded_.Set(0);
}

void TOstinToItem::CopyFrom(const TOstinToItem& other) noexcept {
    channel_.Set(other.Channel());
    note_.Set(other.Note());
    probability_.Set(other.Probability());
    random_.Set(other.Random());
    velocityScale_.Set(other.VelocityScale());
    channelRounded_.Set(static_cast<std::int8_t>(other.ChannelRounded()));
    noteRounded_.Set(static_cast<std::int8_t>(other.NoteRounded()));
    randomRounded_.Set(static_cast<std::uint8_t>(other.RandomRounded()));
    velocityScaleRounded_.Set(static_cast<std::int8_t>(other.VelocityScaleRounded()));
}

TOstinToItem& TOstinTo::GetItem(int index) {
    if (index < 0 || index >= Count())
        ThrowOutOfRange();
    return items_[static_cast<std::size_t>(index)];
}
const TOstinToItem& TOstinTo::GetItem(int index) const {
    return const_cast<TOstinTo*>(this)->GetItem(index);
}

TChannelOstinItem& TOstinList::GetItem(int note) {
    if (note < 0 || note >= Count())
        ThrowOutOfRange();
    return items_[static_cast<std::size_t>(note)];
}
const TChannelOstinItem& TOstinList::GetItem(int note) const {
    return const_cast<TOstinList*>(this)->GetItem(note);
}

TOstinelChannel& TOstinel::GetItem(int channel) {
    if (channel < 0 || channel >= Count())
        ThrowOutOfRange();
    return channels_[static_cast<std::size_t>(channel)];
}
const TOstinelChannel& TOstinel::GetItem(int channel) const {
    return const_cast<TOstinel*>(this)->GetItem(channel);
}

void TOstinel::Reset() noexcept {
    selectedChannel_.Set(0);
    for (int c = 0; c < kMapChannels; ++c) {
        TOstinelChannel& channel = channels_[static_cast<std::size_t>(c)];
        channel.SetActive(c == 0);
        channel.SetRangeFrom(0);
        channel.SetRangeTo(127);
        for (int n = 0; n < kMapNotes; ++n) {
            TChannelOstinItem& row = channel.Notes[n];
            row.SetSourceNote(n);
            for (int t = 0; t < kMapTargets; ++t)
                row.Targets[t].ResetTo(static_cast<std::int8_t>(c + 1),
                                       static_cast<std::int8_t>(t == 0 ? n : -1));
        }
    }
}

void TOstinel::CopyFrom(const TOstinel& other) noexcept {
    selectedChannel_.Set(other.SelectedChannel());
    for (int c = 0; c < kMapChannels; ++c) {
        TOstinelChannel& to = channels_[static_cast<std::size_t>(c)];
        const TOstinelChannel& from = other[c];
        to.SetActive(from.Active());
        to.StoreRangeUnclamped(from.RangeFrom(), from.RangeTo());
        for (int n = 0; n < kMapNotes; ++n) {
            to.Notes[n].SetSourceNote(from.Notes[n].SourceNote());
            for (int t = 0; t < kMapTargets; ++t)
                to.Notes[n].Targets[t].CopyFrom(from.Notes[n].Targets[t]);
        }
    }
}

bool TOstinelChannel::Equals(const TOstinelChannel& other) const noexcept {
    if (Active() != other.Active() || RangeFrom() != other.RangeFrom() ||
        RangeTo() != other.RangeTo())
        return false;
    for (int n = 0; n < kMapNotes; ++n) {
        if (Notes[n].SourceNote() != other.Notes[n].SourceNote())
            return false;
        for (int t = 0; t < kMapTargets; ++t) {
            const TOstinToItem& x = Notes[n].Targets[t];
            const TOstinToItem& y = other.Notes[n].Targets[t];
            if (x.Channel() != y.Channel() || x.Note() != y.Note() ||
                x.Probability() != y.Probability() || x.Random() != y.Random() ||
                x.VelocityScale() != y.VelocityScale())
                return false;
        }
    }
    return true;
}

bool TOstinel::Equals(const TOstinel& other) const noexcept {
    if (SelectedChannel() != other.SelectedChannel())
        return false;
    for (int c = 0; c < kMapChannels; ++c)
        if (!channels_[static_cast<std::size_t>(c)].Equals(other[c]))
            return false;
    return true;
}

} // namespace ostinel
