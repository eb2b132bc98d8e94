// Shell requests on Linux start xdg-open and return at once. A stand-in xdg-open on PATH
// writes down its arguments, so nothing is really opened.
#include "platform/Window.h"
#include "platform_gui/ScopedEnvironment.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace ostinel::platform {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnvironment;

struct ShellFixture : ::testing::Test {
    ostinel::test::TempFolder folder;
    fs::path bin = folder.path() / "bin";
    fs::path out = folder.path() / "args";
    std::optional<ScopedEnvironment> path;

    ShellFixture() {
        fs::create_directories(bin);
        const fs::path script = bin / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$@\" >> '" << out.string()
                              << ".tmp'\n/bin/mv '" << out.string() << ".tmp' '" << out.string()
                              << "'\n";
        fs::permissions(script, fs::perms::owner_all);
        path.emplace("PATH", bin.string());
    }

    // The stand-in runs on its own; wait (bounded) for what it wrote.
    std::string Arguments() const {
        for (int i = 0; i < 500 && !fs::exists(out); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(out);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(ShellFixture, OpenPassesTheFileAsOneArgument) {
    EXPECT_TRUE(ShellOpen("/home/j\xC3\xBCrgen/Ostinel User Guide.pdf"));
    EXPECT_EQ(Arguments(), "/home/j\xC3\xBCrgen/Ostinel User Guide.pdf|");
}

TEST_F(ShellFixture, ShowFolderOpensTheFolder) {
    EXPECT_TRUE(ShowFolderInExplorer("/home/u/Documents/Quorvat/Ostinel/Presets"));
    EXPECT_EQ(Arguments(), "/home/u/Documents/Quorvat/Ostinel/Presets|");
}

TEST_F(ShellFixture, NamesLikeOptionsStayNames) {
    EXPECT_TRUE(ShellOpen("--help"));
    EXPECT_EQ(Arguments(), "./--help|");
}

TEST_F(ShellFixture, NothingToOpenOrNoXdgOpen) {
    EXPECT_FALSE(ShellOpen(""));
    fs::remove(bin / "xdg-open");
    EXPECT_FALSE(ShellOpen("/tmp/file.pdf"));
    EXPECT_FALSE(ShowFolderInExplorer("/tmp"));
}

} // namespace
} // namespace ostinel::platform
