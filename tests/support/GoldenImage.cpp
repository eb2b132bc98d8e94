#include "support/GoldenImage.h"

#include "graphics/Png.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

namespace ostinel::test {

namespace fs = std::filesystem;

namespace {

// The committed folder, seen from this process (a Unix path goes through wine's Z: drive).
fs::path GoldenFolder() {
    std::string path = OSTINEL_GOLDEN_DIR;
#if defined(_WIN32)
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
#endif
    return fs::path(path);
}

bool UpdateRequested() {
    const char* env = std::getenv("OSTINEL_UPDATE_GOLDEN");
    return env != nullptr && std::string(env) == "1";
}

int Difference(gui::Color a, gui::Color b) {
    const auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    int most = d(a.r, b.r);
    for (const int v : {d(a.g, b.g), d(a.b, b.b), d(a.a, b.a)})
        most = v > most ? v : most;
    return most;
}

void KeepFailure(const gui::Image& actual, const gui::Image& mask, const std::string& name) {
    try {
        const fs::path folder = fs::current_path() / "golden-failures";
        fs::create_directories(folder);
        gui::SavePng(actual, folder / name);
        if (!mask.IsEmpty())
            gui::SavePng(mask, folder / ("diff-" + name));
    } catch (const std::exception&) {
        // Only an aid for looking at the failure; the assertion says what failed.
    }
}

} // namespace

::testing::AssertionResult MatchesGolden(const gui::Image& actual, const std::string& name,
                                         GoldenTolerance tolerance) {
    const fs::path path = GoldenFolder() / name;
    if (UpdateRequested()) {
        fs::create_directories(path.parent_path());
        gui::SavePng(actual, path);
        return ::testing::AssertionSuccess() << "wrote " << path.string();
    }
    gui::Image golden;
    try {
        golden = gui::LoadPngFile(path);
    } catch (const std::exception& e) {
        KeepFailure(actual, {}, name);
        return ::testing::AssertionFailure() << "cannot read " << path.string() << " (" << e.what()
                                             << "); run with OSTINEL_UPDATE_GOLDEN=1 to write it";
    }
    if (golden.Width() != actual.Width() || golden.Height() != actual.Height()) {
        KeepFailure(actual, {}, name);
        return ::testing::AssertionFailure()
               << name << ": size " << actual.Width() << "x" << actual.Height() << ", golden "
               << golden.Width() << "x" << golden.Height();
    }
    gui::Image mask(actual.Width(), actual.Height(), gui::Color::Rgb(0xFFFFFF));
    int beyond = 0;
    int worst = 0;
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            const int d = Difference(actual.GetPixel(x, y), golden.GetPixel(x, y));
            worst = d > worst ? d : worst;
            if (d > tolerance.channel) {
                ++beyond;
                mask.SetPixel(x, y, gui::Color::Rgb(0xFF0000));
            }
        }
    }
    if (beyond > tolerance.maxPixels) {
        KeepFailure(actual, mask, name);
        return ::testing::AssertionFailure()
               << name << ": " << beyond << " pixels differ by more than " << tolerance.channel
               << " (largest difference " << worst << "); the picture and a mask are in "
               << (fs::current_path() / "golden-failures").string();
    }
    return ::testing::AssertionSuccess();
}

} // namespace ostinel::test
