#include "midi/SmfReader.h"

#include "common/Error.h"
#include "midi/SmfError.h"
#include "midi/Vlq.h"

#include <cstring>
#include <fstream>
#include <limits>
#include <string>

namespace ostinel::smf {

namespace {

constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kHeaderBodySize = 6;

uint32_t Be32(std::span<const uint8_t> bytes, std::size_t at) {
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
           (uint32_t{bytes[at + 2]} << 8) | uint32_t{bytes[at + 3]};
}

uint16_t Be16(std::span<const uint8_t> bytes, std::size_t at) {
    return static_cast<uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

bool IdIs(std::span<const uint8_t> bytes, std::size_t at, const char* id) {
    return std::memcmp(bytes.data() + at, id, 4) == 0;
}

} // namespace

TrackReader::TrackReader(std::span<const uint8_t> file, std::size_t begin, std::size_t size,
                         std::size_t trackIndex)
    : file_(file), begin_(begin), pos_(begin), end_(begin + size), track_(trackIndex) {}

void TrackReader::Fail(const std::string& what, std::size_t offset) const {
    throw SmfError(what, offset, track_);
}

uint32_t TrackReader::ReadVlq(const char* what) {
    const VlqRead vlq = DecodeVlq(file_.subspan(pos_, end_ - pos_));
    if (vlq.status == VlqStatus::Truncated) {
        Fail(std::string("track data ends inside a ") + what, end_);
    }
    if (vlq.status == VlqStatus::TooLong) {
        Fail(std::string(what) + " longer than 4 bytes", pos_);
    }
    pos_ += vlq.length;
    return vlq.value;
}

uint8_t TrackReader::ReadDataByte(uint8_t status) {
    if (pos_ >= end_) {
        Fail("track data ends inside a " + HexByte(status) + " message", end_);
    }
    const uint8_t byte = file_[pos_];
    if (byte > 0x7F) {
        Fail("data byte expected in a " + HexByte(status) + " message, found " + HexByte(byte),
             pos_);
    }
    ++pos_;
    return byte;
}

bool TrackReader::Next(EventView& out) {
    if (ended_ || pos_ >= end_) {
        ended_ = true;
        return false;
    }
    const std::size_t eventStart = pos_;
    tick_ += ReadVlq("delta time");
    if (tick_ > std::numeric_limits<uint32_t>::max()) {
        Fail("absolute time beyond 2^32-1 ticks", eventStart);
    }
    if (pos_ >= end_) {
        Fail("track data ends after a delta time", end_);
    }

    out = EventView{};
    out.event.tick = static_cast<uint32_t>(tick_);
    const std::size_t statusAt = pos_;
    const uint8_t first = file_[pos_];
    if (first < 0x80) {
        // Running status: the byte is the first data byte of a repeated channel message.
        if (runningStatus_ == 0) {
            Fail("running status without a previous status byte", statusAt);
        }
        out.event.status = runningStatus_;
    } else {
        ++pos_;
        out.event.status = first;
    }

    const uint8_t status = out.event.status;
    if (status < 0xF0) {
        runningStatus_ = status;
        out.event.data1 = ReadDataByte(status);
        if (ChannelDataBytes(status) == 2) {
            out.event.data2 = ReadDataByte(status);
        }
        return true;
    }
    if (status == kMetaStatus) {
        if (pos_ >= end_) {
            Fail("track data ends inside a meta event", end_);
        }
        out.event.metaType = file_[pos_++];
    } else if (status != kSysExStatus && status != kSysExEscapeStatus) {
        Fail("status byte " + HexByte(status) + " is not allowed in a MIDI file", statusAt);
    }
    const std::size_t lengthAt = pos_;
    const uint32_t length = ReadVlq(status == kMetaStatus ? "meta event length" : "SysEx length");
    if (length > end_ - pos_) {
        Fail((status == kMetaStatus ? "meta event length " : "SysEx length ") +
                 std::to_string(length) + " runs past the end of the track chunk",
             lengthAt);
    }
    out.data = file_.subspan(pos_, length);
    pos_ += length;
    if (out.event.IsEndOfTrack()) {
        ended_ = true; // whatever follows in the chunk is not part of the track
    }
    return true;
}

Reader::Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {
    if (bytes.size() < kChunkHeaderSize || !IdIs(bytes, 0, "MThd")) {
        throw SmfError("not a Standard MIDI File (no MThd header chunk)", 0, std::nullopt);
    }
    const uint32_t headerSize = Be32(bytes, 4);
    if (headerSize < kHeaderBodySize) {
        throw SmfError("header chunk of " + std::to_string(headerSize) +
                           " bytes, at least 6 expected",
                       4, std::nullopt);
    }
    if (headerSize > bytes.size() - kChunkHeaderSize) {
        throw SmfError("header chunk length " + std::to_string(headerSize) +
                           " runs past the end of the file",
                       4, std::nullopt);
    }
    header_.format = Be16(bytes, 8);
    header_.trackCount = Be16(bytes, 10);
    header_.division = Be16(bytes, 12);
    if (header_.format == 2) {
        throw SmfError("format 2 (independent sequences) is not supported", 8, std::nullopt);
    }
    if (header_.format > 2) {
        throw SmfError("unknown format " + std::to_string(header_.format), 8, std::nullopt);
    }
    if (const char* problem = DivisionProblem(header_.division)) {
        throw SmfError(problem, 12, std::nullopt);
    }
    if (header_.trackCount == 0) {
        throw SmfError("header claims no tracks", 10, std::nullopt);
    }
    if (header_.format == 0 && header_.trackCount != 1) {
        throw SmfError("format 0 file claims " + std::to_string(header_.trackCount) +
                           " tracks, exactly 1 expected",
                       10, std::nullopt);
    }

    std::size_t pos = kChunkHeaderSize + headerSize;
    while (pos < bytes.size()) {
        const bool isTrack = bytes.size() - pos >= 4 && IdIs(bytes, pos, "MTrk");
        const std::optional<std::size_t> track =
            isTrack ? std::optional<std::size_t>(tracks_.size()) : std::nullopt;
        if (bytes.size() - pos < kChunkHeaderSize) {
            throw SmfError("truncated chunk header", pos, track);
        }
        const uint32_t size = Be32(bytes, pos + 4);
        if (size > bytes.size() - pos - kChunkHeaderSize) {
            throw SmfError("chunk length " + std::to_string(size) +
                               " runs past the end of the file",
                           pos + 4, track);
        }
        if (isTrack) {
            tracks_.push_back({pos + kChunkHeaderSize, size});
        }
        pos += kChunkHeaderSize + size;
    }
    if (tracks_.size() != header_.trackCount) {
        throw SmfError("header claims " + std::to_string(header_.trackCount) +
                           " tracks but the file holds " + std::to_string(tracks_.size()),
                       10, std::nullopt);
    }
}

TrackReader Reader::Track(std::size_t index) const {
    if (index >= tracks_.size()) {
        throw Error(kArgumentOutOfRange);
    }
    return TrackReader(bytes_, tracks_[index].begin, tracks_[index].size, index);
}

MidiFile Read(std::span<const uint8_t> bytes) {
    const Reader reader(bytes);
    MidiFile file;
    file.format = reader.Header().format;
    file.division = reader.Header().division;
    file.tracks.resize(reader.TrackCount());
    for (std::size_t i = 0; i < reader.TrackCount(); ++i) {
        TrackReader trackReader = reader.Track(i);
        smf::Track& track = file.tracks[i];
        // An event takes at least 2 bytes; most take 3 or 4.
        track.events.reserve(trackReader.ChunkSize() / 3 + 1);
        EventView view;
        while (trackReader.Next(view)) {
            Event event = view.event;
            if (event.IsMeta() || event.IsSysEx()) {
                // The payload is bounded by the chunk size, itself bounded by the input.
                event.dataOffset = static_cast<uint32_t>(track.payload.size());
                event.dataSize = static_cast<uint32_t>(view.data.size());
                track.payload.insert(track.payload.end(), view.data.begin(), view.data.end());
            }
            track.events.push_back(event);
        }
    }
    return file;
}

MidiFile ReadFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in) {
        throw Error("Cannot read MIDI file \"" + path.string() + "\"");
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        throw Error("Cannot read MIDI file \"" + path.string() + "\"");
    }
    return Read(bytes);
}

} // namespace ostinel::smf
