#include "state/TextCodec.h"

#include "common/Utf.h"
#include "state/ByteOrder.h"

#include <array>

namespace ostinel::codec {

namespace {

// Windows-1252 0x80..0x9F.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

std::string SanitizeUtf8(std::string_view text) {
    return Utf16ToUtf8(ostinel::Utf8ToUtf16(text));
}

std::u16string Utf8ToUtf16(std::string_view text) {
    return ostinel::Utf8ToUtf16(text);
}

std::string Utf16LeToUtf8(std::span<const uint8_t> bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = LoadLE<uint16_t>(bytes.data() + 2 * i);
    return Utf16ToUtf8(units);
}

std::string Cp1252ToUtf8(std::span<const uint8_t> bytes) {
    std::u16string units;
    units.reserve(bytes.size());
    for (const uint8_t b : bytes)
        units.push_back(b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80u] : char16_t{b});
    return Utf16ToUtf8(units);
}

} // namespace ostinel::codec
