#pragma once
// The readable view of a state: header, CC assignments, one line per channel (active flag,
// range, number of changed rows) and, per channel, the rows whose values differ from the
// default map with their three targets. Note labels follow the lowest-octave setting.
#include "preset/PresetState.h"

#include <string>

namespace ostinel::cli {

[[nodiscard]] std::string PresetToText(const PresetState& state);

} // namespace ostinel::cli
