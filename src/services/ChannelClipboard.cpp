#include "services/ChannelClipboard.h"

#include "common/Error.h"
#include "engine/MapStream.h"
#include "services/BinClipboard.h"
#include "state/MemoryStream.h"
#include "state/ValueReader.h"
#include "state/ValueWriter.h"

#include <memory>

namespace ostinel {

namespace {

constexpr const char* kEmptyClipboard = "Empty clipboard";

// Reads the channel stream into `channel`, value by value, as the paste rules say: Active as
// read, the range as read without clamping, the rows through the clamping setters.
void ReadChannelStream(TValueReader& r, TOstinelChannel& channel) {
    r.ReadSignature();
    r.ReadListBegin();
    r.ReadListBegin();
    channel.SetActive(r.ReadBoolean());
    const float from = r.ReadFloat32();
    const float to = r.ReadFloat32();
    channel.StoreRangeUnclamped(from, to);
    r.ReadListEnd();
    r.ReadListBegin();
    ReadRowList(r, channel);
    r.ReadListEnd();
    r.ReadListEnd();
}

void CopyChannel(const TOstinelChannel& from, TOstinelChannel& to) noexcept {
    to.SetActive(from.Active());
    to.StoreRangeUnclamped(from.RangeFrom(), from.RangeTo());
    for (int n = 0; n < TOstinList::Count(); ++n) {
        to.Notes[n].SetSourceNote(from.Notes[n].SourceNote());
        for (int t = 0; t < TOstinTo::Count(); ++t)
            to.Notes[n].Targets[t].CopyFrom(from.Notes[n].Targets[t]);
    }
}

} // namespace

void CopyToClipboard(const TOstinelChannel& channel, TBinClipboard& clipboard) {
    TMemoryStream stream;
    TValueWriter writer(stream);
    writer.WriteSignature();
    WriteChannelEntry(writer, channel);
    clipboard.WriteStream(stream);
}

void PasteFromClipboard(TNoteMapStore& maps, int channel, TBinClipboard& clipboard) {
    TOstinelChannel& target = maps.Edit().GetItem(channel);
    TMemoryStream stream;
    if (!clipboard.ReadStream(stream))
        throw Error(kEmptyClipboard);

    // Decode into a scratch copy of the channel first (rows the stream does not reach keep
    // their values, as in an in-place paste); only a complete decode reaches the map.
    auto scratch = std::make_unique<TOstinelChannel>();
    CopyChannel(target, *scratch);
    TValueReader reader(stream.Bytes());
    ReadChannelStream(reader, *scratch);

    // One bulk update: the audio thread sees the old channel or the new one, never a mix.
    TBulkMapUpdate update(maps);
    CopyChannel(*scratch, maps.Edit()[channel]);
}

} // namespace ostinel
