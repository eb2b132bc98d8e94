// `ostinel map` with folders: every MIDI file is mapped, one bad file does not stop the rest.
#include "tools/ostinel/ToolSupport.h"

#include <gtest/gtest.h>

namespace ostinel::cli::test {
namespace {

TEST(MapFolder, MapsEveryMidiFileAndCountsTheFailedOnes) {
    const TempDir dir;
    const fs::path in = dir / "in";
    const fs::path out = dir / "out" / "nested";
    fs::create_directories(in / "sub");
    fs::copy_file(ExamplesDir() / "drum-groove.mid", in / "b-groove.mid");
    fs::copy_file(ExamplesDir() / "melody.mid", in / "C-Melody.MIDI");
    WriteText(in / "a-broken.mid", "MThd");
    WriteText(in / "notes.txt", "not a MIDI file");
    fs::copy_file(ExamplesDir() / "melody.mid", in / "sub" / "deeper.mid");

    const RunResult r = RunTool({"map", in.string(), out.string(), "--preset",
                                 (ExamplesDir() / "gm-to-8-pads.quorvatp").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(fs::exists(out / "b-groove.mid"));
    EXPECT_TRUE(fs::exists(out / "C-Melody.MIDI"));
    EXPECT_FALSE(fs::exists(out / "a-broken.mid"));
    EXPECT_FALSE(fs::exists(out / "notes.txt"));
    EXPECT_FALSE(fs::exists(out / "deeper.mid"));
    EXPECT_NE(r.err.find("error: " + (in / "a-broken.mid").string() + ": "), std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("Mapping 3 files from"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  b-groove.mid: 55 events in, 55 out, 21 notes remapped, 0 dropped\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Mapped 2 of 3 files, 1 failed.\n"), std::string::npos) << r.out;
    // No progress lines when the error stream is not a terminal.
    EXPECT_EQ(r.err.find('\r'), std::string::npos);
}

TEST(MapFolder, OutputMustBeAnotherFolder) {
    const TempDir dir;
    fs::create_directories(dir / "in");
    WriteText(dir / "file", "");
    const RunResult same = RunTool({"map", (dir / "in").string(), (dir / "in").string()});
    EXPECT_EQ(same.status, 1);
    EXPECT_NE(same.err.find("the output folder is the input folder"), std::string::npos);
    const RunResult file = RunTool({"map", (dir / "in").string(), (dir / "file").string()});
    EXPECT_EQ(file.status, 1);
    EXPECT_NE(file.err.find("is a file; the output of a folder must be a folder"),
              std::string::npos);
}

TEST(MapFolder, EmptyFolderMapsNothing) {
    const TempDir dir;
    fs::create_directories(dir / "in");
    const RunResult r = RunTool({"map", (dir / "in").string(), (dir / "out").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Mapped 0 of 0 files, 0 failed."), std::string::npos);
}

} // namespace
} // namespace ostinel::cli::test
