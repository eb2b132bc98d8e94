#pragma once
// Fixed-width text columns for the tool's tables (byte widths: the texts are ASCII).
#include <cstddef>
#include <string>

namespace ostinel::cli {

// The text with blanks appended up to `width`; longer texts are kept whole.
[[nodiscard]] inline std::string Pad(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

// The text with blanks put in front up to `width`.
[[nodiscard]] inline std::string PadLeft(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

} // namespace ostinel::cli
