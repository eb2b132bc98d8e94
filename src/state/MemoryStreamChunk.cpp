#include "state/MemoryStreamChunk.h"

#include "common/Error.h"
#include "state/ByteOrder.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

namespace ostinel {

namespace {

std::string FileError(const char* message, const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(message) + " \"" + std::string(name.begin(), name.end()) + "\"";
}

} // namespace

void TMemoryStreamChunk::SaveToStream(TMemoryStream& dest) const {
    const size_t size = payload_.Size();
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        throw Error(kChunkTooLarge);
    }
    std::array<uint8_t, kHeaderSize> header{};
    std::copy(kChunkId.begin(), kChunkId.end(), header.begin());
    codec::StoreLE<uint32_t>(header.data() + kChunkId.size(), static_cast<uint32_t>(size));
    dest.Reserve(dest.Position() + kHeaderSize + size);
    dest.Write(header.data(), header.size());
    dest.Write(payload_.Data(), size);
}

void TMemoryStreamChunk::LoadFromStream(TMemoryStream& src) {
    const size_t remaining = src.Remaining();
    if (remaining < kChunkId.size()) {
        throw Error(kChunkHeaderIncomplete);
    }
    const uint8_t* header = src.Data() + src.Position();
    if (!std::equal(kChunkId.begin(), kChunkId.end(), header)) {
        throw Error(kInvalidChunkId);
    }
    if (remaining < kHeaderSize) {
        throw Error(kChunkHeaderIncomplete);
    }
    const auto size = codec::LoadLE<uint32_t>(header + kChunkId.size());
    if (size > remaining - kHeaderSize) {
        throw Error(kStreamReadError);
    }

    TMemoryStream payload;
    if (size == 0) {
        payload.Write(src.Data(), src.Size());
        src.SetPosition(src.Size());
    } else {
        payload.Write(header + kHeaderSize, size);
        src.SetPosition(src.Position() + kHeaderSize + size);
    }
    payload.SetPosition(0);
    payload_ = std::move(payload);
}

void TMemoryStreamChunk::SaveToFile(const std::filesystem::path& path) const {
    TMemoryStream bytes;
    SaveToStream(bytes);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        throw Error(FileError(kCannotCreateFile, path));
    }
    file.write(reinterpret_cast<const char*>(bytes.Data()),
               static_cast<std::streamsize>(bytes.Size()));
    file.flush();
    if (!file) {
        throw Error(kStreamWriteError);
    }
}

void TMemoryStreamChunk::LoadFromFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw Error(FileError(kCannotOpenFile, path));
    }
    // Read in blocks: the size a file reports is not trusted (directories, devices).
    constexpr size_t kBlock = 64 * 1024;
    TMemoryStream bytes;
    while (file) {
        const size_t old = bytes.Size();
        bytes.Resize(old + kBlock);
        file.read(reinterpret_cast<char*>(bytes.Data() + old), kBlock);
        bytes.Resize(old + static_cast<size_t>(file.gcount()));
    }
    if (file.bad() || !file.eof()) {
        throw Error(kStreamReadError);
    }
    bytes.SetPosition(0);
    LoadFromStream(bytes);
}

} // namespace ostinel
