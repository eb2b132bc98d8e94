#pragma once
// The note map's section of the state stream: map header, then per channel its header and rows,
// per row its header and targets. Shared by the module's state and by tools that write states.
// GUI thread.
#include "engine/Ostin.h"

namespace ostinel {

class TValueReader;
class TValueWriter;

void WriteMapSection(TValueWriter& writer, const TOstinel& map);
void WriteChannelEntry(TValueWriter& writer, const TOstinelChannel& channel);
void WriteRowEntry(TValueWriter& writer, const TChannelOstinItem& row);

// Reads into the existing items by index. A channel, row or target beyond the map fails with
// "Argument out of range"; items the stream does not reach keep their values. The selected
// channel is kept to 0..15.
void ReadMapSection(TValueReader& reader, TOstinel& map);
// Reads a channel's row list (after its begin) into the channel.
void ReadRowList(TValueReader& reader, TOstinelChannel& channel);

} // namespace ostinel
