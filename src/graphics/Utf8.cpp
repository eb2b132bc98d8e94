#include "graphics/Utf8.h"

namespace ostinel::gui {

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
