#pragma once
// Safe UTF-8 decoding for text drawing. Every ill-formed sequence (stray continuation bytes,
// truncated sequences, overlong forms, surrogates, values above U+10FFFF) yields U+FFFD for
// each maximal invalid prefix, and decoding always moves forward.
#include "common/Utf.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace ostinel::gui {

inline constexpr char32_t kReplacementCharacter = kReplacementChar;

// The one decoder, in common: the code point at text[pos], pos moved past it.
using ostinel::DecodeUtf8At;

[[nodiscard]] std::vector<char32_t> DecodeUtf8(std::string_view text);

} // namespace ostinel::gui
