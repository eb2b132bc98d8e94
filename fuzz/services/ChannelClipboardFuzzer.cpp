// libFuzzer target for the channel clipboard: the input is the block another process left on
// the clipboard under "OstinelChannel". Besides not crashing, it checks that the block reader
// never hands out more than the block holds, that a failed paste leaves the map as it was,
// that a paste touches no other channel, and that a pasted channel copies and pastes again
// unchanged.
#include "common/Error.h"
#include "engine/MapStream.h"
#include "platform/headless/HeadlessClipboard.h"
#include "services/BinClipboard.h"
#include "services/ChannelClipboard.h"
#include "state/MemoryStream.h"
#include "state/ValueWriter.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace ostinel;

constexpr int kPasteChannel = 5;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The channel's stream bytes: equal bytes, equal channel (bit for bit).
[[nodiscard]] std::vector<std::uint8_t> ChannelBytes(const TOstinelChannel& channel) {
    TMemoryStream stream;
    TValueWriter writer(stream);
    WriteChannelEntry(writer, channel);
    return {stream.Bytes().begin(), stream.Bytes().end()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::HeadlessClipboard system;
    system.SetData(kChannelClipboardFormat, std::vector<std::uint8_t>(data, data + size));
    TBinClipboard clipboard(system, kChannelClipboardFormat);

    try {
        TMemoryStream stream;
        Check(clipboard.ReadStream(stream));
        Check(size >= 4 && stream.Size() <= size - 4 && stream.Position() == 0);
    } catch (const EBinClipboardError&) {
    }

    TNoteMapStore maps;
    auto before = std::make_unique<TOstinel>();
    before->CopyFrom(maps.Read());
    try {
        PasteFromClipboard(maps, kPasteChannel, clipboard);
    } catch (const Error&) {
        Check(maps.Read().Equals(*before));
        return 0;
    }
    Check(!maps.InBulkUpdate());
    for (int c = 0; c < kMapChannels; ++c) {
        if (c != kPasteChannel) {
            Check(ChannelBytes(maps.Read()[c]) == ChannelBytes((*before)[c]));
        }
    }

    const TOstinelChannel& pasted = maps.Read()[kPasteChannel];
    // The range is stored as read, NaN included; NaN payloads need not survive a round trip.
    if (std::isnan(pasted.RangeFrom()) || std::isnan(pasted.RangeTo())) {
        return 0;
    }
    CopyToClipboard(pasted, clipboard);
    TNoteMapStore again;
    PasteFromClipboard(again, kPasteChannel, clipboard);
    Check(ChannelBytes(again.Read()[kPasteChannel]) == ChannelBytes(pasted));
    return 0;
}
