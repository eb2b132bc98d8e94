#include "preset/PresetState.h"

#include "common/Error.h"
#include "common/Utf.h"
#include "engine/MapStream.h"
#include "state/BankChunk.h"
#include "state/ByteOrder.h"
#include "state/MemoryStreamChunk.h"
#include "state/StateStream.h"
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

bool StartsWithChunkId(std::span<const std::uint8_t> bytes) {
    const auto& id = TMemoryStreamChunk::kChunkId;
    return bytes.size() >= id.size() && std::equal(id.begin(), id.end(), bytes.begin());
}

// A bank chunk of one program: its count, then exactly that many bytes of "mmst" chunk.
bool IsBankChunk(std::span<const std::uint8_t> bytes) {
    const auto entry = BankEntryAt(bytes, 0);
    return entry && entry->size() >= TMemoryStreamChunk::kHeaderSize &&
           entry->size() == bytes.size() - kBankCountSize && StartsWithChunkId(*entry);
}

// The CC list goes through the plug-in's own list type, so a name met twice is updated in place
// exactly as the plug-in does it.
void ReadStream(TValueReader& r, PresetState& state) {
    TMidiCCList ccs;
    TMapStateSection section(*state.map);
    const TStateHeader header = ReadStateStream(r, section, ccs);
    state.version = header.Version;
    state.name = header.PresetName;
    state.headerTexts = header.Reserved;
    for (const TMidiCCItem& item : ccs.Items())
        state.ccAssignments.push_back({item.ParameterName, item.CCNumber});
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
        const bool sizeZero =
            codec::LoadLE<std::uint32_t>(bytes.data() + chunkOffset +
                                         TMemoryStreamChunk::kChunkId.size()) == 0;
        const std::size_t base = chunkOffset + (sizeZero ? 0 : TMemoryStreamChunk::kHeaderSize);
        throw Error(std::string(e.what()) + " at byte " + std::to_string(base + reader.Position()));
    }
    return state;
}

std::vector<std::uint8_t> WritePreset(const PresetState& state) {
    TMidiCCList ccs;
    for (const CcAssignment& item : state.ccAssignments)
        ccs.SetCC(item.parameter, item.number);
    TMapStateSection section(*state.map);
    TMemoryStreamChunk chunk;
    TValueWriter w(chunk.Payload());
    WriteStateStream(w, {state.version, state.name, state.headerTexts}, section, ccs);

    TMemoryStream out;
    chunk.SaveToStream(out);
    if (state.container == Container::Preset)
        return {out.Bytes().begin(), out.Bytes().end()};
    std::vector<std::uint8_t> bank;
    AppendBankEntry(bank, out.Bytes());
    return bank;
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
