// Host event lists are outside data: arbitrary event records (MIDI and other types) with
// arbitrary bytes, in blocks with moving and jumping transport positions.
#include "FuzzPlugin.h"
#include "plugin/VstAbi.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace ostinel::vst;

VstTimeInfo gTime{};
long gEvents = 0;

VstIntPtr OSTINEL_VSTCALL Host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(&gTime);
    case audioMasterProcessEvents: {
        const auto* list = static_cast<const VstEvents*>(ptr);
        if (list->numEvents < 1 || list->numEvents > 1023)
            std::abort(); // the queue never hands over an empty or overfull list
        gEvents += list->numEvents;
        return 1;
    }
    default:
        return 0;
    }
}

AEffect* Plugin() {
    return ostinel::fuzz::SharedPlugin(&Host);
}

} // namespace

// Input: records of 12 bytes: type selector, 3 MIDI bytes, 4 bytes deltaFrames, 4 bytes used
// for the block's transport (position step and playing flag) when the selector says so.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AEffect* e = Plugin();
    std::vector<VstMidiEvent> records;
    std::vector<float> left(64), right(64);
    float* out[2] = {left.data(), right.data()};
    auto flush = [&] {
        std::vector<std::uint8_t> storage(sizeof(VstEvents) + records.size() * sizeof(VstEvent*));
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = static_cast<VstInt32>(records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            VstEvent* p = reinterpret_cast<VstEvent*>(&records[i]);
            std::memcpy(storage.data() + offsetof(VstEvents, events) + i * sizeof p, &p, sizeof p);
        }
        e->dispatcher(e, effProcessEvents, 0, 0, list, 0);
        e->processReplacing(e, nullptr, out, 64);
        records.clear();
    };
    for (std::size_t at = 0; at + 12 <= size; at += 12) {
        const std::uint8_t* r = data + at;
        if (r[0] == 0xFF) { // end of block: move the transport
            std::int32_t step = 0;
            std::memcpy(&step, r + 8, 4);
            gTime.samplePos += static_cast<double>(step % 100000);
            gTime.flags = (r[1] & 1) ? kVstTransportPlaying : 0;
            flush();
            continue;
        }
        VstMidiEvent m{};
        m.type = r[0] % 8 == 0 ? kVstSysExType : (r[0] % 8 == 1 ? 3 : kVstMidiType);
        m.byteSize = 24;
        std::memcpy(&m.deltaFrames, r + 4, 4);
        m.midiData[0] = r[1];
        m.midiData[1] = r[2];
        m.midiData[2] = r[3];
        records.push_back(m);
    }
    flush();
    return 0;
}
