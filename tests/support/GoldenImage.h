#pragma once
// Golden images: a rendered picture compared with a committed PNG under tests/golden, with a
// small per-pixel tolerance (fonts are rasterised with floating point, and 32-bit x87 builds
// may round a coverage value differently).
//
// To refresh the pictures after an intended change, run the tests with OSTINEL_UPDATE_GOLDEN=1
// (scripts/update-golden.sh does that): each comparison then writes its PNG and passes.
// A failing comparison writes the actual picture and a difference mask beside the build's
// working folder (golden-failures/) to be looked at.
#include "graphics/Image.h"

#include <gtest/gtest.h>

#include <string>

namespace ostinel::test {

struct GoldenTolerance {
    int channel = 8;     // largest difference of one colour channel that still counts as equal
    int maxPixels = 200; // pixels allowed beyond that
};

// name: file name under tests/golden, e.g. "editor-carbon.png".
[[nodiscard]] ::testing::AssertionResult
MatchesGolden(const gui::Image& actual, const std::string& name, GoldenTolerance tolerance = {});

} // namespace ostinel::test
