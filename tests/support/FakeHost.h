#pragma once
// A host for tests: answers the plug-in's requests the way a DAW does, records what the plug-in
// sends (events, automation, MIDI requests) and supplies a time-info record per block.
// One host at a time per process: Callback, for entry points called directly, reaches it.
#include "plugin/VstAbi.h"
#include "vsthost/EventBlock.h"
#include "vsthost/Host.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace ostinel::test {

using MidiOut = vsthost::MidiMessage;

struct HostRequest {
    vst::VstInt32 opcode;
    vst::VstInt32 index;
    vst::VstIntPtr value;
    float opt;
};

class FakeHost : public vsthost::Host {
public:
    FakeHost();
    ~FakeHost() override;
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    // The host of this process; throws std::logic_error when there is none.
    [[nodiscard]] static FakeHost& Current();
    static vst::VstIntPtr OSTINEL_VSTCALL Callback(vst::AEffect* effect, vst::VstInt32 opcode,
                                                   vst::VstInt32 index, vst::VstIntPtr value,
                                                   void* ptr, float opt);

    // Configuration (version, productString, provideTimeInfo and timeInfo are the base's).
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

    vst::VstIntPtr Answer(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                          vst::VstIntPtr value, void* ptr, float opt) override;

protected:
    void Receive(const vst::VstEvents& list) override;
};

// Builds a host event list of MIDI events (owns the records).
class EventList : public vsthost::EventBlock {
public:
    EventList& Add(std::uint8_t status, std::uint8_t d1, std::uint8_t d2, std::int32_t delta = 0);
    // A record of the SysEx type that carries note-on bytes: must not be taken as MIDI.
    EventList& AddSysEx(std::int32_t delta = 0);
};

} // namespace ostinel::test
