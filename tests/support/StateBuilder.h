#pragma once
// Builds state chunks for tests: the header, a note map and the CC assignments, in the chunk
// container the host and preset files use.
#include "engine/Ostin.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ostinel::test {

struct StateSpec {
    std::string version = "1.00";
    std::string presetName;
    std::vector<std::pair<std::string, std::int32_t>> ccs;
};

// The chunk bytes ("mmst", size, stream) of a map and header.
[[nodiscard]] std::vector<std::uint8_t> MakeChunk(const TOstinel& map, const StateSpec& spec = {});
// The chunk container around any payload.
[[nodiscard]] std::vector<std::uint8_t> WrapPayload(const std::vector<std::uint8_t>& payload);
// The payload of a chunk (without the 8-byte header).
[[nodiscard]] std::vector<std::uint8_t> Payload(const std::vector<std::uint8_t>& chunk);

// The note map a chunk holds, read with the module's own reader over a default map; throws
// ostinel::Error when the chunk is not a state.
[[nodiscard]] std::unique_ptr<TOstinel> MapOfChunk(const std::vector<std::uint8_t>& chunk);

// A fresh default map on the heap (the map is large).
[[nodiscard]] std::unique_ptr<TOstinel> DefaultMap();

} // namespace ostinel::test
