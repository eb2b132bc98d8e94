#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/PluginLocation.h"
#include "common/Utf.h"
#include "preset/PresetState.h"
#include "vsthost/Host.h"
#include "vsthost/PluginInstance.h"
#include "vsthost/PluginLibrary.h"

#include <cstdio>
#include <ostream>

namespace ostinel::cli {

namespace {

using namespace vst;

std::string FourCharacters(VstInt32 id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? c : '.';
    }
    return text;
}

std::string Hex(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", value);
    return buffer;
}

std::string FlagNames(VstInt32 flags) {
    struct Flag {
        VstInt32 bit;
        const char* name;
    };
    static constexpr Flag kFlags[] = {
        {effFlagsHasEditor, "has editor"},
        {effFlagsCanReplacing, "can replacing"},
        {effFlagsProgramChunks, "program chunks"},
        {effFlagsIsSynth, "is synth"},
        {effFlagsNoSoundInStop, "no sound in stop"},
        {effFlagsCanDoubleReplacing, "can double replacing"},
    };
    std::string names;
    VstInt32 known = 0;
    for (const Flag& flag : kFlags) {
        known |= flag.bit;
        if ((flags & flag.bit) != 0)
            names += (names.empty() ? "" : ", ") + std::string(flag.name);
    }
    if ((flags & ~known) != 0)
        names += (names.empty() ? "" : ", ") + std::string("other bits ") +
                 Hex(static_cast<std::uint32_t>(flags & ~known));
    return names.empty() ? "none" : names;
}

const char* CategoryName(VstIntPtr category) {
    static constexpr const char* kNames[] = {"unknown",     "effect",      "synth",   "analysis",
                                             "mastering",   "spatializer", "room fx", "surround fx",
                                             "restoration", "offline",     "shell",   "generator"};
    return category >= 0 && category < static_cast<VstIntPtr>(std::size(kNames))
               ? kNames[category]
               : "not a known category";
}

const char* Answer(VstIntPtr answer) {
    return answer > 0 ? "yes" : answer < 0 ? "no" : "don't know";
}

} // namespace

int RunInfo(std::span<const std::string> args, Console& console) {
    const Arguments a(args, {{"--plugin"}});
    if (a.Help()) {
        console.out << kInfoHelp;
        return kExitOk;
    }
    a.ExpectPositional(0, 0, "");
    std::optional<std::filesystem::path> given;
    if (const auto v = a.Value("--plugin"))
        given = PathFromUtf8(*v);
    const vsthost::PluginLibrary library(ResolvePluginPath(given));
    vsthost::Host host;
    vsthost::PluginInstance plugin(library, host);
    const AEffect& e = *plugin.Effect();
    std::ostream& out = console.out;

    out << "Binary:          " << PathText(library.Path()) << "\n"
        << "Entry point:     " << library.EntryName() << "\n"
        << "Effect name:     " << plugin.Text(effGetEffectName) << "\n"
        << "Product:         " << plugin.Text(effGetProductString) << "\n"
        << "Vendor:          " << plugin.Text(effGetVendorString) << "\n"
        << "Vendor version:  " << plugin.Dispatch(effGetVendorVersion) << "\n"
        << "Unique ID:       " << FourCharacters(e.uniqueID) << " ("
        << Hex(static_cast<std::uint32_t>(e.uniqueID)) << ")\n"
        << "Version:         " << e.version << "\n"
        << "VST version:     " << plugin.Dispatch(effGetVstVersion) << "\n"
        << "Category:        " << CategoryName(plugin.Dispatch(effGetPlugCategory)) << "\n"
        << "Flags:           " << Hex(static_cast<std::uint32_t>(e.flags)) << " ("
        << FlagNames(e.flags) << ")\n"
        << "Programs:        " << e.numPrograms << " (current: \"" << plugin.Text(effGetProgramName)
        << "\")\n"
        << "Parameters:      " << e.numParams;
    for (VstInt32 i = 0; i < e.numParams && i < 16; ++i)
        out << (i == 0 ? " (\"" : ", \"") << plugin.Text(effGetParamName, i) << "\""
            << (i + 1 == e.numParams || i == 15 ? ")" : "");
    out << "\n"
        << "Inputs/outputs:  " << e.numInputs << " / " << e.numOutputs << "\n"
        << "Initial delay:   " << e.initialDelay << "\n"
        << "Can do:\n";
    for (const char* question :
         {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent",
          "receiveVstTimeInfo", "offline", "midiProgramNames", "bypass", "2in2out", "0in2out"}) {
        std::string text(question);
        const VstIntPtr answer = plugin.Dispatch(effCanDo, 0, 0, text.data());
        out << "  " << text << std::string(text.size() < 22 ? 22 - text.size() : 1, ' ')
            << Answer(answer) << "\n";
    }
    const std::vector<std::uint8_t> chunk = plugin.GetChunk(true);
    out << "State chunk:     " << chunk.size() << " bytes";
    try {
        const PresetState state = ReadPreset(chunk);
        out << " (state version " << state.version << ")";
    } catch (const Error& error) {
        out << " (not readable: " << error.what() << ")";
    }
    out << "\n";
    return kExitOk;
}

} // namespace ostinel::cli
