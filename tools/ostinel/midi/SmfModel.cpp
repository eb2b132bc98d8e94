#include "midi/SmfModel.h"

#include "midi/SmfError.h"
#include "midi/Vlq.h"

#include <limits>
#include <string>

namespace ostinel::smf {

namespace {

int SmpteRateCode(uint16_t division) {
    return -static_cast<int>(static_cast<int8_t>(static_cast<uint8_t>(division >> 8)));
}

} // namespace

const char* DivisionProblem(uint16_t division) {
    if (!IsSmpteDivision(division)) {
        return division == 0 ? "division of 0 ticks per quarter note" : nullptr;
    }
    const int rate = SmpteRateCode(division);
    if (rate != 24 && rate != 25 && rate != 29 && rate != 30) {
        return "SMPTE division with an unknown frame rate";
    }
    return SmpteTicksPerFrame(division) == 0 ? "SMPTE division of 0 ticks per frame" : nullptr;
}

double SmpteFramesPerSecond(uint16_t division) {
    const int rate = SmpteRateCode(division);
    return rate == 29 ? 30000.0 / 1001.0 : static_cast<double>(rate);
}

std::span<const uint8_t> Track::Data(const Event& event) const {
    if (!event.IsMeta() && !event.IsSysEx()) {
        return {};
    }
    if (event.dataOffset > payload.size() || event.dataSize > payload.size() - event.dataOffset) {
        throw Error("MIDI event data lies outside its track's payload");
    }
    return std::span<const uint8_t>(payload).subspan(event.dataOffset, event.dataSize);
}

void Track::Add(const Event& event, std::span<const uint8_t> data) {
    Event added = event;
    if (event.IsChannel()) {
        if (event.data1 > 0x7F || event.data2 > 0x7F) {
            throw Error("MIDI data byte above 0x7F in a " + HexByte(event.status) + " message");
        }
        if (ChannelDataBytes(event.status) == 1) {
            added.data2 = 0;
        }
        added.metaType = 0;
        added.dataOffset = 0;
        added.dataSize = 0;
    } else if (event.IsMeta() || event.IsSysEx()) {
        if (data.size() > kMaxVlq) {
            throw Error("MIDI meta or SysEx data longer than a track can hold");
        }
        constexpr auto kMax = std::numeric_limits<uint32_t>::max();
        if (payload.size() > kMax - data.size()) {
            throw Error("MIDI track payload too large");
        }
        added.data1 = 0;
        added.data2 = 0;
        if (!event.IsMeta()) {
            added.metaType = 0;
        }
        added.dataOffset = static_cast<uint32_t>(payload.size());
        added.dataSize = static_cast<uint32_t>(data.size());
        payload.insert(payload.end(), data.begin(), data.end());
    } else {
        throw Error("Invalid MIDI status byte " + HexByte(event.status));
    }
    events.push_back(added);
}

void Track::AddChannel(uint32_t tick, uint8_t status, uint8_t data1, uint8_t data2) {
    if (status < 0x80 || status >= 0xF0) {
        throw Error("Invalid MIDI channel status byte " + HexByte(status));
    }
    Event event;
    event.tick = tick;
    event.status = status;
    event.data1 = data1;
    event.data2 = data2;
    Add(event);
}

void Track::AddMeta(uint32_t tick, uint8_t type, std::span<const uint8_t> data) {
    Event event;
    event.tick = tick;
    event.status = kMetaStatus;
    event.metaType = type;
    Add(event, data);
}

void Track::AddSysEx(uint32_t tick, uint8_t status, std::span<const uint8_t> data) {
    if (status != kSysExStatus && status != kSysExEscapeStatus) {
        throw Error("Invalid MIDI SysEx status byte " + HexByte(status));
    }
    Event event;
    event.tick = tick;
    event.status = status;
    Add(event, data);
}

} // namespace ostinel::smf
