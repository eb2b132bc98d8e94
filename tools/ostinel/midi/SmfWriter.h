#pragma once
// Writing Standard MIDI Files.
//
// Per track the writer orders events by tick with a stable sort (events at the same tick keep
// their order in Track::events; already sorted tracks are not copied), drops every
// end-of-track event and writes exactly one, FF 2F 00, last, at the latest tick of the track's
// events including the dropped end-of-track events (so a track's length survives).
// With running status on, a channel status byte is left out when it repeats the previous
// event's; meta and SysEx events cancel running status, as MIDI file readers expect.
#include "midi/SmfModel.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace ostinel::smf {

struct WriteOptions {
    bool runningStatus = true;
};

// Throws ostinel::Error for a model that cannot be written: format other than 0 or 1, no
// tracks, format 0 with more than one track, more than 65535 tracks, unusable division, an
// invalid event (status, data byte, data range outside the track's payload) or a gap between
// two events of more than 0x0FFFFFFF ticks.
[[nodiscard]] std::vector<uint8_t> Write(const MidiFile& file, const WriteOptions& options = {});

// Write() to a file. Throws ostinel::Error when the file cannot be written.
void WriteFile(const std::filesystem::path& path, const MidiFile& file,
               const WriteOptions& options = {});

} // namespace ostinel::smf
