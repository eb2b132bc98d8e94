#pragma once
// Preset file names and the safe write of a preset file. GUI thread only.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostinel {

// The file name (without extension) for a name the user typed: surrounding blanks trimmed,
// the nine characters of SanitizeFileName and control characters replaced by "_". A name
// that would still be no valid file name on Windows is made valid by adding "_": after a
// reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$, with or without
// an extension: "con.x" gives "con_.x"), and after a trailing dot or blank. Applied on every
// platform so that presets can move between systems. Empty stays empty.
[[nodiscard]] std::string MakePresetFileName(std::string_view typed);

// Writes `bytes` to `path` without ever leaving a half-written or missing file behind: the
// data go to a temporary file in the same folder, which then replaces `path` in one step
// (rename on POSIX, MoveFileExW with MOVEFILE_REPLACE_EXISTING on Windows). On failure the old
// file is untouched, the temporary file is removed, and ostinel::Error names `path` and the
// reason. The folder must exist.
void WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace ostinel
