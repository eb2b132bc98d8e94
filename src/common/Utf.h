#pragma once
// UTF-8 is the text type of every layer; UTF-16 is what the Windows API speaks. The converters
// never fail: an ill-formed sequence becomes U+FFFD, one per maximal invalid subpart.
// Reentrant, usable from any thread (they allocate, so not on the audio thread).
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace ostinel {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the code point starting at text[pos] (pos < text.size()) and moves pos past it; an
// ill-formed sequence gives U+FFFD and pos stops at the byte that broke it.
[[nodiscard]] char32_t DecodeUtf8At(std::string_view text, std::size_t& pos) noexcept;
// Appends cp as UTF-8; surrogates and values above U+10FFFF are written as U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view text);
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

#ifdef _WIN32
// wchar_t is a UTF-16 unit on Windows.
[[nodiscard]] std::wstring Utf8ToWide(std::string_view text);
[[nodiscard]] std::string WideToUtf8(std::wstring_view text);
#endif

// A UTF-8 path as a filesystem path: through UTF-16 on Windows (so non-ASCII user folders
// work whatever the ANSI code page), bytes unchanged elsewhere.
[[nodiscard]] std::filesystem::path PathFromUtf8(std::string_view path);
[[nodiscard]] std::string PathToUtf8(const std::filesystem::path& path);

} // namespace ostinel
