#pragma once
// Running the `ostinel` executable from tests, temporary folders, MIDI files built in memory,
// and an independent reader of MIDI files (Python's mido) to check what the tool writes.
//
// Every test process gets a private home folder (HOME, XDG_*), so the plug-in never loads the
// user's "init" preset or settings.
#include "midi/SmfModel.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ostinel::cli::test {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const fs::path& Path() const { return path_; }
    [[nodiscard]] fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a program with these arguments (each passed as one argument, UTF-8), capturing what it
// writes to stdout and stderr.
[[nodiscard]] RunResult RunProgram(const fs::path& program, const std::vector<std::string>& args);
// Runs the tool built in this tree.
[[nodiscard]] RunResult RunTool(const std::vector<std::string>& args);

[[nodiscard]] fs::path ToolPath();
[[nodiscard]] fs::path ExamplesDir();
[[nodiscard]] fs::path PluginPath();
[[nodiscard]] fs::path TestDataDir(); // tests/tools/ostinel/data

[[nodiscard]] std::vector<std::uint8_t> ReadBytes(const fs::path& path);
void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const fs::path& path, const std::string& text);

// A file of one track (format 0) or several (format 1) from events given as ticks.
void WriteMidi(const fs::path& path, const smf::MidiFile& file);
[[nodiscard]] smf::Track
NotesTrack(std::uint8_t channel, const std::vector<std::pair<std::uint32_t, std::uint8_t>>& notes,
           std::uint32_t length, std::uint8_t velocity = 100);

// Python with mido, or nullopt when none is installed (always on Windows: mido runs on the
// Linux side only).
[[nodiscard]] const std::optional<std::string>& MidoPython();

// One line per event of the file as mido reads it: "track tick kind channel note velocity" for
// notes ("on"/"off"; a note-on of velocity 0 is "off"), "track tick meta TYPE" for meta
// events, "track tick other program_change channel program", "track tick other sysex HEX HEX ..."
// (the bytes between F0 and F7), "track tick other TYPE" for the rest; the first line is
// "type TYPE ppq PPQ tracks N".
[[nodiscard]] std::vector<std::string> MidoListing(const fs::path& path);

struct MidoNote {
    int track, tick, channel, note, velocity;
    bool on;
};
[[nodiscard]] std::vector<MidoNote> MidoNotes(const std::vector<std::string>& listing);

// Every note-on is ended by a later note-off of its channel and note in the same track, and
// every note-off ends a sounding note; empty when so, else the first problem.
[[nodiscard]] std::string PairingProblem(const std::vector<MidoNote>& notes);

// The number after "label" in the summary the map command prints, or -1.
[[nodiscard]] long SummaryValue(const std::string& out, const std::string& label);

} // namespace ostinel::cli::test
