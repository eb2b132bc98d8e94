#pragma once
// Maps a whole MIDI file through the plug-in binary.
//
// Track layout: every track is played through its own plug-in instance and its output goes to
// the same track of the output file. An instance sees only its own track's notes, so each
// note-off releases exactly the notes its track's note-on started, however tracks overlap; the
// output keeps the input's format, division and track order. Tracks with nothing to play get no
// instance; what they hold is kept or dropped as for any track (CarryOver.h).
//
// Each instance is created, given the preset (effSetChunk) when there is one, seeded with the
// same seed, played from the start and closed, one track after the other, so a track's result
// does not depend on the other tracks. Without a preset the plug-in starts as it does in a DAW
// (the user's "init" preset if there is one, else its default map).
#include "mapping/CarryOver.h"
#include "mapping/MapSummary.h"
#include "mapping/TargetTable.h"
#include "midi/SmfModel.h"
#include "vsthost/Host.h"
#include "vsthost/PluginInstance.h"
#include "vsthost/PluginLibrary.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace ostinel::cli {

struct MapOptions {
    vsthost::HostSettings host;
    std::uint32_t seed = 1;
    std::optional<std::vector<std::uint8_t>> preset; // state bytes for effSetChunk
    std::size_t noteChanges = 0;                     // how many of the first note-ons to report
    CarryMode carry = CarryMode::Converter;
};

struct MapResult {
    smf::MidiFile file;
    MapSummary summary;
    std::vector<NoteChange> firstNotes; // by tick, then track
    bool seeded = true;                 // false: the binary ignored the seed request
};

class FileMapper {
public:
    // Checks the preset bytes first (throws ostinel::Error naming the problem).
    FileMapper(const vsthost::PluginLibrary& library, MapOptions options);

    // Throws ostinel::Error (vsthost::HostError when the plug-in cannot be driven).
    [[nodiscard]] MapResult Map(const smf::MidiFile& in);

private:
    [[nodiscard]] std::unique_ptr<vsthost::PluginInstance> NewInstance(bool& seeded);

    const vsthost::PluginLibrary& library_;
    MapOptions options_;
    vsthost::Host host_;                 // answers one instance at a time
    std::optional<TargetTable> targets_; // from the first instance's state
    bool presetIsBank_ = false;
};

} // namespace ostinel::cli
