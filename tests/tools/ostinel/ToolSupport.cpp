#include "tools/ostinel/ToolSupport.h"

#include "common/Utf.h"
#include "midi/SmfWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ostinel::cli::test {

namespace {

fs::path MakeTempFolder(const char* prefix) {
#if defined(_WIN32)
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path path =
            fs::temp_directory_path() / (std::string(prefix) + std::to_string(random()));
        std::error_code ec;
        if (fs::create_directory(path, ec))
            return path;
    }
    throw std::runtime_error("cannot create a temporary folder");
#else
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
#endif
}

#if !defined(_WIN32)
// A home of our own for the whole test process (and the tool it starts). Under wine the whole
// prefix is a temporary one already.
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
#endif

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

#if defined(_WIN32)
// One argument as the C runtime's command-line parser reads it back.
std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote is escaped.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\'); // before the closing quote
    return out + L"\"";
}

HANDLE InheritableFile(const fs::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
#else
std::string ShellQuote(const std::string& text) {
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
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
#endif

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

RunResult RunProgram(const fs::path& program, const std::vector<std::string>& args) {
    const TempDir scratch;
    RunResult result;
#if defined(_WIN32)
    std::wstring command = QuoteArgument(program.wstring());
    for (const std::string& arg : args)
        command += L" " + QuoteArgument(Utf8ToWide(arg));
    HANDLE out = InheritableFile(scratch / "stdout");
    HANDLE err = InheritableFile(scratch / "stderr");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
        CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code))
            result.status = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    result.out = ReadText(scratch / "stdout");
#else
    std::string command = ShellQuote(PathToUtf8(program));
    for (const std::string& arg : args)
        command += " " + ShellQuote(arg);
    command += " 2>" + ShellQuote((scratch / "stderr").string());
    result.status = Capture(command, result.out);
#endif
    result.err = ReadText(scratch / "stderr");
    return result;
}

RunResult RunTool(const std::vector<std::string>& args) {
    return RunProgram(ToolPath(), args);
}

fs::path ToolPath() {
    return PathFromUtf8(OSTINEL_TOOL_PATH);
}
fs::path ExamplesDir() {
    return PathFromUtf8(OSTINEL_EXAMPLES_DIR);
}
fs::path PluginPath() {
    return PathFromUtf8(OSTINEL_PLUGIN_PATH);
}
fs::path TestDataDir() {
    return PathFromUtf8(OSTINEL_TOOL_TEST_DATA);
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
#if !defined(_WIN32)
        for (const char* candidate : {"python3", "/usr/bin/python3"}) {
            const std::string command =
                std::string(candidate) + " -c \"import mido\" >/dev/null 2>&1";
            if (std::system(command.c_str()) == 0)
                return candidate;
        }
#endif
        return std::nullopt;
    }();
    return python;
}

std::vector<std::string> MidoListing(const fs::path& path) {
    std::vector<std::string> lines;
#if defined(_WIN32)
    ADD_FAILURE() << "mido runs on the Linux side only: " << PathToUtf8(path);
#else
    const TempDir scratch;
    WriteText(scratch / "list.py", kListScript);
    std::string out;
    const int status = Capture(*MidoPython() + " " + ShellQuote((scratch / "list.py").string()) +
                                   " " + ShellQuote(path.string()) + " 2>&1",
                               out);
    EXPECT_EQ(status, 0) << out;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
#endif
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
