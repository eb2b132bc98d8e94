#pragma once
// The plug-in's state stream, as stored in host chunks and preset files (inside the "mmst"
// chunk): the signature, a header list (version, preset name, two texts written empty), the
// concrete module's section in a list of its own, then the list of MIDI CC assignments
// ([name, number] each); states from before the assignments hold a lone end of list there.
// The plug-in and the command-line tool both go through here so their bytes cannot drift.
// GUI thread (or any one thread: nothing here is shared).
#include "state/MidiCCList.h"

#include <array>
#include <string>

namespace ostinel {

class TValueReader;
class TValueWriter;

struct TStateHeader {
    std::string Version;
    std::string PresetName;
    std::array<std::string, 2> Reserved; // the plug-in writes them empty and ignores them
};

// The concrete module's section; the stream puts it between its own list brackets.
class IModuleStateSection {
public:
    virtual void WriteSection(TValueWriter& writer) = 0;
    // Runs as soon as the preset name is read, so an error anywhere after it (even in the rest
    // of the header) leaves the name taken.
    virtual void PresetNameRead(const std::string& /*name*/) {}
    virtual void ReadSection(TValueReader& reader, const TStateHeader& header) = 0;

protected:
    ~IModuleStateSection() = default;
};

void WriteStateStream(TValueWriter& writer, const TStateHeader& header, IModuleStateSection& module,
                      const TMidiCCList& ccs);

// Reads a whole stream. `ccs` is cleared and refilled only when the stream has the CC section
// (a name met twice updates its entry). Errors throw ostinel::Error; what was read before the
// error stays where it went.
TStateHeader ReadStateStream(TValueReader& reader, IModuleStateSection& module, TMidiCCList& ccs);

} // namespace ostinel
