#pragma once
// Reading Standard MIDI Files (format 0 and 1). Every malformed input raises SmfError naming
// the track and byte offset; nothing is allocated from a length that was not checked against
// the input's size first.
//
// Tolerated, since players accept them: unknown chunk types (skipped), a header chunk longer
// than 6 bytes (extra bytes skipped), a track without an end-of-track event, bytes after a
// track's end-of-track event (ignored), running status kept across meta and SysEx events.
#include "midi/SmfModel.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace ostinel::smf {

struct FileHeader {
    uint16_t format = 0;
    uint16_t trackCount = 0;
    uint16_t division = 0;
};

// An event as the pull reader returns it: data views the reader's input bytes (meta and SysEx
// only), valid while those bytes live. event.dataOffset and event.dataSize are 0.
struct EventView {
    Event event;
    std::span<const uint8_t> data;
};

// Pull parser over one MTrk chunk: one event per Next(), no allocation.
class TrackReader {
public:
    // file: the whole file (offsets in errors are file offsets); the chunk body is
    // file[begin, begin + size), already checked to lie inside file.
    TrackReader(std::span<const uint8_t> file, std::size_t begin, std::size_t size,
                std::size_t trackIndex);

    // Fills out with the next event and returns true, or returns false after the track's last
    // event (its end-of-track, which is returned, or the end of the chunk). Throws SmfError.
    [[nodiscard]] bool Next(EventView& out);

    [[nodiscard]] std::size_t TrackIndex() const { return track_; }
    [[nodiscard]] std::size_t ChunkSize() const { return end_ - begin_; }

private:
    [[noreturn]] void Fail(const std::string& what, std::size_t offset) const;
    uint8_t ReadDataByte(uint8_t status);
    uint32_t ReadVlq(const char* what);

    std::span<const uint8_t> file_;
    std::size_t begin_;
    std::size_t pos_;
    std::size_t end_;
    std::size_t track_;
    uint64_t tick_ = 0;
    uint8_t runningStatus_ = 0;
    bool ended_ = false;
};

// Checks the header and the chunk layout of a whole file up front; tracks are then read one by
// one with TrackReader, without building the model.
class Reader {
public:
    // Throws SmfError: missing MThd, short or overlong chunks, format 2 or unknown formats,
    // unusable division, no tracks claimed, track count not matching the header, format 0
    // with more than one track.
    explicit Reader(std::span<const uint8_t> bytes);

    [[nodiscard]] const FileHeader& Header() const { return header_; }
    [[nodiscard]] std::size_t TrackCount() const { return tracks_.size(); }
    // Throws ostinel::Error "Argument out of range" for index >= TrackCount().
    [[nodiscard]] TrackReader Track(std::size_t index) const;

private:
    struct Chunk {
        std::size_t begin;
        std::size_t size;
    };
    std::span<const uint8_t> bytes_;
    FileHeader header_;
    std::vector<Chunk> tracks_;
};

// The whole file as a model; events of each track in file order with absolute ticks,
// end-of-track events included. Throws SmfError.
[[nodiscard]] MidiFile Read(std::span<const uint8_t> bytes);

// Reads the file's bytes and parses them. Throws ostinel::Error when the file cannot be read,
// SmfError when it is malformed.
[[nodiscard]] MidiFile ReadFile(const std::filesystem::path& path);

} // namespace ostinel::smf
