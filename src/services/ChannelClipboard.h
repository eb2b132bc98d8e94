#pragma once
// Copy and paste of one channel of the note map through a TBinClipboard: the channel entry of
// the state stream after a "TPF0" signature. GUI thread only.
#include "engine/NoteMapStore.h"

namespace ostinel {

class TBinClipboard;

// Writes the channel (Active, range, all 128 rows) to the clipboard.
void CopyToClipboard(const TOstinelChannel& channel, TBinClipboard& clipboard);

// Reads the channel on the clipboard and, only when it decodes completely, publishes it into
// channel `channel` (0-based) of the map as one bulk update: the audio thread sees the old
// channel or the new one, and a block that decodes only partly leaves the channel as it was.
// Throws ostinel::Error with the message to show ("Empty clipboard", "Invalid data in
// Clipboard!", "Invalid stream format", "Argument out of range", ...).
void PasteFromClipboard(TNoteMapStore& maps, int channel, TBinClipboard& clipboard);

} // namespace ostinel
