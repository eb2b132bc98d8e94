#include "graphics/Font.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ostinel::gui {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

FontFace FaceForName(std::string_view name) {
    static constexpr std::array<std::string_view, 3> kMonospace = {"Consolas", "Lucida Console",
                                                                   "Courier New"};
    for (std::string_view mono : kMonospace) {
        if (EqualsIgnoringCase(name, mono)) {
            return FontFace::Monospace;
        }
    }
    return FontFace::Sans;
}

Font MakeFont(std::string_view faceName, int pixelHeight) {
    return {FaceForName(faceName), pixelHeight};
}

int PointsToPixels(double points) {
    if (!std::isfinite(points)) {
        return 0;
    }
    const double px = std::clamp(points * 96.0 / 72.0, -1.0e6, 1.0e6);
    return static_cast<int>(std::lround(px));
}

} // namespace ostinel::gui
