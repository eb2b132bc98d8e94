#include "common/Utf.h"

#include <cstdint>

namespace ostinel {

namespace {

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

// Length of the sequence a lead byte starts and the allowed range of its first continuation
// byte (excludes overlongs, surrogates and code points above U+10FFFF); length 0 = invalid.
struct LeadInfo {
    int length;
    unsigned char low;
    unsigned char high;
};

LeadInfo ClassifyLead(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {2, 0x80, 0xBF};
    if (b == 0xE0)
        return {3, 0xA0, 0xBF};
    if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF)
        return {3, 0x80, 0xBF};
    if (b == 0xED)
        return {3, 0x80, 0x9F};
    if (b == 0xF0)
        return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3)
        return {4, 0x80, 0xBF};
    if (b == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

} // namespace

char32_t DecodeUtf8At(std::string_view text, std::size_t& pos) noexcept {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    const LeadInfo info = ClassifyLead(lead);
    if (info.length == 0)
        return kReplacementChar;
    char32_t cp = lead & (0x7F >> info.length);
    unsigned char low = info.low;
    unsigned char high = info.high;
    for (int k = 1; k < info.length; ++k) {
        if (pos >= text.size())
            return kReplacementChar;
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < low || b > high)
            return kReplacementChar; // the maximal subpart read so far; b starts the next
        cp = (cp << 6) | (b & 0x3F);
        low = 0x80;
        high = 0xBF;
        ++pos;
    }
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = kReplacementChar;
    auto put = [&out](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
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

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size())
        AppendUtf16(out, DecodeUtf8At(text, i));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            const char32_t cp =
                0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            AppendUtf8(out, cp);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, kReplacementChar); // lone surrogate
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Utf8ToWide(std::string_view text) {
    const std::u16string units = Utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

std::string WideToUtf8(std::wstring_view text) {
    const std::u16string units(text.begin(), text.end());
    return Utf16ToUtf8(units);
}

std::filesystem::path PathFromUtf8(std::string_view path) {
    return std::filesystem::path(Utf8ToWide(path));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    return WideToUtf8(path.native());
}
#else
std::filesystem::path PathFromUtf8(std::string_view path) {
    return std::filesystem::path(std::string(path));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    return path.native();
}
#endif

} // namespace ostinel
