#include "support/FakeHost.h"

#include <cstring>
#include <stdexcept>

namespace ostinel::test {

using namespace vst;

namespace {
FakeHost* gHost = nullptr;
} // namespace

FakeHost::FakeHost() {
    if (gHost != nullptr)
        throw std::logic_error("one FakeHost at a time");
    gHost = this;
    timeInfo.sampleRate = 44100.0;
    timeInfo.tempo = 120.0;
}

FakeHost::~FakeHost() {
    gHost = nullptr;
}

FakeHost& FakeHost::Current() {
    if (gHost == nullptr)
        throw std::logic_error("create a FakeHost before the plug-in instance");
    return *gHost;
}

int FakeHost::CountRequests(VstInt32 opcode) const {
    int n = 0;
    for (const HostRequest& r : requests)
        n += r.opcode == opcode ? 1 : 0;
    return n;
}

VstIntPtr FakeHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                             void* ptr, float opt) {
    return gHost != nullptr ? gHost->Answer(effect, opcode, index, value, ptr, opt) : 0;
}

VstIntPtr FakeHost::Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                           void* ptr, float opt) {
    switch (opcode) {
    case audioMasterGetProductString:
    case audioMasterProcessEvents:
        return Host::Answer(effect, opcode, index, value, ptr, opt);
    case audioMasterGetTime:
        if (record)
            timeInfoFilters.push_back(static_cast<VstInt32>(value));
        return Host::Answer(effect, opcode, index, value, ptr, opt);
    case audioMasterVersion:
        if (record)
            requests.push_back({opcode, index, value, opt});
        return Host::Answer(effect, opcode, index, value, ptr, opt);
    default:
        // Everything else is only recorded: a test host asks for nothing to be done.
        if (record)
            requests.push_back({opcode, index, value, opt});
        return 0;
    }
}

void FakeHost::Receive(const VstEvents& list) {
    flushCount.fetch_add(1, std::memory_order_relaxed);
    eventCount.fetch_add(list.numEvents, std::memory_order_relaxed);
    if (copyEvents) {
        copied.resize(static_cast<std::size_t>(list.numEvents));
        for (VstInt32 i = 0; i < list.numEvents; ++i)
            std::memcpy(&copied[static_cast<std::size_t>(i)], list.events[i], sizeof(VstMidiEvent));
    }
    if (record) {
        eventsPerFlush.push_back(list.numEvents);
        for (VstInt32 i = 0; i < list.numEvents; ++i) {
            const auto* e = reinterpret_cast<const VstMidiEvent*>(list.events[i]);
            events.push_back({e->midiData[0], e->midiData[1], e->midiData[2], e->deltaFrames});
        }
    }
}

EventList& EventList::Add(std::uint8_t status, std::uint8_t d1, std::uint8_t d2,
                          std::int32_t delta) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = 24;
    e.deltaFrames = delta;
    e.midiData[0] = status;
    e.midiData[1] = d1;
    e.midiData[2] = d2;
    EventBlock::Add(e);
    return *this;
}

EventList& EventList::AddSysEx(std::int32_t delta) {
    VstMidiEvent e{};
    e.type = kVstSysExType;
    e.byteSize = 24;
    e.deltaFrames = delta;
    e.midiData[0] = 0x90; // would map if it were taken as MIDI
    e.midiData[1] = 60;
    e.midiData[2] = 100;
    EventBlock::Add(e);
    return *this;
}

} // namespace ostinel::test
