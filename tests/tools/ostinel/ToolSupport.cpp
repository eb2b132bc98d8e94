#include "tools/ostinel/ToolSupport.h"

#include "midi/SmfWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace ostinel::cli::test {

namespace {

fs::path MakeTempFolder(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

// A home of our own for the whole test process (and the tool it starts).
struct PrivateHome {
    PrivateHome() : path(MakeTempFolder("ostinel-home-")) {
        fs::create_directories(path / "Documents");
        setenv("HOME", path.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (path / ".config").c_str(), 1);
        setenv("XDG_DATA_HOME", (path / ".local").c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (path / "Documents").c_str(), 1);
    }
    ~PrivateHome() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};
const PrivateHome gPrivateHome;

std::string ShellQuote(const std::string& text) {
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Runs a shell command, returns its exit status and what it printed on stdout.
int Capture(const std::string& command, std::string& out) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), got);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

constexpr const char* kListScript = R"(import sys, mido
mid = mido.MidiFile(sys.argv[1])
print('type', mid.type, 'ppq', mid.ticks_per_beat, 'tracks', len(mid.tracks))
for i, track in enumerate(mid.tracks):
    tick = 0
    for msg in track:
        tick += msg.time
        if msg.type == 'note_on' and msg.velocity > 0:
            print(i, tick, 'on', msg.channel, msg.note, msg.velocity)
        elif msg.type in ('note_on', 'note_off'):
            print(i, tick, 'off', msg.channel, msg.note, msg.velocity)
        elif msg.is_meta:
            print(i, tick, 'meta', msg.type)
        elif msg.type == 'program_change':
            print(i, tick, 'other', msg.type, msg.channel, msg.program)
        elif msg.type == 'sysex':
            print(i, tick, 'other', msg.type, ' '.join('%02x' % b for b in msg.data))
        else:
            print(i, tick, 'other', msg.type)
)";

} // namespace

TempDir::TempDir() : path_(MakeTempFolder("ostinel-tool-")) {}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

RunResult RunTool(const std::vector<std::string>& args) {
    const TempDir scratch;
    std::string command = ShellQuote(OSTINEL_TOOL_PATH);
    for (const std::string& arg : args)
        command += " " + ShellQuote(arg);
    command += " 2>" + ShellQuote((scratch / "stderr").string());
    RunResult result;
    result.status = Capture(command, result.out);
    result.err = ReadText(scratch / "stderr");
    return result;
}

fs::path ExamplesDir() {
    return OSTINEL_EXAMPLES_DIR;
}
fs::path PluginPath() {
    return OSTINEL_PLUGIN_PATH;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void WriteMidi(const fs::path& path, const smf::MidiFile& file) {
    WriteBytes(path, smf::Write(file));
}

smf::Track NotesTrack(std::uint8_t channel,
                      const std::vector<std::pair<std::uint32_t, std::uint8_t>>& notes,
                      std::uint32_t length, std::uint8_t velocity) {
    smf::Track track;
    for (const auto& [tick, note] : notes) {
        track.AddChannel(tick, static_cast<std::uint8_t>(0x90 | channel), note, velocity);
        track.AddChannel(tick + length, static_cast<std::uint8_t>(0x80 | channel), note, 64);
    }
    std::stable_sort(track.events.begin(), track.events.end(),
                     [](const smf::Event& a, const smf::Event& b) { return a.tick < b.tick; });
    return track;
}

const std::optional<std::string>& MidoPython() {
    static const std::optional<std::string> python = []() -> std::optional<std::string> {
        for (const char* candidate : {"python3", "/usr/bin/python3"}) {
            const std::string command =
                std::string(candidate) + " -c \"import mido\" >/dev/null 2>&1";
            if (std::system(command.c_str()) == 0)
                return candidate;
        }
        return std::nullopt;
    }();
    return python;
}

std::vector<std::string> MidoListing(const fs::path& path) {
    const TempDir scratch;
    WriteText(scratch / "list.py", kListScript);
    std::string out;
    const int status = Capture(*MidoPython() + " " + ShellQuote((scratch / "list.py").string()) +
                                   " " + ShellQuote(path.string()) + " 2>&1",
                               out);
    EXPECT_EQ(status, 0) << out;
    std::vector<std::string> lines;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::vector<MidoNote> MidoNotes(const std::vector<std::string>& listing) {
    std::vector<MidoNote> notes;
    for (const std::string& line : listing) {
        std::istringstream in(line);
        MidoNote n{};
        std::string kind;
        if (!(in >> n.track >> n.tick >> kind) || (kind != "on" && kind != "off"))
            continue;
        in >> n.channel >> n.note >> n.velocity;
        n.on = kind == "on";
        notes.push_back(n);
    }
    return notes;
}

std::string PairingProblem(const std::vector<MidoNote>& notes) {
    std::map<std::tuple<int, int, int>, int> sounding; // track, channel, note -> count
    for (const MidoNote& n : notes) {
        int& count = sounding[{n.track, n.channel, n.note}];
        if (n.on) {
            ++count;
        } else if (count == 0) {
            return "note-off without note-on: track " + std::to_string(n.track) + " tick " +
                   std::to_string(n.tick) + " note " + std::to_string(n.note);
        } else {
            --count;
        }
    }
    for (const auto& [key, count] : sounding)
        if (count != 0)
            return "note left sounding: track " + std::to_string(std::get<0>(key)) + " note " +
                   std::to_string(std::get<2>(key));
    return {};
}

long SummaryValue(const std::string& out, const std::string& label) {
    const std::size_t at = out.find("  " + label + " ");
    if (at == std::string::npos)
        return -1;
    std::istringstream in(out.substr(at + label.size() + 2));
    long value = -1;
    in >> value;
    return value;
}

} // namespace ostinel::cli::test
