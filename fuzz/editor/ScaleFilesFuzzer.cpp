// libFuzzer target for the user's "Scales.txt" and "Input.txt": decoding by byte-order mark,
// line splitting and sorting, the field reader, and the column operations on a scratch map.
// Besides not crashing, it checks that lines come out as valid UTF-8 without line ends, that
// degrees are what a scale may hold, and that the operations write only notes the map allows
// and only where they should.
#include "editor/files/ScaleFiles.h"
#include "state/TextCodec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace ostinel;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void CheckLine(const std::string& line) {
    Check(codec::SanitizeUtf8(line) == line);
    Check(line.find_first_of("\r\n") == std::string::npos);
    const std::string caption = ListEntryCaption(line);
    Check(caption.empty() || IsListEntry(line));
}

void CheckScale(TOstinelChannel& channel, const std::string& line, std::uint32_t seed) {
    const std::vector<int> degrees = ScaleDegrees(line);
    Check(std::is_sorted(degrees.begin(), degrees.end()));
    Check(degrees.empty() || degrees.front() == 0);
    Check(std::all_of(degrees.begin(), degrees.end(), [](int d) { return d >= 0 && d <= 11; }));

    const int source = static_cast<int>(seed % 128);
    const int target = static_cast<int>((seed >> 7) % 3);
    const int base = static_cast<int>((seed >> 9) % 140) - 6;
    const float untouched = channel.Notes[0].Targets[(target + 1) % 3].Note();
    Check(LoadScale(channel, source, target, base, degrees) == !degrees.empty());
    for (int k = 0; k < kMapNotes; ++k) {
        const float note = channel.Notes[k].Targets[target].Note();
        Check(note >= -1 && note <= 127 && note == static_cast<float>(static_cast<int>(note)));
    }
    Check(channel.Notes[0].Targets[(target + 1) % 3].Note() == untouched);
    if (!degrees.empty() && base >= 0 && base <= 127) {
        Check(channel.Notes[source].Targets[target].Note() == static_cast<float>(base));
    }
}

void CheckTemplate(TOstinelChannel& channel, const std::string& line) {
    const TInputTemplate t = ParseInputTemplate(line);
    Check(std::all_of(t.Silenced.begin(), t.Silenced.end(),
                      [](int n) { return n >= 0 && n <= 127; }));
    MapNotesToThemselves(channel, t.First, t.Last);
    SilenceNotes(channel, t.Silenced);
    for (const int n : t.Silenced) {
        for (int k = 0; k < kMapTargets; ++k) {
            Check(channel.Notes[n].Targets[k].Note() == -1);
        }
    }
    const int from = std::max(t.First, 0);
    const int to = std::min(t.Last, 127);
    for (int n = from; n <= to; ++n) {
        const bool silenced =
            std::find(t.Silenced.begin(), t.Silenced.end(), n) != t.Silenced.end();
        Check(channel.Notes[n].Targets[0].Note() == (silenced ? -1.0f : static_cast<float>(n)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> lines = ParseUserList(std::span<const std::uint8_t>(data, size));
    if (lines.size() > 512) {
        // Long files only repeat the per-line work; keep each run short.
        return 0;
    }
    auto map = std::make_unique<TOstinel>();
    std::uint32_t seed = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        seed = (seed ^ data[i]) * 16777619u;
    }
    for (const std::string& line : lines) {
        CheckLine(line);
        CheckScale((*map)[0], line, seed);
        CheckTemplate((*map)[1], line);
        seed = seed * 134775813u + 1u;
    }
    return 0;
}
