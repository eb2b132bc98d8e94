#pragma once
// A host for tests: answers the plug-in's requests the way a DAW does, records what the plug-in
// sends (events, automation, MIDI requests) and supplies a time-info record per block.
// One host at a time per process (the callback has no user pointer of its own).
#include "plugin/VstAbi.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace ostinel::test {

struct MidiOut {
    std::uint8_t status = 0, data1 = 0, data2 = 0;
    std::int32_t deltaFrames = 0;
    bool operator==(const MidiOut&) const = default;
};

struct HostRequest {
    vst::VstInt32 opcode;
    vst::VstInt32 index;
    vst::VstIntPtr value;
    float opt;
};

class FakeHost {
public:
    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    static vst::VstIntPtr OSTINEL_VSTCALL Callback(vst::AEffect* effect, vst::VstInt32 opcode,
                                                   vst::VstInt32 index, vst::VstIntPtr value,
                                                   void* ptr, float opt);

    // Configuration.
    vst::VstIntPtr version = 2400;
    std::string productString = "Ostinel Test Host";
    bool provideTimeInfo = true;
    vst::VstTimeInfo timeInfo{};
    void SetTransport(double samplePos, bool playing) {
        timeInfo.samplePos = samplePos;
        timeInfo.flags = playing ? vst::kVstTransportPlaying : 0;
    }
    // Record events and requests (off in allocation and stress tests: recording allocates).
    bool record = true;
    // Copy each delivered event list into `copied`, as a host taking the events over does
    // (benchmarks). Reserve `copied` first so that copying never allocates.
    bool copyEvents = false;
    std::vector<vst::VstMidiEvent> copied; // the last list delivered

    // What the plug-in sent.
    std::vector<MidiOut> events;             // every MIDI event, all blocks
    std::vector<int> eventsPerFlush;         // event count of each ProcessEvents request
    std::vector<HostRequest> requests;       // every request except ProcessEvents/GetTime
    std::atomic<std::int64_t> eventCount{0}; // always counted
    std::atomic<std::int64_t> flushCount{0};
    std::vector<vst::VstInt32> timeInfoFilters; // value argument of each GetTime
    void Clear() {
        events.clear();
        eventsPerFlush.clear();
        requests.clear();
        timeInfoFilters.clear();
    }
    [[nodiscard]] int CountRequests(vst::VstInt32 opcode) const;

private:
    vst::VstIntPtr Handle(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                          vst::VstIntPtr value, void* ptr, float opt);
};

// Builds a host event list of MIDI events (owns the records).
class EventList {
public:
    EventList& Add(std::uint8_t status, std::uint8_t d1, std::uint8_t d2, std::int32_t delta = 0);
    EventList& AddSysEx(std::int32_t delta = 0);
    [[nodiscard]] vst::VstEvents* Get();
    [[nodiscard]] std::size_t Size() const { return fRecords.size(); }

private:
    std::vector<vst::VstMidiEvent> fRecords;
    std::vector<vst::VstEvent*> fPointers;
    std::vector<std::uint8_t> fStorage;
};

} // namespace ostinel::test
