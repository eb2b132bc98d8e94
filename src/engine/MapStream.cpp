#include "engine/MapStream.h"

#include "state/ValueReader.h"
#include "state/ValueWriter.h"

#include <algorithm>

namespace ostinel {

void WriteRowEntry(TValueWriter& w, const TChannelOstinItem& row) {
    // A row is some 185 bytes of small values: encoded in one batch.
    TValueBatch b(w);
    b.ListBegin();
    b.ListBegin();
    b.Integer(row.SourceNote());
    b.ListEnd();
    b.ListBegin();
    for (int k = 0; k < TOstinTo::Count(); ++k) {
        const TOstinToItem& t = row.Targets[k];
        b.ListBegin();
        b.ListBegin();
        // Stored order differs from the model's field order.
        b.Float32(t.Channel());
        b.Float32(t.Note());
        b.Float32(t.Probability());
        b.Float32(t.VelocityScale());
        b.Float32(t.Random());
        b.ListEnd();
        b.ListEnd();
    }
    b.ListEnd();
    b.ListEnd();
    b.Flush();
}

void WriteChannelEntry(TValueWriter& w, const TOstinelChannel& channel) {
    w.WriteListBegin();
    w.WriteListBegin();
    w.WriteBoolean(channel.Active());
    w.WriteFloat32(channel.RangeFrom());
    w.WriteFloat32(channel.RangeTo());
    w.WriteListEnd();
    w.WriteListBegin();
    for (int n = 0; n < TOstinList::Count(); ++n)
        WriteRowEntry(w, channel.Notes[n]);
    w.WriteListEnd();
    w.WriteListEnd();
}

void WriteMapSection(TValueWriter& w, const TOstinel& map) {
    w.WriteListBegin();
    w.WriteInteger(map.SelectedChannel());
    w.WriteListEnd();
    w.WriteListBegin();
    for (int c = 0; c < TOstinel::Count(); ++c)
        WriteChannelEntry(w, map[c]);
    w.WriteListEnd();
}

void ReadRowList(TValueReader& r, TOstinelChannel& channel) {
    for (int j = 0; !r.EndOfList(); ++j) {
        r.ReadListBegin();
        r.ReadListBegin();
        TChannelOstinItem& row = channel.Notes.GetItem(j);
        row.SetSourceNote(r.ReadInteger());
        r.ReadListEnd();
        r.ReadListBegin();
        for (int k = 0; !r.EndOfList(); ++k) {
            r.ReadListBegin();
            r.ReadListBegin();
            TOstinToItem& target = row.Targets.GetItem(k);
            target.SetChannel(r.ReadFloat32());
            target.SetNote(r.ReadFloat32());
            target.SetProbability(r.ReadFloat32());
            target.SetVelocityScale(r.ReadFloat32());
            target.SetRandom(r.ReadFloat32());
            r.ReadListEnd();
            r.ReadListEnd();
        }
        r.ReadListEnd();
        r.ReadListEnd();
    }
}

void ReadMapSection(TValueReader& r, TOstinel& map) {
    r.ReadListBegin();
    // An out-of-range selection would break the editor: keep it to a real channel.
    map.SetSelectedChannel(std::clamp(r.ReadInteger(), 0, kMapChannels - 1));
    r.ReadListEnd();
    r.ReadListBegin();
    for (int i = 0; !r.EndOfList(); ++i) {
        r.ReadListBegin();
        r.ReadListBegin();
        TOstinelChannel& channel = map.GetItem(i);
        channel.SetActive(r.ReadBoolean());
        channel.SetRangeFrom(r.ReadFloat32());
        channel.SetRangeTo(r.ReadFloat32());
        r.ReadListEnd();
        r.ReadListBegin();
        ReadRowList(r, channel);
        r.ReadListEnd();
        r.ReadListEnd();
    }
    r.ReadListEnd();
}

} // namespace ostinel
