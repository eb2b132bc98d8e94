#pragma once
// The maker's common unit: note names, number formatting and rounding, the field reader,
// file-name and file-system helpers. Texts are UTF-8.
//
// Threads: everything here is reentrant. The only state is the process-wide octave offset,
// written on the GUI thread and read wherever note names are built. RoundSingle, RoundDouble,
// NoteOctave and the octave offset are safe on the audio thread (no allocation, no throw);
// the file functions belong to the GUI thread.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostinel {

// ---- Note names ------------------------------------------------------------------------

// Pitch-class name of note mod 12 ("C", "C#", ... "B"; sharps only). A negative note (no
// note) gives an empty text.
[[nodiscard]] std::string NoteName(int note);

// note div 12 plus the octave offset.
[[nodiscard]] int NoteOctave(int note) noexcept;

// The octave offset shared by every instance in the process (the lowest-octave setting,
// 0, -1 or -2). 0 until someone sets it.
void SetOctaveOffset(std::int8_t offset) noexcept;
[[nodiscard]] std::int8_t OctaveOffset() noexcept;

// ---- Numbers ---------------------------------------------------------------------------

// "0" for zero; negatives get "-", positives "+" only with showPlus.
[[nodiscard]] std::string FormatInt(std::int32_t value, bool showPlus = false);
[[nodiscard]] std::string FormatInt64(std::int64_t value, bool showPlus = false);

// General format with 15 significant digits, trailing zeros and a trailing separator removed:
// 60.25 -> "60.25", 3 -> "3", 0.1f -> "0.100000001490116". Exponent notation ("1.5E20",
// "1E-6") only when more than 15 integer digits or below 0.00001. NaN and infinities give
// "NAN", "INF", "-INF". With showPlus a "+" precedes values greater than 0. The caller passes
// the locale's decimal separator (platform::DecimalSeparator() in the GUI); the result does not
// depend on the C locale.
[[nodiscard]] std::string FormatSingle(float value, bool showPlus, char decimalSeparator);

// Nearest integer, halves to the even neighbour, computed exactly whatever the FPU rounding
// mode. NaN gives 0; magnitudes beyond the int64 range saturate. Inline: the engine rounds
// several target values per note on the audio thread.
[[nodiscard]] inline std::int64_t RoundDouble(double value) noexcept {
    constexpr double kTwoPow63 = 9223372036854775808.0;
    if (value != value) // NaN
        return 0;
    if (value >= kTwoPow63)
        return INT64_MAX;
    if (value < -kTwoPow63)
        return INT64_MIN;

    // Truncation and the subtraction are exact here, so the tie test does not depend on the
    // rounding mode; no library call, since the engine rounds on the audio thread.
    std::int64_t whole = static_cast<std::int64_t>(value);
    const double fraction = value - static_cast<double>(whole);
    const double magnitude = fraction < 0 ? -fraction : fraction;
    if (magnitude > 0.5 || (magnitude == 0.5 && (whole & 1) != 0))
        whole += value < 0 ? -1 : 1;
    return whole;
}
[[nodiscard]] inline std::int64_t RoundSingle(float value) noexcept {
    // Every float below 2^23 in magnitude (all the note map's values) is rounded in single
    // precision: truncation and the subtraction are exact there too.
    if (value > -8388608.0f && value < 8388608.0f) {
        const auto whole = static_cast<std::int32_t>(value);
        const float fraction = value - static_cast<float>(whole);
        if (fraction == 0.0f) // whole numbers, the usual case
            return whole;
        if (fraction > 0.5f || (fraction == 0.5f && (whole & 1) != 0))
            return whole + 1;
        if (fraction < -0.5f || (fraction == -0.5f && (whole & 1) != 0))
            return whole - 1;
        return whole;
    }
    return RoundDouble(static_cast<double>(value));
}

