#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/PluginLocation.h"
#include "common/QelCommon.h"
#include "common/Utf.h"
#include "mapping/FileMapper.h"
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "preset/NoteLabel.h"
#include "preset/PresetState.h"
#include "preset/TextColumns.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <system_error>

namespace ostinel::cli {

namespace {

namespace fs = std::filesystem;

struct MapJob {
    MapOptions options;
    fs::path plugin;
};

std::string NoteText(const NoteValue& v) {
    return "ch" + Pad(std::to_string(v.channel + 1), 3) + NoteLabel(v.note) + " v" +
           std::to_string(v.velocity);
}

void PrintTable(std::ostream& out, const std::vector<NoteChange>& notes) {
    if (notes.empty())
        return;
    out << "\nFirst " << notes.size() << " notes, before and after:\n";
    out << "      tick  track  before                  after\n";
    for (const NoteChange& change : notes) {
        std::string after;
        for (const NoteValue& v : change.out)
            after += (after.empty() ? "" : ", ") + NoteText(v);
        if (after.empty())
            after = "(dropped)";
        out << PadLeft(std::to_string(change.tick), 10)
            << PadLeft(std::to_string(change.track + 1), 7) << "  " << Pad(NoteText(change.in), 24)
            << after << "\n";
    }
}

void PrintWarnings(std::ostream& err, const MapResult& result) {
    const MapSummary& s = result.summary;
    if (!result.seeded)
        err << "warning: the plug-in binary does not take a seed; results with probabilities "
               "below 100 will differ between runs\n";
    if (s.fullBlocks > 0)
        err << "warning: in " << s.fullBlocks
            << " blocks the plug-in's output list was full; events may be missing (try a "
               "smaller --block)\n";
    if (s.ignoredOut > 0)
        err << "warning: " << s.ignoredOut
            << " returned events were not channel messages and were left out\n";
}

std::string Counted(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "16 program changes, 2 system exclusive, 5 meta events", or "none".
std::string KindsText(const CarriedKinds& kinds) {
    if (kinds.Empty())
        return "none";
    std::string text;
    const auto add = [&text](std::uint64_t n, const char* one, const char* many) {
        if (n > 0)
            text += (text.empty() ? "" : ", ") + Counted(n, one, many);
    };
    add(kinds.programChanges, "program change", "program changes");
    add(kinds.systemExclusive, "system exclusive", "system exclusive");
    add(kinds.meta, "meta event", "meta events");
    return text;
}

void PrintSummary(std::ostream& out, const MapSummary& s) {
    out << "  events in        " << s.eventsIn << "\n"
        << "  events out       " << s.eventsOut << "\n"
        << "  notes remapped   " << s.notesRemapped << "\n"
        << "  notes dropped    " << s.notesDropped << "\n"
        << "  kept: " << KindsText(s.kept) << "; dropped: " << KindsText(s.dropped) << "\n";
    if (s.notesLeftSounding > 0)
        out << "  notes left sounding at the end of IN's tracks: " << s.notesLeftSounding
            << " (the plug-in released the ones it holds with " << s.releasedAtEnd
            << " note-offs at the track's end)\n";
}

std::string ShortSummary(const MapSummary& s) {
    return std::to_string(s.eventsIn) + " events in, " + std::to_string(s.eventsOut) + " out, " +
           std::to_string(s.notesRemapped) + " notes remapped, " + std::to_string(s.notesDropped) +
           " dropped";
}

bool SamePath(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

// Reads, maps and writes one file. Throws ostinel::Error with the input's name in front of
// reading errors.
MapResult MapFile(FileMapper& mapper, const fs::path& in, const fs::path& out) {
    smf::MidiFile file;
    try {
        file = smf::ReadFile(in);
    } catch (const Error& e) {
        throw Error(PathText(in) + ": " + e.what());
    }
    MapResult result = mapper.Map(file);
    const std::vector<std::uint8_t> bytes = smf::Write(result.file);
    WriteFileBytes(out, bytes);
    return result;
}

int MapOne(FileMapper& mapper, const MapJob& job, const fs::path& in, fs::path out,
           Console& console) {
    std::error_code ec;
    if (fs::is_directory(out, ec))
        out /= in.filename();
    if (SamePath(in, out))
        throw Error("the output \"" + PathText(out) + "\" is the input file");
    const MapResult result = MapFile(mapper, in, out);
    console.out << "Mapped " << PathText(in) << " -> " << PathText(out) << "\n"
                << "  plug-in          " << PathText(job.plugin) << "\n"
                << "                   seed " << job.options.seed << ", "
                << job.options.host.sampleRate << " Hz, blocks of " << job.options.host.blockSize
                << " samples\n"
                << "  tracks           " << result.file.tracks.size() << " (format "
                << result.file.format << ")\n";
    PrintSummary(console.out, result.summary);
    PrintTable(console.out, result.firstNotes);
    PrintWarnings(console.err, result);
    return kExitOk;
}

std::vector<fs::path> MidiFilesIn(const fs::path& folder) {
    std::vector<std::pair<std::string, fs::path>> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::string name = PathToUtf8(it->path().filename());
        if (MatchesMask(name, "*.mid") || MatchesMask(name, "*.midi"))
            found.emplace_back(name, it->path());
    }
    if (ec)
        throw Error("cannot list the folder \"" + PathText(folder) + "\": " + ec.message());
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return CompareTextNoCase(a.first, b.first) < 0; });
    std::vector<fs::path> paths;
    for (auto& entry : found)
        paths.push_back(std::move(entry.second));
    return paths;
}

// Progress on a terminal: one line, rewritten in place.
class Progress {
public:
    explicit Progress(Console& console) : console_(console) {}
    void Show(std::size_t done, std::size_t total, const std::string& name) {
        if (!console_.progress)
            return;
        Clear();
        std::string line = "[" + std::to_string(done) + "/" + std::to_string(total) + "] " + name;
        console_.err << line << std::flush;
        width_ = line.size();
    }
    void Clear() {
        if (!console_.progress || width_ == 0)
            return;
        console_.err << '\r' << std::string(width_, ' ') << '\r' << std::flush;
        width_ = 0;
    }

private:
    Console& console_;
    std::size_t width_ = 0;
};

int MapFolder(FileMapper& mapper, const MapJob& job, const fs::path& in, const fs::path& out,
              Console& console) {
    std::error_code ec;
    if (fs::exists(out, ec) && !fs::is_directory(out, ec))
        throw Error("\"" + PathText(out) + "\" is a file; the output of a folder must be a folder");
    if (SamePath(in, out))
        throw Error("the output folder is the input folder; choose another one");
    fs::create_directories(out, ec);
    if (ec)
        throw Error("cannot create the folder \"" + PathText(out) + "\": " + ec.message());

    const std::vector<fs::path> files = MidiFilesIn(in);
    console.out << "Mapping " << files.size() << " files from " << PathText(in) << " to "
                << PathText(out) << " with " << PathText(job.plugin) << "\n";
    Progress progress(console);
    std::size_t failed = 0;
    MapSummary total;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string name = PathToUtf8(files[i].filename());
        progress.Show(i, files.size(), name);
        try {
            const MapResult result = MapFile(mapper, files[i], out / files[i].filename());
            progress.Clear();
            console.out << "  " << name << ": " << ShortSummary(result.summary) << "\n";
            PrintWarnings(console.err, result);
            total += result.summary;
        } catch (const std::exception& e) {
            progress.Clear();
            ++failed;
            console.err << "error: " << e.what() << "\n";
        }
    }
    progress.Show(files.size(), files.size(), "done");
    progress.Clear();
    console.out << "Mapped " << files.size() - failed << " of " << files.size() << " files, "
                << failed << " failed.\n";
    PrintSummary(console.out, total);
    return failed == 0 ? kExitOk : kExitFailure;
}

} // namespace

