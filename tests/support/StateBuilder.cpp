#include "support/StateBuilder.h"

#include "engine/MapStream.h"
#include "state/MemoryStream.h"
#include "state/ValueReader.h"
#include "state/ValueWriter.h"

namespace ostinel::test {

std::vector<std::uint8_t> WrapPayload(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> chunk = {'m', 'm', 's', 't'};
    const auto n = static_cast<std::uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i)
        chunk.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    return chunk;
}

std::vector<std::uint8_t> Payload(const std::vector<std::uint8_t>& chunk) {
    return chunk.size() < 8 ? std::vector<std::uint8_t>{}
                            : std::vector<std::uint8_t>(chunk.begin() + 8, chunk.end());
}

std::vector<std::uint8_t> MakeChunk(const TOstinel& map, const StateSpec& spec) {
    TMemoryStream stream;
    TValueWriter w(stream);
    w.WriteSignature();
    w.WriteListBegin();
    w.WriteString(spec.version);
    w.WriteString(spec.presetName);
    w.WriteString("");
    w.WriteString("");
    w.WriteListEnd();
    w.WriteListBegin();
    WriteMapSection(w, map);
    w.WriteListEnd();
    w.WriteListBegin();
    for (const auto& [name, number] : spec.ccs) {
        w.WriteListBegin();
        w.WriteString(name);
        w.WriteInteger(number);
        w.WriteListEnd();
    }
    w.WriteListEnd();
    const auto bytes = stream.Bytes();
    return WrapPayload({bytes.begin(), bytes.end()});
}

std::unique_ptr<TOstinel> MapOfChunk(const std::vector<std::uint8_t>& chunk) {
    const std::vector<std::uint8_t> payload = Payload(chunk);
    TValueReader r(payload);
    r.ReadSignature();
    r.ReadListBegin(); // the header's texts
    while (!r.EndOfList())
        (void)r.ReadString();
    r.ReadListEnd();
    r.ReadListBegin();
    auto map = DefaultMap();
    ReadMapSection(r, *map);
    return map;
}

std::unique_ptr<TOstinel> DefaultMap() {
    return std::make_unique<TOstinel>();
}

} // namespace ostinel::test
