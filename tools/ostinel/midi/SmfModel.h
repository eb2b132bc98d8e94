#pragma once
// In-memory model of a Standard MIDI File: absolute-tick events per track, in file order.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ostinel::smf {

inline constexpr uint8_t kMetaStatus = 0xFF;
inline constexpr uint8_t kSysExStatus = 0xF0;       // F0 <len> <bytes after F0>
inline constexpr uint8_t kSysExEscapeStatus = 0xF7; // F7 <len> <bytes sent as they are>

inline constexpr uint8_t kMetaTrackName = 0x03;
inline constexpr uint8_t kMetaEndOfTrack = 0x2F;
inline constexpr uint8_t kMetaTempo = 0x51;
inline constexpr uint8_t kMetaTimeSignature = 0x58;

inline constexpr uint32_t kDefaultMicrosecondsPerQuarter = 500000; // 120 bpm

// Data bytes that follow a channel status byte: 1 for program change (0xCn) and channel
// pressure (0xDn), 2 for the others.
[[nodiscard]] constexpr int ChannelDataBytes(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// One event. Channel messages keep their data bytes inline; meta and SysEx events refer to a
// byte range of the owning Track::payload, so a track costs two vectors, not one allocation per
// event.
struct Event {
    uint32_t tick = 0;       // absolute, in division units from the start of the track
    uint8_t status = 0;      // 0x80..0xEF channel message, 0xF0/0xF7 SysEx, 0xFF meta
    uint8_t metaType = 0;    // meta events only
    uint8_t data1 = 0;       // channel messages only
    uint8_t data2 = 0;       // channel messages with two data bytes only, else 0
    uint32_t dataOffset = 0; // meta and SysEx: first byte in Track::payload
    uint32_t dataSize = 0;   // meta and SysEx: byte count (SysEx F0: the bytes after F0)

    [[nodiscard]] bool IsChannel() const { return status >= 0x80 && status < 0xF0; }
    [[nodiscard]] bool IsMeta() const { return status == kMetaStatus; }
    [[nodiscard]] bool IsSysEx() const {
        return status == kSysExStatus || status == kSysExEscapeStatus;
    }
    [[nodiscard]] uint8_t Kind() const { return status & 0xF0; }    // channel messages
    [[nodiscard]] uint8_t Channel() const { return status & 0x0F; } // 0-based
    [[nodiscard]] bool IsNoteOn() const { return Kind() == 0x90 && data2 != 0; }
    [[nodiscard]] bool IsNoteOff() const {
        return Kind() == 0x80 || (Kind() == 0x90 && data2 == 0);
    }
    [[nodiscard]] bool IsMetaOfType(uint8_t type) const { return IsMeta() && metaType == type; }
    [[nodiscard]] bool IsEndOfTrack() const { return IsMetaOfType(kMetaEndOfTrack); }
};

struct Track {
    std::vector<Event> events;
    std::vector<uint8_t> payload; // meta and SysEx bytes, referenced by events

    // The meta or SysEx bytes of event (empty for channel messages). Throws ostinel::Error if
    // the event's range lies outside payload.
    [[nodiscard]] std::span<const uint8_t> Data(const Event& event) const;

    // Appends a copy of event; for meta and SysEx events data is copied into payload and the
    // event's dataOffset/dataSize are set to it (the given ones are ignored). Throws
    // ostinel::Error for a status byte that is not a channel, meta or SysEx status, a data
    // byte above 0x7F, or data that does not fit a track.
    void Add(const Event& event, std::span<const uint8_t> data = {});
    void AddChannel(uint32_t tick, uint8_t status, uint8_t data1, uint8_t data2 = 0);
    void AddMeta(uint32_t tick, uint8_t type, std::span<const uint8_t> data);
    void AddSysEx(uint32_t tick, uint8_t status, std::span<const uint8_t> data);
};

struct MidiFile {
    uint16_t format = 1;     // 0 or 1
    uint16_t division = 480; // ticks per quarter note, or SMPTE (bit 15 set, see below)
    std::vector<Track> tracks;
};

// Division: bit 15 clear: ticks per quarter note (1..32767). Bit 15 set: the high byte is the
// negative frame rate (-24, -25, -29 for 29.97 drop frame, -30), the low byte ticks per frame.
[[nodiscard]] constexpr bool IsSmpteDivision(uint16_t division) {
    return (division & 0x8000u) != 0;
}
// Null when division is usable, else why not.
[[nodiscard]] const char* DivisionProblem(uint16_t division);
// Frames per second of a valid SMPTE division (29.97 for drop frame).
[[nodiscard]] double SmpteFramesPerSecond(uint16_t division);
[[nodiscard]] constexpr uint32_t SmpteTicksPerFrame(uint16_t division) {
    return division & 0xFFu;
}

} // namespace ostinel::smf
