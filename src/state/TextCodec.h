#pragma once
// Text conversions of the value stream. Internal text is UTF-8; malformed input of any kind
// (bad UTF-8, lone UTF-16 surrogates) becomes U+FFFD instead of failing.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ostinel::codec {

// Valid UTF-8 with every maximal invalid subsequence replaced by one U+FFFD.
[[nodiscard]] std::string SanitizeUtf8(std::string_view text);

// UTF-16 code units of a text; malformed UTF-8 is replaced as in SanitizeUtf8.
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view text);

// Decodes UTF-16LE bytes (an odd trailing byte is ignored).
[[nodiscard]] std::string Utf16LeToUtf8(std::span<const uint8_t> bytes);

// Decodes single-byte text in the system's single-byte code page, which is Windows-1252 on
// every platform: the five code points it leaves undefined map to the C1 controls of the same
// number, as Windows itself does.
[[nodiscard]] std::string Cp1252ToUtf8(std::span<const uint8_t> bytes);

} // namespace ostinel::codec
