#pragma once
// The note map's section of the state stream: map header, then per channel its header and rows,
// per row its header and targets. Shared by the module's state and by tools that write states.
// GUI thread.
#include "engine/Ostin.h"
#include "state/StateStream.h"

namespace ostinel {

void WriteMapSection(TValueWriter& writer, const TOstinel& map);
void WriteChannelEntry(TValueWriter& writer, const TOstinelChannel& channel);
void WriteRowEntry(TValueWriter& writer, const TChannelOstinItem& row);

// Reads into the existing items by index. A channel, row or target beyond the map fails with
// "Argument out of range"; items the stream does not reach keep their values. The selected
// channel is kept to 0..15.
void ReadMapSection(TValueReader& reader, TOstinel& map);
// Reads a channel's row list (after its begin) into the channel.
void ReadRowList(TValueReader& reader, TOstinelChannel& channel);

// The note map as the module's section of a whole state stream, for code that holds a map
// rather than a module (tools).
class TMapStateSection final : public IModuleStateSection {
public:
    explicit TMapStateSection(TOstinel& map) : map_(map) {}
    void WriteSection(TValueWriter& writer) override { WriteMapSection(writer, map_); }
    void ReadSection(TValueReader& reader, const TStateHeader& /*header*/) override {
        ReadMapSection(reader, map_);
    }

private:
    TOstinel& map_;
};

} // namespace ostinel
