#include "preset/PresetState.h"

#include "common/Error.h"
#include "common/Utf.h"
#include "engine/MapStream.h"
#include "state/MemoryStreamChunk.h"
#include "state/ValueReader.h"
#include "state/ValueWriter.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

namespace ostinel::cli {

namespace {

constexpr std::size_t kBankCountSize = 4;

std::uint32_t LoadLE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool StartsWithChunkId(std::span<const std::uint8_t> bytes) {
    const auto& id = TMemoryStreamChunk::kChunkId;
    return bytes.size() >= id.size() && std::equal(id.begin(), id.end(), bytes.begin());
}

// A bank chunk of one program: its count, then exactly that many bytes of "mmst" chunk.
bool IsBankChunk(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kBankCountSize + TMemoryStreamChunk::kHeaderSize &&
           LoadLE32(bytes.data()) == bytes.size() - kBankCountSize &&
           StartsWithChunkId(bytes.subspan(kBankCountSize));
}

void AddOrUpdate(std::vector<CcAssignment>& list, std::string name, std::int32_t number) {
    for (CcAssignment& item : list)
        if (item.parameter == name) {
            item.number = number;
            return;
        }
    list.push_back({std::move(name), number});
}

void ReadStream(TValueReader& r, PresetState& state) {
    r.ReadSignature();
    r.ReadListBegin();
    state.version = r.ReadString();
    state.name = r.ReadString();
    state.headerTexts[0] = r.ReadString();
    state.headerTexts[1] = r.ReadString();
    r.ReadListEnd();

    r.ReadListBegin();
    ReadMapSection(r, *state.map);
    r.ReadListEnd();

    // The assignment section may be a lone end of list.
    if (!r.EndOfList()) {
        r.ReadListBegin();
        while (!r.EndOfList()) {
            r.ReadListBegin();
            std::string name = r.ReadString();
            const std::int32_t number = r.ReadInteger();
            r.ReadListEnd();
            AddOrUpdate(state.ccAssignments, std::move(name), number);
        }
        r.ReadListEnd();
    }
}

} // namespace

bool RowDiffersFromDefault(const TOstinel& map, int channel, int note) {
    const auto same = [](float a, float b) {
        return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
    };
    const TChannelOstinItem& row = map[channel].Notes[note];
    if (row.SourceNote() != note)
        return true;
    for (int k = 0; k < TOstinTo::Count(); ++k) {
        const TOstinToItem& t = row.Targets[k];
        const float defaultNote = k == 0 ? static_cast<float>(note) : -1.0f;
        if (!same(t.Channel(), static_cast<float>(channel + 1)) || !same(t.Note(), defaultNote) ||
            !same(t.Probability(), 100.0f) || !same(t.VelocityScale(), 0.0f) ||
            !same(t.Random(), 0.0f))
            return true;
    }
    return false;
}

std::string ShortestText(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

PresetState::PresetState() : map(std::make_unique<TOstinel>()) {}

PresetState ReadPreset(std::span<const std::uint8_t> bytes) {
    PresetState state;
    std::size_t chunkOffset = 0;
    if (!StartsWithChunkId(bytes) && IsBankChunk(bytes)) {
        state.container = Container::Bank;
        chunkOffset = kBankCountSize;
    }
    TMemoryStream source;
    source.Write(bytes.data() + chunkOffset, bytes.size() - chunkOffset);
    source.SetPosition(0);
    TMemoryStreamChunk chunk;
    try {
        chunk.LoadFromStream(source);
    } catch (const Error& e) {
        throw Error(std::string("not a plug-in state: ") + e.what());
    }
    TValueReader reader(chunk.Payload().Bytes());
    try {
        ReadStream(reader, state);
    } catch (const Error& e) {
        // A chunk size of 0 makes the whole input the payload (the container's rule).
        const bool sizeZero = LoadLE32(bytes.data() + chunkOffset + 4) == 0;
        const std::size_t base = chunkOffset + (sizeZero ? 0 : TMemoryStreamChunk::kHeaderSize);
        throw Error(std::string(e.what()) + " at byte " + std::to_string(base + reader.Position()));
    }
    return state;
}

std::vector<std::uint8_t> WritePreset(const PresetState& state) {
    TMemoryStreamChunk chunk;
    TValueWriter w(chunk.Payload());
    w.WriteSignature();
    w.WriteListBegin();
    w.WriteString(state.version);
    w.WriteString(state.name);
    w.WriteString(state.headerTexts[0]);
    w.WriteString(state.headerTexts[1]);
    w.WriteListEnd();
    w.WriteListBegin();
    WriteMapSection(w, *state.map);
    w.WriteListEnd();
    w.WriteListBegin();
    for (const CcAssignment& item : state.ccAssignments) {
        w.WriteListBegin();
        w.WriteString(item.parameter);
        w.WriteInteger(item.number);
        w.WriteListEnd();
    }
    w.WriteListEnd();

    TMemoryStream out;
    if (state.container == Container::Bank)
        out.Write("\0\0\0\0", kBankCountSize); // count filled in below
    chunk.SaveToStream(out);
    std::vector<std::uint8_t> bytes(out.Bytes().begin(), out.Bytes().end());
    if (state.container == Container::Bank) {
        const auto n = static_cast<std::uint32_t>(bytes.size() - kBankCountSize);
        for (std::size_t i = 0; i < kBankCountSize; ++i)
            bytes[i] = static_cast<std::uint8_t>(n >> (8 * i));
    }
    return bytes;
}

std::string PathText(const std::filesystem::path& path) {
    return PathToUtf8(path);
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw Error("\"" + PathText(path) + "\" is a folder, not a file");
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw Error("cannot open \"" + PathText(path) + "\"");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (file.bad())
        throw Error("cannot read \"" + PathText(path) + "\"");
    return bytes;
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary = path;
    temporary += ".partial";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
            throw Error("cannot create \"" + PathText(path) + "\"");
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw Error("cannot write \"" + PathText(path) + "\"");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw Error("cannot write \"" + PathText(path) + "\": " + ec.message());
    }
}

} // namespace ostinel::cli
