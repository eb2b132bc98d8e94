#include "graphics/Utf8.h"

namespace ostinel::gui {

char32_t DecodeUtf8At(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t cp = 0;
    // Bounds of the first continuation byte exclude overlongs and surrogates up front.
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        cp = lead & 0x0Fu;
        lo = lead == 0xE0 ? 0xA0 : 0x80;
        hi = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        cp = lead & 0x07u;
        lo = lead == 0xF0 ? 0x90 : 0x80;
        hi = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return kReplacementCharacter;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size()) {
            return kReplacementCharacter;
        }
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < lo || b > hi) {
            // The offending byte starts the next sequence.
            return kReplacementCharacter;
        }
        lo = 0x80;
        hi = 0xBF;
        cp = (cp << 6) | (b & 0x3Fu);
        ++pos;
    }
    return cp;
}

std::vector<char32_t> DecodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        out.push_back(DecodeUtf8At(text, pos));
    }
    return out;
}

} // namespace ostinel::gui
