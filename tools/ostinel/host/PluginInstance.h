#pragma once
// One plug-in instance driven the way a DAW drives it: created through the entry point with
// our host callback, opened, given sample rate and block size, switched on; then per block
// effProcessEvents (when there are events) and processReplacing with a playing transport;
// switched off and closed on destruction.
//
// Threads: one thread drives an instance. The plug-in calls the host back synchronously from
// inside our calls, on the calling thread; the callback finds the instance through a
// thread-local pointer set around every call into the plug-in, so it also works while the
// entry point runs, before the effect record's address is known.
#include "host/PluginLibrary.h"
#include "plugin/VstAbi.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ostinel::cli {

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
};

// What the time-info record says for one block.
struct Transport {
    double samplePos = 0.0;
    double tempo = 120.0; // beats per minute
    double ppqPos = 0.0;  // quarter notes from the start
    bool playing = true;
};

class PluginInstance {
public:
    // Throws HostError when the plug-in refuses to create an instance or its effect record is
    // not a VST 2.4 record.
    PluginInstance(const PluginLibrary& library, const HostSettings& settings);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    vst::VstIntPtr Dispatch(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f);
    // A text the plug-in writes into our buffer (names, vendor, canDo-style queries).
    [[nodiscard]] std::string DispatchText(vst::VstInt32 opcode, vst::VstInt32 index = 0);

    [[nodiscard]] const vst::AEffect& Effect() const { return *effect_; }

    // Seeds the plug-in's process-wide random generator through its vendor-specific request.
    // False when the binary does not answer the request.
    [[nodiscard]] bool Seed(std::uint32_t seed);

    // effSetChunk / effGetChunk of the current program (index 1: a preset, not a bank).
    void SetPresetChunk(std::span<const std::uint8_t> bytes);
    [[nodiscard]] std::vector<std::uint8_t> PresetChunk();

    // One block of `frames` (1..blockSize) samples. The events' deltaFrames lie inside the
    // block. The plug-in's MIDI output is appended to `out`. Returns the size of the largest
    // event list the plug-in handed over in this block.
    int Process(std::span<const vst::VstMidiEvent> events, std::int32_t frames,
                const Transport& transport, std::vector<MidiMessage>& out);

    [[nodiscard]] const HostSettings& Settings() const { return settings_; }

private:
    class CallScope;
    static vst::VstIntPtr OSTINEL_VSTCALL HostCallback(vst::AEffect* effect, vst::VstInt32 opcode,
                                                       vst::VstInt32 index, vst::VstIntPtr value,
                                                       void* ptr, float opt);
    vst::VstIntPtr Answer(vst::VstInt32 opcode, vst::VstIntPtr value, void* ptr);
    void Collect(const vst::VstEvents& events);

    HostSettings settings_;
    vst::AEffect* effect_ = nullptr;
    vst::VstTimeInfo timeInfo_{};
    std::vector<MidiMessage>* sink_ = nullptr; // set while Process runs
    int largestList_ = 0;

    // Host-owned memory handed to the plug-in for one block.
    std::vector<vst::VstMidiEvent> records_;
    std::vector<std::uint8_t> eventList_;
    std::vector<float> audio_;
    std::vector<float*> inputs_;
    std::vector<float*> outputs_;
};

} // namespace ostinel::cli
