// "Open User Guide" in the main menu shows exactly when "Ostinel User Guide.pdf" lies beside
// the plug-in binary. A host on X11 loads two copies of the built binary, one from a folder with
// the guide beside it and one from a folder without, opens each editor in a window of its own
// and opens the main menu with the real pointer (XTest). The user folder holds no guide (the
// test environment's folders are temporary), so only the file beside the binary counts. Run
// under xvfb-run; skipped without DISPLAY.
#include "support/EditorScreens.h"
#include "support/FakeHost.h"
#include "support/PluginInstance.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dlfcn.h>

#include "support/X11TestDisplay.h" // after gtest: Xlib defines None

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>

namespace ostinel::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kGuideName = "Ostinel User Guide.pdf";
// btnMenu: 26 x 26 at (6, 8) in the heading.
constexpr gui::Point kMenuButton{6 + 13, 8 + 13};
// The main menu drops down below the button at the left; nothing else there changes.
constexpr int kMenuAreaRight = 320;
constexpr int kHeadingBottom = 41;

std::string BuiltPlugin() {
    if (const char* env = std::getenv("OSTINEL_PLUGIN"); env != nullptr && *env != '\0')
        return env;
    return OSTINEL_PLUGIN_DEFAULT_PATH;
}

// A copy of the built binary in a folder of its own, loaded as a host loads a plug-in. The
// library stays loaded for the rest of the process (an instance's X connection and timers may
// outlive effClose by a little); the folder is removed.
class PluginCopy {
public:
    explicit PluginCopy(bool withGuide) {
        std::random_device random;
        folder_ = fs::temp_directory_path() / ("ostinel-guide-" + std::to_string(random()));
        fs::create_directories(folder_);
        const fs::path binary = folder_ / fs::path(BuiltPlugin()).filename();
        fs::copy_file(BuiltPlugin(), binary);
        if (withGuide)
            std::ofstream(folder_ / kGuideName, std::ios::binary) << "%PDF-1.4\n%%EOF\n";
        handle_ = dlopen(binary.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_ != nullptr)
            entry_ = reinterpret_cast<MainEntry>(dlsym(handle_, "VSTPluginMain"));
    }
    ~PluginCopy() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    PluginCopy(const PluginCopy&) = delete;
    PluginCopy& operator=(const PluginCopy&) = delete;

    [[nodiscard]] MainEntry Entry() const { return entry_; }
    [[nodiscard]] std::string Error() const {
        const char* error = dlerror();
        return error != nullptr ? error : "no VSTPluginMain";
    }

private:
    fs::path folder_;
    void* handle_ = nullptr;
    MainEntry entry_ = nullptr;
};

class UserGuideMenuX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display; run under xvfb-run";
        display_ = OpenTestDisplay();
        ASSERT_NE(display_, nullptr);
        const int screen = DefaultScreen(display_);
        window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0, kEditorWidth,
                                      kEditorHeight, 0, 0, 0);
        XSelectInput(display_, window_, StructureNotifyMask);
        XMapWindow(display_, window_);
        XEvent e;
        do {
            XNextEvent(display_, &e);
        } while (e.type != MapNotify);
    }
    void TearDown() override {
        if (display_ != nullptr) {
            XDestroyWindow(display_, window_);
            XCloseDisplay(display_);
        }
    }

    [[nodiscard]] gui::Image Screenshot() {
        XSync(display_, False);
        gui::Image shot(kEditorWidth, kEditorHeight);
        XImage* image =
            XGetImage(display_, window_, 0, 0, kEditorWidth, kEditorHeight, AllPlanes, ZPixmap);
        if (image == nullptr) {
            ADD_FAILURE() << "XGetImage failed";
            return shot;
        }
        for (int y = 0; y < kEditorHeight; ++y)
            for (int x = 0; x < kEditorWidth; ++x)
                shot.SetPixel(x, y, gui::Color::Rgb(XGetPixel(image, x, y) & 0xFFFFFF));
        XDestroyImage(image);
        return shot;
    }

    // The lowest row below the heading where the two pictures differ in the menu's area; 0
    // when they do not differ there.
    static int LowestChange(const gui::Image& before, const gui::Image& after) {
        for (int y = kEditorHeight - 1; y > kHeadingBottom; --y)
            for (int x = 0; x < kMenuAreaRight; ++x)
                if (before.GetPixel(x, y) != after.GetPixel(x, y))
                    return y;
        return 0;
    }

    // Opens the editor of an instance of `copy` in our window, clicks the menu button with the
    // real pointer and returns the bottom of the main menu that drops down.
    int MainMenuBottom(const PluginCopy& copy) {
        Instance plugin(true, copy.Entry());
        int bottom = 0;
        if (plugin.Dispatch(vst::effEditOpen, 0, 0,
                            reinterpret_cast<void*>(static_cast<std::uintptr_t>(window_))) != 1) {
            ADD_FAILURE() << "effEditOpen failed";
            return bottom;
        }
        const auto idleFor = [&](std::chrono::milliseconds span) {
            const auto end = std::chrono::steady_clock::now() + span;
            while (std::chrono::steady_clock::now() < end) {
                (void)plugin.Dispatch(vst::effEditIdle);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        };
        idleFor(std::chrono::milliseconds(400));
        const gui::Image closed = Screenshot();

        int x = 0, y = 0;
        ::Window child = 0;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), kMenuButton.x,
                              kMenuButton.y, &x, &y, &child);
        XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XSync(display_, False);

        // The menu is drawn within a few idle calls; wait until it stops growing.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            idleFor(std::chrono::milliseconds(100));
            const int now = LowestChange(closed, Screenshot());
            if (now > kHeadingBottom && now == bottom)
                break;
            bottom = now;
        }
        (void)plugin.Dispatch(vst::effEditClose);
        return bottom;
    }

    Display* display_ = nullptr;
    ::Window window_ = 0;
    FakeHost host_;
};

TEST_F(UserGuideMenuX11Test, OpenUserGuideShowsOnlyWithTheGuideBesideTheBinary) {
    const PluginCopy withGuide(true);
    const PluginCopy withoutGuide(false);
    ASSERT_NE(withGuide.Entry(), nullptr) << withGuide.Error();
    ASSERT_NE(withoutGuide.Entry(), nullptr) << withoutGuide.Error();

    const int without = MainMenuBottom(withoutGuide);
    const int with = MainMenuBottom(withGuide);
    ASSERT_GT(without, kHeadingBottom) << "the main menu did not open";
    // One more entry (a row of text, at least 16 pixels high) and no more than an entry with a
    // separator.
    EXPECT_GE(with - without, 16) << "with the guide: " << with << ", without: " << without;
    EXPECT_LE(with - without, 40) << "with the guide: " << with << ", without: " << without;
}

} // namespace
} // namespace ostinel::test
