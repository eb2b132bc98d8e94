// `ostinel dump` and `ostinel build`: readable views, and JSON that builds back to the same
// bytes.
#include "preset/PresetState.h"
#include "tools/ostinel/ToolSupport.h"

#include <gtest/gtest.h>

namespace ostinel::cli::test {
namespace {

class PresetCommand : public ::testing::Test {
protected:
    // dump --format json, then build; the bytes built.
    std::vector<std::uint8_t> RoundTrip(const fs::path& preset) {
        const RunResult dump = RunTool({"dump", preset.string(), "--format", "json"});
        EXPECT_EQ(dump.status, 0) << dump.err;
        const fs::path json = dir_ / "dumped.json";
        const fs::path built = dir_ / "built.quorvatp";
        WriteText(json, dump.out);
        const RunResult build = RunTool({"build", json.string(), "-o", built.string()});
        EXPECT_EQ(build.status, 0) << build.err;
        return ReadBytes(built);
    }
    TempDir dir_;
};

TEST_F(PresetCommand, DumpThenBuildGivesTheSameBytes) {
    const fs::path defaults = dir_ / "default.quorvatp";
    PresetState state;
    WriteBytes(defaults, WritePreset(state));
    state.container = Container::Bank;
    const fs::path bank = dir_ / "bank.chunk";
    WriteBytes(bank, WritePreset(state));
    for (const fs::path& preset : {ExamplesDir() / "gm-to-8-pads.quorvatp",
                                   ExamplesDir() / "harmony-thirds.quorvatp", defaults, bank}) {
        SCOPED_TRACE(preset.string());
        const std::vector<std::uint8_t> original = ReadBytes(preset);
        ASSERT_FALSE(original.empty());
        EXPECT_EQ(RoundTrip(preset), original);
        EXPECT_EQ(RunTool({"dump", preset.string()}).err, ""); // written as the plug-in does
    }
}

TEST_F(PresetCommand, JsonDumpIsTheKnownText) {
    // The texts as dump has always written them; varied.dump.json has a bank, header texts,
    // CC assignments, escapes, non-ASCII text, -0 and odd floats, and goes through build first.
    const fs::path data = TestDataDir();
    const fs::path varied = dir_ / "varied.quorvatp";
    const RunResult build =
        RunTool({"build", (data / "varied.dump.json").string(), "-o", varied.string()});
    ASSERT_EQ(build.status, 0) << build.err;
    const std::pair<fs::path, fs::path> cases[] = {
        {ExamplesDir() / "gm-to-8-pads.quorvatp", data / "gm-to-8-pads.dump.json"},
        {ExamplesDir() / "harmony-thirds.quorvatp", data / "harmony-thirds.dump.json"},
        {varied, data / "varied.dump.json"},
    };
    for (const auto& [preset, expected] : cases) {
        SCOPED_TRACE(preset.string());
        const RunResult dump = RunTool({"dump", preset.string(), "--format", "json"});
        ASSERT_EQ(dump.status, 0) << dump.err;
        const std::vector<std::uint8_t> text = ReadBytes(expected);
        EXPECT_EQ(dump.out, std::string(text.begin(), text.end()));
    }
}

TEST_F(PresetCommand, ExampleSourcesBuildTheCommittedPresets) {
    for (const char* name : {"gm-to-8-pads", "harmony-thirds"}) {
        const fs::path built = dir_ / (std::string(name) + ".quorvatp");
        const RunResult r =
            RunTool({"build", (ExamplesDir() / (std::string(name) + ".json")).string(), "-o",
                     built.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadBytes(built), ReadBytes(ExamplesDir() / (std::string(name) + ".quorvatp")))
            << name << ": run examples/generate.py";
    }
}

TEST_F(PresetCommand, TextDumpShowsChannelsAndChangedRows) {
    const std::string preset = (ExamplesDir() / "gm-to-8-pads.quorvatp").string();
    const RunResult r = RunTool({"dump", preset});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"(379398 bytes, preset chunk)\n", "Name:             GM to 8 pads\n",
          "Selected channel: 10\n", "CC assignments:   none\n",
          "      1  yes     000 - C-2  .. 127 - G8    0\n",
          "     10  yes     035 - B0   .. 081 - A4    11\n",
          "Channel 10, rows that differ from the default:\n",
          "  042 - F#1   ch10 038 - D1   100% vel -25  rnd 0      ch10 none       100% vel 0    "
          "rnd 0      ch10 none       100% vel 0    rnd 0\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    const RunResult octave = RunTool({"dump", preset, "--lowest-octave", "0"});
    EXPECT_NE(octave.out.find("  042 - F#3   ch10 038 - D3 "), std::string::npos) << octave.out;
}

TEST_F(PresetCommand, FilesNotInThePluginsFormAreShownWithANote) {
    std::vector<std::uint8_t> bytes = WritePreset(PresetState{});
    const std::size_t size = bytes.size();
    bytes.push_back(0); // a byte after the chunk
    const fs::path odd = dir_ / "odd.quorvatp";
    WriteBytes(odd, bytes);
    const RunResult r = RunTool({"dump", odd.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("is not in the form the plug-in writes (first difference at byte " +
                         std::to_string(size) + ")"),
              std::string::npos)
        << r.err;
    bytes.pop_back();
    EXPECT_EQ(RoundTrip(odd), bytes);
}

TEST_F(PresetCommand, DumpOfSomethingElseIsAClearError) {
    WriteText(dir_ / "x.quorvatp", "RIFF....");
    const RunResult r = RunTool({"dump", (dir_ / "x.quorvatp").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "error: " + (dir_ / "x.quorvatp").string() +
                         ": not a plug-in state: Invalid chunk id\n");
}

TEST_F(PresetCommand, BuildErrorsNameThePlaceAndWriteNoFile) {
    struct Case {
        const char* name;
        const char* json;
        const char* message;
    };
    const Case cases[] = {
        {"bad JSON", "{\n  \"channels\": [\n    {\"channel\": 1,, \"active\": true}\n  ]\n}",
         "line 3, column 19: expected a key in double quotes, found ','"},
        {"value out of range",
         R"({"channels": [{"channel": 10, "active": true, "rows": [
  {"note": 36, "targets": [{"note": 35, "probability": 101}]}]}]})",
         "channels[0].rows[0].targets[0].probability: 101 is out of range 0 to 100 (line 2, "
         "column 56)"},
        {"missing field", R"({"channels": [{"channel": 10, "rows": []}]})",
         "channels[0]: missing field \"active\" (line 1, column 15)"},
        {"not JSON at all", "\xFF\xFE{", "line 1, column 1: expected a value, found byte 0xFF"},
    };
    const fs::path out = dir_ / "out.quorvatp";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path json = dir_ / "in.json";
        WriteText(json, c.json);
        const RunResult r = RunTool({"build", json.string(), "-o", out.string()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "error: " + json.string() + ": " + c.message + "\n");
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(dir_ / "out.quorvatp.partial"));
    }
    // An existing file stays as it was.
    WriteText(out, "old");
    WriteText(dir_ / "in.json", "{");
    EXPECT_EQ(RunTool({"build", (dir_ / "in.json").string(), "-o", out.string()}).status, 1);
    EXPECT_EQ(ReadBytes(out), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

} // namespace
} // namespace ostinel::cli::test
