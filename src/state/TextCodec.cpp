#include "state/TextCodec.h"

#include "state/ByteOrder.h"

#include <array>

namespace ostinel::codec {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Calls sink(code point) for each code point of text, U+FFFD for each maximal subpart of an
// ill-formed sequence (the replacement practice Unicode recommends).
template <typename Sink> void DecodeUtf8(std::string_view text, Sink&& sink) {
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const auto lead = static_cast<uint8_t>(text[i]);
        if (lead < 0x80) {
            sink(char32_t{lead});
            ++i;
            continue;
        }
        int continuation = 0;
        char32_t cp = 0;
        uint8_t low = 0x80;
        uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            continuation = 1;
            cp = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuation = 2;
            cp = lead & 0x0Fu;
            if (lead == 0xE0) {
                low = 0xA0; // overlong
            } else if (lead == 0xED) {
                high = 0x9F; // surrogates
            }
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuation = 3;
            cp = lead & 0x07u;
            if (lead == 0xF0) {
                low = 0x90; // overlong
            } else if (lead == 0xF4) {
                high = 0x8F; // beyond U+10FFFF
            }
        } else {
            sink(kReplacement);
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool complete = true;
        for (int k = 0; k < continuation; ++k, ++j) {
            if (j >= n) {
                complete = false;
                break;
            }
            const auto byte = static_cast<uint8_t>(text[j]);
            if (byte < low || byte > high) {
                complete = false;
                break;
            }
            cp = (cp << 6) | (byte & 0x3Fu);
            low = 0x80;
            high = 0xBF;
        }
        sink(complete ? cp : kReplacement);
        i = j;
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    auto put = [&out](unsigned value) { out.push_back(static_cast<char>(value)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

bool IsHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Windows-1252 0x80..0x9F.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

std::string SanitizeUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    DecodeUtf8(text, [&out](char32_t cp) { AppendUtf8(out, cp); });
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    DecodeUtf8(text, [&out](char32_t cp) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    });
    return out;
}

std::string Utf16LeToUtf8(std::span<const uint8_t> bytes) {
    const size_t units = bytes.size() / 2;
    std::string out;
    out.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        const char32_t u = LoadLE<uint16_t>(bytes.data() + 2 * i);
        if (IsHighSurrogate(u) && i + 1 < units) {
            const char32_t next = LoadLE<uint16_t>(bytes.data() + 2 * (i + 1));
            if (IsLowSurrogate(next)) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, IsHighSurrogate(u) || IsLowSurrogate(u) ? kReplacement : u);
    }
    return out;
}

std::string Cp1252ToUtf8(std::span<const uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const uint8_t b : bytes) {
        AppendUtf8(out, b >= 0x80 && b <= 0x9F ? char32_t{kCp1252High[b - 0x80u]} : char32_t{b});
    }
    return out;
}

} // namespace ostinel::codec
