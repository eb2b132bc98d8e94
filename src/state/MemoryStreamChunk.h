#pragma once
// The "mmst" chunk: id, 32-bit little-endian payload size N, N payload bytes. It wraps the
// state stream in the host chunk and in preset files. Used on the GUI thread only.
#include "state/MemoryStream.h"

#include <array>
#include <cstddef>
#include <filesystem>

namespace ostinel {

inline constexpr const char* kInvalidChunkId = "Invalid chunk id";
inline constexpr const char* kChunkHeaderIncomplete = "Chunk header incomplete";
inline constexpr const char* kChunkTooLarge = "Chunk too large";
inline constexpr const char* kCannotCreateFile = "Cannot create file";
inline constexpr const char* kCannotOpenFile = "Cannot open file";

class TMemoryStreamChunk {
public:
    static constexpr std::array<uint8_t, 4> kChunkId{'m', 'm', 's', 't'};
    static constexpr size_t kHeaderSize = 8;

    [[nodiscard]] TMemoryStream& Payload() noexcept { return payload_; }
    [[nodiscard]] const TMemoryStream& Payload() const noexcept { return payload_; }

    // Writes id, N and the whole payload at dest's position. A payload of 2^31 bytes or more
    // fails with "Chunk too large".
    void SaveToStream(TMemoryStream& dest) const;

    // Reads a chunk at src's position. Fewer than 4 bytes: "Chunk header incomplete"; an id
    // other than "mmst": "Invalid chunk id"; the id but fewer than 8 bytes: "Chunk header
    // incomplete"; N (read as unsigned) beyond the bytes that follow: "Stream read error".
    // N == 0 takes the whole of src from its start as payload instead, as this container has
    // always done; the state reader then rejects that payload by its signature. On success src
    // stands after what was taken and the payload's position is 0; on failure neither stream
    // changes.
    void LoadFromStream(TMemoryStream& src);

    // Creates or overwrites the file: "Cannot create file" with the path, or
    // "Stream write error".
    void SaveToFile(const std::filesystem::path& path) const;
    // Reads the whole file and calls LoadFromStream: "Cannot open file" with the path, or
    // "Stream read error".
    void LoadFromFile(const std::filesystem::path& path);

private:
    TMemoryStream payload_;
};

} // namespace ostinel
