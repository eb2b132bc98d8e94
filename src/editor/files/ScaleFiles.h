#pragma once
// The two user files of the map editor, "Scales.txt" (name;degrees) and "Input.txt"
// (name;first,last;silenced), their built-in default texts, and the column operations they
// drive: laying a scale over one target of every source note, and fitting a channel to a drum
// template. No GUI here: the map editor builds its menus and asks its questions around these.
// GUI thread only.
#include "engine/Ostin.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostinel {

inline constexpr const char* kScalesFileName = "Scales.txt";
inline constexpr const char* kInputFileName = "Input.txt";

// The built-in texts (CR LF after every line).
[[nodiscard]] std::string_view DefaultScalesText();
[[nodiscard]] std::string_view DefaultInputText();

// The lines of folder + fileName, sorted case-insensitively. When the file is missing, the
// default text is written there first (the folder and its parents are created); when that
// fails, the default text's lines are used without a file. Never throws for a missing or
// unreadable file. The text is decoded by its byte-order mark (UTF-8, UTF-16 LE/BE), else as
// the system's 8-bit code page (Windows-1252 elsewhere); lines end at CR LF, LF or CR.
[[nodiscard]] std::vector<std::string>
ReadUserList(const std::string& folder, const std::string& fileName, std::string_view defaultText);
// Whether a line gets a menu entry: not empty once blanks and control characters are trimmed.
[[nodiscard]] bool IsListEntry(const std::string& line);
// The sorted lines of a file's bytes (the decoding and sorting of ReadUserList).
[[nodiscard]] std::vector<std::string> ParseUserList(std::span<const std::uint8_t> bytes);
// The menu caption of a line: the first field of the line trimmed of blanks and control
// characters; empty for a blank line (which gets no menu entry).
[[nodiscard]] std::string ListEntryCaption(const std::string& line);

// The degrees of a scale line: values of the second field in 0..11, sorted, duplicates kept,
// with a 0 in front when the smallest is above 0. Empty when the line has no valid degree.
[[nodiscard]] std::vector<int> ScaleDegrees(const std::string& line);
// Lays the scale over target `targetIndex` of every source note of the channel, anchored at
// `sourceNote` with base note `baseNote`. False (and nothing changed) for no degrees.
bool LoadScale(TOstinelChannel& channel, int sourceNote, int targetIndex, int baseNote,
               const std::vector<int>& degrees);

// First and Last as read (missing or invalid: 0 and 127); the editor clamps them through its
// range inputs.
struct TInputTemplate {
    int First = 0;
    int Last = 127;
    std::vector<int> Silenced; // notes in 0..127 only
};
[[nodiscard]] TInputTemplate ParseInputTemplate(const std::string& line);
// Target 1 of every source note from..to maps to the note itself, targets 2 and 3 empty.
void MapNotesToThemselves(TOstinelChannel& channel, int from, int to);
// All three targets of each silenced note get no note.
void SilenceNotes(TOstinelChannel& channel, const std::vector<int>& notes);

} // namespace ostinel
