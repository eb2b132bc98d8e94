#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "common/QelCommon.h"
#include "common/Utf.h"
#include "preset/PresetJson.h"
#include "preset/PresetState.h"
#include "preset/PresetText.h"
#include "json/Json.h"

#include <algorithm>
#include <ostream>

namespace ostinel::cli {

namespace {

std::size_t FirstDifference(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<std::size_t>(ia - a.begin());
}

} // namespace

int RunDump(std::span<const std::string> args, Console& console) {
    const Arguments a(args, {{"--format"}, {"--lowest-octave"}});
    if (a.Help()) {
        console.out << kDumpHelp;
        return kExitOk;
    }
    a.ExpectPositional(1, 1, "the preset file to show");
    const std::string format = a.Value("--format").value_or("text");
    if (format != "text" && format != "json")
        throw UsageError("--format must be text or json, not \"" + format + "\"");
    int lowestOctave = -2;
    if (const auto v = a.Value("--lowest-octave"))
        lowestOctave = static_cast<int>(ParseSigned(*v, "--lowest-octave", -2, 0));
    SetOctaveOffset(static_cast<std::int8_t>(lowestOctave));

    const auto path = PathFromUtf8(a.Positional()[0]);
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    PresetState state;
    try {
        state = ReadPreset(bytes);
    } catch (const Error& e) {
        throw Error(PathText(path) + ": " + e.what());
    }
    const std::vector<std::uint8_t> canonical = WritePreset(state);
    if (canonical != bytes)
        console.err << "note: " << PathText(path)
                    << " is not in the form the plug-in writes (first difference at byte "
                    << FirstDifference(bytes, canonical)
                    << "); build writes the plug-in's form of the same state\n";

    if (format == "json") {
        console.out << PresetToJson(state);
        return kExitOk;
    }
    console.out << "File:             " << PathText(path) << " (" << bytes.size() << " bytes, "
                << (state.container == Container::Bank ? "bank chunk" : "preset chunk") << ")\n"
                << PresetToText(state);
    return kExitOk;
}

int RunBuild(std::span<const std::string> args, Console& console) {
    const Arguments a(args, {{"--output", "-o"}});
    if (a.Help()) {
        console.out << kBuildHelp;
        return kExitOk;
    }
    a.ExpectPositional(1, 1, "the JSON file to build from");
    const auto output = a.Value("--output");
    if (!output)
        throw UsageError("missing -o OUT.quorvatp, the preset file to write");
    const auto path = PathFromUtf8(a.Positional()[0]);
    const auto out = PathFromUtf8(*output);
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    PresetState state;
    try {
        state = PresetFromJson(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const Error& e) {
        throw Error(PathText(path) + ": " + e.what());
    }
    const std::vector<std::uint8_t> preset = WritePreset(state);
    WriteFileBytes(out, preset);
    console.out << "Wrote " << PathText(out) << " (" << preset.size() << " bytes)\n";
    return kExitOk;
}

} // namespace ostinel::cli
