#pragma once
// Note labels as the editor shows them: "060 - C3  " (three digits, " - ", pitch name and
// octave, padded to 10 characters), with octave numbers from the process-wide lowest-octave
// setting (SetOctaveOffset).
#include <string>

namespace ostinel::cli {

// The padded label; empty for a negative note.
[[nodiscard]] std::string NoteLabel(int note);
// The label without its padding ("060 - C3").
[[nodiscard]] std::string NoteLabelTrimmed(int note);

} // namespace ostinel::cli
