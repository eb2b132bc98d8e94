// The tool as a user lays it out: copied with the plug-in binary into a folder of its own (the
// Windows zip), or installed with the plug-in under lib/lxvst. It finds the plug-in without
// --plugin, and paths with any characters work. The mapped groove must be the same bytes on
// every platform: the expectation in data/ was written by the Linux tool.
#include "common/Utf.h"
#include "tools/ostinel/ToolSupport.h"

#include <gtest/gtest.h>

namespace ostinel::cli::test {
namespace {

// A folder name no code page but UTF-8/UTF-16 holds.
constexpr const char* kUnicodeName = "Ostinel Grüße ✓ Ωμέγα";

// The tool and the plug-in binary copied into `folder`, as a user unpacks them.
fs::path CopyToolAndPlugin(const fs::path& folder, const fs::path& pluginFolder) {
    fs::create_directories(folder);
    fs::create_directories(pluginFolder);
    const fs::path tool = folder / ToolPath().filename();
    fs::copy_file(ToolPath(), tool);
    fs::copy_file(PluginPath(), pluginFolder / PluginPath().filename());
    return tool;
}

std::string Text(const fs::path& path) {
    return PathToUtf8(path);
}

class PortableTool : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = dir_.Path() / PathFromUtf8(kUnicodeName);
        tool_ = CopyToolAndPlugin(folder_, folder_);
    }
    TempDir dir_;
    fs::path folder_;
    fs::path tool_;
};

TEST_F(PortableTool, MapsTheExampleGrooveToTheSameBytesAsOnLinux) {
    const fs::path in = folder_ / PathFromUtf8("Grüße groove.mid");
    const fs::path preset = folder_ / PathFromUtf8("8 pads ✓.quorvatp");
    const fs::path out = folder_ / PathFromUtf8("mapped ü.mid");
    fs::copy_file(ExamplesDir() / "drum-groove.mid", in);
    fs::copy_file(ExamplesDir() / "gm-to-8-pads.quorvatp", preset);

    const RunResult r = RunProgram(tool_, {"map", Text(in), Text(out), "--preset", Text(preset)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("  plug-in          " + Text(folder_ / PluginPath().filename()) + "\n"),
              std::string::npos)
        << r.out;
    const std::vector<std::uint8_t> expected = ReadBytes(TestDataDir() / "drum-groove.8-pads.mid");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadBytes(out), expected);
}

TEST_F(PortableTool, InfoFindsThePluginBesideTheTool) {
    const RunResult r = RunProgram(tool_, {"info"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Binary:          " + Text(folder_ / PluginPath().filename()) + "\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Effect name:     Ostinel\n"), std::string::npos) << r.out;
}

TEST_F(PortableTool, DumpAndBuildRoundTripInTheFolder) {
    const fs::path preset = folder_ / PathFromUtf8("Preset ✓.quorvatp");
    const fs::path json = folder_ / PathFromUtf8("Preset ✓.json");
    const fs::path built = folder_ / PathFromUtf8("Built ✓.quorvatp");
    fs::copy_file(ExamplesDir() / "harmony-thirds.quorvatp", preset);

    const RunResult text = RunProgram(tool_, {"dump", Text(preset)});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find(Text(preset)), std::string::npos) << text.out;
    const RunResult dump = RunProgram(tool_, {"dump", Text(preset), "--format", "json"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    WriteText(json, dump.out);
    const RunResult build = RunProgram(tool_, {"build", Text(json), "-o", Text(built)});
    ASSERT_EQ(build.status, 0) << build.err;
    EXPECT_EQ(ReadBytes(built), ReadBytes(preset));
}

TEST_F(PortableTool, ErrorsNameUnicodePathsIntact) {
    const RunResult r = RunProgram(tool_, {"info", "--plugin", Text(folder_ / "none.bin")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(Text(folder_ / "none.bin")), std::string::npos) << r.err;
}

TEST(InstalledTool, FindsThePluginInLibLxvst) {
#if defined(_WIN32)
    GTEST_SKIP() << "the installed layout bin/ + lib/lxvst/ is the Linux one";
#else
    const TempDir prefix;
    const fs::path tool = CopyToolAndPlugin(prefix.Path() / "bin", prefix.Path() / "lib" / "lxvst");
    const RunResult r = RunProgram(tool, {"info"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Binary:          " +
                         Text(prefix.Path() / "lib" / "lxvst" / PluginPath().filename()) + "\n"),
              std::string::npos)
        << r.out;
#endif
}

} // namespace
} // namespace ostinel::cli::test
