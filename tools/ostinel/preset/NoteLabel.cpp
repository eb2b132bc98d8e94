#include "preset/NoteLabel.h"

#include "common/QelCommon.h"

namespace ostinel::cli {

std::string NoteLabel(int note) {
    if (note < 0)
        return {};
    std::string digits = FormatInt(note);
    std::string label = std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
    const std::string pitch = NoteName(note);
    const std::string octave = FormatInt(NoteOctave(note));
    label += " - " + pitch + octave;
    if (pitch.size() == 1)
        label += ' ';
    if (octave.size() == 1)
        label += ' ';
    return label;
}

std::string NoteLabelTrimmed(int note) {
    std::string label = NoteLabel(note);
    while (!label.empty() && label.back() == ' ')
        label.pop_back();
    return label;
}

} // namespace ostinel::cli
