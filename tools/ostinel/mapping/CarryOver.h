#pragma once
// Which events of a file go through the plug-in and which the tool keeps or drops itself.
//
// The plug-in handles notes, control changes, pitch bend and pressure; it drops program
// changes and system messages, and a host never gives it meta events. As a file converter the
// tool keeps everything the plug-in does not handle in its track at its tick. Like a DAW
// (`--like-daw`) the output holds exactly what the plug-in returns: program changes are
// played to it (and vanish there) and SysEx is dropped. Meta events are the file's own
// structure (tempo, names, markers) and are kept either way.
#include "mapping/MapSummary.h"
#include "midi/SmfModel.h"

#include <cstdint>

namespace ostinel::cli {

enum class CarryMode : std::uint8_t { Converter, LikeDaw };

enum class Carry : std::uint8_t {
    Play, // goes to the plug-in
    Keep, // copied to the output unchanged
    Drop, // left out
};

[[nodiscard]] Carry CarryOf(const smf::Event& event, CarryMode mode);

// Counts a kept or dropped event by kind in `summary`; played program changes count as
// dropped (the plug-in returns nothing for them). The end of track is not counted.
void CountCarry(const smf::Event& event, Carry carry, MapSummary& summary);

} // namespace ostinel::cli