// step * floor(value / step). A step of 0 gives the value itself.
[[nodiscard]] double FloorToMultiple(double value, double step) noexcept;

// Caption of the ten values around a value: "120 \u2013 127" (low, space, en dash, space,
// high), high = low + 9 but at most 127.
[[nodiscard]] std::string DecadeRangeText(int value);

// Minus the absolute value (never overflows: the most negative int stays as it is).
[[nodiscard]] constexpr int NegAbs(int value) noexcept {
    return value < 0 ? value : -value;
}
[[nodiscard]] constexpr double NegAbs(double value) noexcept {
    return value < 0 ? value : -value;
}

[[nodiscard]] constexpr int Choose(bool condition, int whenTrue, int whenFalse) noexcept {
    return condition ? whenTrue : whenFalse;
}
[[nodiscard]] std::string Choose(bool condition, std::string_view whenTrue,
                                 std::string_view whenFalse);

// ---- Text ------------------------------------------------------------------------------

// The 1-based field `fieldNumber` of `text`; a delimiter between double quotes does not split,
// one leading and one trailing quote are removed from the field. A missing field or a field
// number below 1 gives an empty text; with an empty delimiter the whole text is field 1.
[[nodiscard]] std::string GetDelimitedField(std::string_view text, int fieldNumber,
                                            std::string_view delimiter);

// Non-overlapping occurrences of `search` in `text`, from the left; 0 for an empty search.
[[nodiscard]] int CountOccurrences(std::string_view search, std::string_view text);

// Replaces \ / : * ? " < > | by "_"; nothing else changes.
[[nodiscard]] std::string SanitizeFileName(std::string_view name);

// File name after the last "\", "/" or ":" without its extension (from the last dot on).
[[nodiscard]] std::string ExtractNameWithoutExt(std::string_view path);

// ---- Files -----------------------------------------------------------------------------

// Whether the root of the path's drive ("D:\") answers a volume query, with the system's
// critical-error prompts suppressed. Without drive letters (POSIX) an absolute path's root
// is "/"; relative or drive-letter paths are not ready there.
[[nodiscard]] bool DriveReady(std::string_view path);

// Whether something that is not a folder exists at `path` (taken as it is), without the
// system's critical-error prompts.
[[nodiscard]] bool FileExists(const std::string& path);

// Strips one leading and one trailing double quote, then surrounding blanks; a path with a
// drive letter ("X:\...") is false unless DriveReady; otherwise whether a file (not a folder)
// exists there.
[[nodiscard]] bool FileExistsSafe(std::string_view path);

// Attribute bits for FindFilesByMasks' filter: with a bit set, such files are listed too.
// Hidden means a name starting with "." on POSIX; there are no system files there.
inline constexpr std::uint32_t kFileAttrHidden = 0x02;
inline constexpr std::uint32_t kFileAttrSystem = 0x04;

// `folderAndMasks` is a folder followed by masks separated by ";" ("/x/Presets/*.quorvatp").
// For each mask (blanks trimmed, "*" and "?" wildcards, ASCII case ignored) the names of the
// matching ordinary files are appended to `list`, then the list is sorted case-insensitively
// (when the mask added names). Folders are never listed. Returns, for the last mask, whether it
// listed at least one file and the search ended normally. A missing folder leaves the list as
// it was and gives false.
[[nodiscard]] bool FindFilesByMasks(std::string_view folderAndMasks, std::uint32_t attributeFilter,
                                    std::vector<std::string>& list);

// Case-insensitive order for names: the user's locale on Windows, ASCII case folding with
// byte order elsewhere. <0, 0, >0 like strcmp.
[[nodiscard]] int CompareTextNoCase(std::string_view a, std::string_view b);

// Whether `name` matches `mask` ("*" any run, "?" one character; ASCII case ignored;
// "*.*" matches every name).
[[nodiscard]] bool MatchesMask(std::string_view name, std::string_view mask);

} // namespace ostinel
