#pragma once
// Presets as JSON: what `dump --format json` writes and `build` reads. Writing then reading
// gives back the same state, value for value (floats are written in their shortest exact form).
//
// Document (fields marked * are required when building; the others default as shown):
//   { "container": "preset" | "bank"            (default "preset")
//     "version": text                           (default "1.00")
//     "name": text                              (default "")
//     "headerTexts": [text, text]               (default ["", ""])
//     "selectedChannel": 1..16                  (default 1)
//     "ccAssignments": [ {"parameter"*: text, "cc"*: 0..127}, ... ]   (default [])
//     "channels"*: [ {                          channels not listed keep their defaults
//         "channel"*: 1..16, "active"*: true | false,
//         "rangeFrom": 0..127 (default 0), "rangeTo": 0..127 (default 127),
//         "rows": [ {                           rows not listed keep their defaults
//             "note"*: 0..127, "sourceNote": integer (default: note), "label": ignored,
//             "targets"*: [ 1 to 3 of {         targets not listed play no note
//                 "note"*: -1..127 (-1: none), "channel": 1..16 (default: the row's channel),
//                 "probability": 0..100 (100), "velocityScale": -100..100 (0),
//                 "random": 0..200 (0), "label": ignored } ] } ] } ] }
// Unknown fields are errors, so that a misspelt field is never silently ignored.
#include "preset/PresetState.h"
#include "json/Json.h"

#include <string>
#include <string_view>

namespace ostinel::cli {

// A JSON document that is not a valid preset. The message names the place
// ("channels[1].rows[0].targets[2].probability: 150 is out of range 0 to 100 (line 9,
// column 31)").
class PresetJsonError : public Error {
public:
    using Error::Error;
};

// Labels follow the current lowest-octave setting (SetOctaveOffset).
[[nodiscard]] std::string PresetToJson(const PresetState& state);

// Throws json::JsonError for bad syntax, PresetJsonError for a bad document.
[[nodiscard]] PresetState PresetFromJson(std::string_view text);
[[nodiscard]] PresetState PresetFromJson(const json::Value& root);

} // namespace ostinel::cli
