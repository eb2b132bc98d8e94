#pragma once
// Byte builders and a readable event listing for the MIDI file tests.
#include "midi/SmfModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace ostinel::smf::test {

using Bytes = std::vector<uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

inline Bytes Be32(uint32_t v) {
    return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

inline Bytes Be16(uint16_t v) {
    return {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

inline Bytes Id(const char* id) {
    return Bytes(id, id + 4);
}

// A chunk whose length field matches its body.
inline Bytes Chunk(const char* id, const Bytes& body) {
    return Cat({Id(id), Be32(static_cast<uint32_t>(body.size())), body});
}

inline Bytes Header(uint16_t format, uint16_t tracks, uint16_t division) {
    return Chunk("MThd", Cat({Be16(format), Be16(tracks), Be16(division)}));
}

// A whole file whose header claims exactly the given tracks.
inline Bytes SmfFile(uint16_t format, uint16_t division, std::initializer_list<Bytes> tracks) {
    Bytes out = Header(format, static_cast<uint16_t>(tracks.size()), division);
    for (const Bytes& body : tracks) {
        const Bytes chunk = Chunk("MTrk", body);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

// Names parameterised cases after their "name" member.
struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& param) const {
        return param.param.name;
    }
};

// Appends " 9F" style text.
inline void AppendHex(std::string& out, uint8_t byte) {
    char text[4];
    std::snprintf(text, sizeof text, " %02X", byte);
    out += text;
}

// "tick STATUS data..." per event: channel messages with their data bytes, meta events with
// their type and data, SysEx with the bytes after the status byte.
inline std::vector<std::string> Describe(const Track& track) {
    std::vector<std::string> lines;
    for (const Event& event : track.events) {
        std::string line = std::to_string(event.tick);
        AppendHex(line, event.status);
        if (event.IsChannel()) {
            AppendHex(line, event.data1);
            if (ChannelDataBytes(event.status) == 2) {
                AppendHex(line, event.data2);
            }
        } else {
            if (event.IsMeta()) {
                AppendHex(line, event.metaType);
            }
            line += " [";
            for (const uint8_t byte : track.Data(event)) {
                AppendHex(line, byte);
            }
            line += " ]";
        }
        lines.push_back(line);
    }
    return lines;
}

// A folder of its own under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("ostinel-smf-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace ostinel::smf::test