int RunMap(std::span<const std::string> args, Console& console) {
    const Arguments a(args, {{"--preset"},
                             {"--plugin"},
                             {"--block"},
                             {"--rate"},
                             {"--seed"},
                             {"--table"},
                             {"--like-daw", {}, false}});
    if (a.Help()) {
        console.out << kMapHelp;
        return kExitOk;
    }
    a.ExpectPositional(2, 2, "IN and OUT (a MIDI file and the file to write, or two folders)");
    MapJob job;
    MapOptions& o = job.options;
    if (const auto v = a.Value("--block"))
        o.host.blockSize = static_cast<std::int32_t>(ParseWhole(*v, "--block", 1, 65536));
    if (const auto v = a.Value("--rate"))
        o.host.sampleRate = ParseDecimal(*v, "--rate", 8000, 384000);
    if (const auto v = a.Value("--seed"))
        o.seed = static_cast<std::uint32_t>(ParseWhole(*v, "--seed", 0, 0xFFFFFFFFu));
    if (const auto v = a.Value("--table"))
        o.noteChanges = static_cast<std::size_t>(ParseWhole(*v, "--table", 0, 1000));
    if (a.Has("--like-daw"))
        o.carry = CarryMode::LikeDaw;
    if (const auto v = a.Value("--preset")) {
        try {
            o.preset = ReadFileBytes(PathFromUtf8(*v));
        } catch (const Error& e) {
            throw Error(std::string("preset: ") + e.what());
        }
    }
    const fs::path in = PathFromUtf8(a.Positional()[0]);
    const fs::path out = PathFromUtf8(a.Positional()[1]);
    std::error_code ec;
    if (!fs::exists(in, ec))
        throw Error("\"" + PathText(in) + "\" does not exist");

    std::optional<fs::path> given;
    if (const auto v = a.Value("--plugin"))
        given = PathFromUtf8(*v);
    job.plugin = ResolvePluginPath(given);
    const vsthost::PluginLibrary library(job.plugin);
    std::optional<FileMapper> mapper;
    try {
        mapper.emplace(library, job.options);
    } catch (const Error& e) {
        throw Error(PathText(PathFromUtf8(*a.Value("--preset"))) + ": " + e.what());
    }
    if (fs::is_directory(in, ec))
        return MapFolder(*mapper, job, in, out, console);
    return MapOne(*mapper, job, in, out, console);
}

} // namespace ostinel::cli
