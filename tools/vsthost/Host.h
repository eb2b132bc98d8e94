#pragma once
// The host side of the VST 2.4 interface: answers the plug-in's requests as a plain DAW does,
// supplies the time-info record and takes the MIDI events the plug-in sends back.
//
// Threads: the plug-in calls its host on whichever thread it was called on (time info and
// events from the audio thread, editor requests from the GUI thread). Every request reaches
// the Host that created the effect: once the entry point has returned, the effect record's
// host-reserved field (resvd1) points to it; while the entry point runs, before the record's
// address is known, a thread-local pointer stands in. Answer runs on the calling thread; the
// base class keeps what it receives without locks, so one thread drives an instance at a time.
#include "plugin/VstAbi.h"
#include "vsthost/PluginLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ostinel::vsthost {

struct HostSettings {
    double sampleRate = 44100.0;
    std::int32_t blockSize = 512;
};

// A short MIDI message the plug-in sent, at its offset inside the block.
struct MidiMessage {
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::int32_t deltaFrames = 0;
    bool operator==(const MidiMessage&) const = default;
};

// What the time-info record says for one block.
struct Transport {
    double samplePos = 0.0;
    double tempo = 120.0; // beats per minute
    double ppqPos = 0.0;  // quarter notes from the start
    bool playing = true;
};

class Host {
public:
    explicit Host(HostSettings settings = {});
    virtual ~Host() = default;
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The callback handed to entry points: routes each request to the effect's Host. A request
    // no Host can be found for gets the answer of a host that knows nothing (only the version).
    static vst::VstIntPtr OSTINEL_VSTCALL Callback(vst::AEffect* effect, vst::VstInt32 opcode,
                                                   vst::VstInt32 index, vst::VstIntPtr value,
                                                   void* ptr, float opt);

    // Calls the entry point with Callback; this host answers from the first request on. Null
    // when the plug-in refuses; a record that is not a VST 2.4 record is returned unmarked.
    [[nodiscard]] vst::AEffect* CreateEffect(MainEntry entry);

    // One request of the plug-in. The base answers the version, product, time info, sample
    // rate and block size, takes events (Receive) and answers 0 to the rest.
    virtual vst::VstIntPtr Answer(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                                  vst::VstIntPtr value, void* ptr, float opt);

    [[nodiscard]] const HostSettings& Settings() const { return settings_; }
    // The time-info record for the next block: position, tempo, playing.
    void MoveTransport(const Transport& transport);

    // MIDI events received since the last ClearReceived, and the largest list among them.
    [[nodiscard]] const std::vector<MidiMessage>& Received() const { return received_; }
    [[nodiscard]] int LargestList() const { return largestList_; }
    void ClearReceived();

    vst::VstIntPtr version = 2400;
    std::string productString = "Ostinel host";
    bool provideTimeInfo = true; // false: audioMasterGetTime answers 0
    vst::VstTimeInfo timeInfo{};

protected:
    // The events of one audioMasterProcessEvents request; the base keeps the MIDI ones.
    virtual void Receive(const vst::VstEvents& events);

private:
    HostSettings settings_;
    std::vector<MidiMessage> received_;
    int largestList_ = 0;
};

} // namespace ostinel::vsthost
