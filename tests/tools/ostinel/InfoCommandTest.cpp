// `ostinel info` and the help of every command.
#include "tools/ostinel/ToolSupport.h"

#include <gtest/gtest.h>

namespace ostinel::cli::test {
namespace {

TEST(InfoCommand, ShowsWhatAHostSees) {
    const RunResult r = RunTool({"info", "--plugin", PluginPath().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"Entry point:     VSTPluginMain\n", "Effect name:     Ostinel\n",
          "Vendor:          Quorvat\n", "Unique ID:       qv07 (0x71763037)\n",
          "Version:         1000\n", "VST version:     2400\n", "Category:        synth\n",
          "Flags:           0x00000131 (has editor, can replacing, program chunks, is synth)\n",
          "Inputs/outputs:  0 / 2\n", "  sendVstEvents         yes\n",
          "  receiveVstMidiEvent   yes\n", "State chunk:     379389 bytes"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
}

TEST(InfoCommand, FindsTheBinaryBuiltBesideTheTool) {
    const RunResult r = RunTool({"info"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Effect name:     Ostinel"), std::string::npos);
}

TEST(InfoCommand, BinaryThatIsNoPluginIsAClearError) {
    const TempDir dir;
    WriteText(dir / "fake.so", "not a library");
    const RunResult missing = RunTool({"info", "--plugin", (dir / "none.so").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("error: cannot load the plug-in binary"), std::string::npos)
        << missing.err;
    const RunResult fake = RunTool({"info", "--plugin", (dir / "fake.so").string()});
    EXPECT_EQ(fake.status, 1);
    EXPECT_NE(fake.err.find("fake.so"), std::string::npos) << fake.err;
}

TEST(Help, EveryCommandHasHelp) {
    for (const std::string& command : std::vector<std::string>{"map", "dump", "build", "info"}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{command, "--help"}, {"help", command}}) {
            const RunResult r = RunTool(args);
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(r.out.rfind("Usage: ostinel " + command, 0), 0u) << r.out;
        }
    }
    const RunResult general = RunTool({"--help"});
    EXPECT_EQ(general.status, 0);
    EXPECT_NE(general.out.find("ostinel map IN.mid OUT.mid"), std::string::npos);
}

TEST(Help, WrongCommandLinesExitWithTwo) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{}, "Usage:"},
        {{"remap"}, "ostinel: unknown command \"remap\""},
        {{"map", "a.mid"}, "ostinel map: missing IN and OUT"},
        {{"map", "a.mid", "b.mid", "--block", "0"},
         "ostinel map: --block must be a number from 1 to 65536, not \"0\""},
        {{"dump", "x", "--format", "xml"}, "ostinel dump: --format must be text or json"},
        {{"build", "x.json"}, "ostinel build: missing -o OUT.quorvatp"},
        {{"info", "extra"}, "ostinel info: unexpected argument \"extra\""},
    };
    for (const Case& c : cases) {
        const RunResult r = RunTool(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace ostinel::cli::test
