#pragma once
// A whole plug-in state as the tool sees it: the header texts, the note map and the CC
// assignments, read from and written to the bytes of a preset file or a saved host chunk with
// the plug-in's own stream code (state/ and engine/MapStream).
#include "engine/Ostin.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ostinel::cli {

// How the state was wrapped: a preset file or program chunk ("mmst" chunk), or a bank chunk
// (a 32-bit little-endian byte count before the program's "mmst" chunk; this plug-in has one
// program).
enum class Container : std::uint8_t { Preset, Bank };

struct CcAssignment {
    std::string parameter;
    std::int32_t number = 0;
};

struct PresetState {
    PresetState();

    Container container = Container::Preset;
    std::string version = "1.00";
    std::string name;
    std::array<std::string, 2> headerTexts; // two texts the plug-in writes empty and ignores
    std::unique_ptr<TOstinel> map;          // never null; the default map after construction
    std::vector<CcAssignment> ccAssignments;
};

// Whether row `note` of `channel` (0-based) differs from the default map in any stored value
// (values compared bit for bit, so -0 differs from 0).
[[nodiscard]] bool RowDiffersFromDefault(const TOstinel& map, int channel, int note);

// The shortest text that reads back as exactly this float ("33.3", "-0", "1e-05").
[[nodiscard]] std::string ShortestText(float value);

// Reads a state the way the plug-in loads it (same value rules, same clamping setters, CC
// assignments with the same name updated in place). Throws ostinel::Error; a stream error
// names its byte offset in the file ("Stream read error at byte 123").
[[nodiscard]] PresetState ReadPreset(std::span<const std::uint8_t> bytes);

// The bytes the plug-in writes for this state (a bank chunk for Container::Bank).
[[nodiscard]] std::vector<std::uint8_t> WritePreset(const PresetState& state);

// The whole file; throws ostinel::Error naming the path when it cannot be read.
[[nodiscard]] std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// Writes to a temporary name beside path and renames it into place, so a failure never leaves a
// partial file under the final name. Throws ostinel::Error naming the path.
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The path as UTF-8 text, for messages.
[[nodiscard]] std::string PathText(const std::filesystem::path& path);

} // namespace ostinel::cli
