#pragma once
// Safe UTF-8 decoding for text drawing. Every ill-formed sequence (stray continuation bytes,
// truncated sequences, overlong forms, surrogates, values above U+10FFFF) yields U+FFFD for
// each maximal invalid prefix, and decoding always moves forward.
#include <cstddef>
#include <string_view>
#include <vector>

namespace ostinel::gui {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point starting at text[pos] and advances pos past it. pos < text.size().
[[nodiscard]] char32_t DecodeUtf8At(std::string_view text, std::size_t& pos);

[[nodiscard]] std::vector<char32_t> DecodeUtf8(std::string_view text);

} // namespace ostinel::gui
