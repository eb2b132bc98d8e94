#pragma once
// One plug-in instance driven the way a DAW drives it: created through the entry point with a
// Host answering its requests; opened, given sample rate and block size and switched on (as
// far as the chosen startup goes); then per block effProcessEvents and processReplacing;
// switched off and closed on destruction.
//
// Threads: one thread at a time drives an instance (the ABI's audio and GUI threads may be
// two, as in a DAW, if the caller keeps them apart as a DAW does).
#include "plugin/VstAbi.h"
#include "vsthost/EventBlock.h"
#include "vsthost/Host.h"
#include "vsthost/PluginLibrary.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ostinel::vsthost {

class PluginInstance {
public:
    enum class Startup {
        Created, // only the entry point
        Opened,  // effOpen
        Running, // effOpen, effSetSampleRate, effSetBlockSize, effMainsChanged on
    };

    // Throws HostError when the plug-in refuses to create an instance or its effect record is
    // not a VST 2.4 record. `host` must outlive the instance.
    PluginInstance(MainEntry entry, Host& host, Startup startup = Startup::Running);
    PluginInstance(const PluginLibrary& library, Host& host, Startup startup = Startup::Running)
        : PluginInstance(library.Entry(), host, startup) {}
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    // Null once closed.
    [[nodiscard]] vst::AEffect* Effect() const { return effect_; }
    [[nodiscard]] Host& GetHost() const { return host_; }

    // The dispatcher; 0 once closed.
    vst::VstIntPtr Dispatch(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f);
    // Switches the instance off if it runs, then effClose; the instance is gone afterwards.
    vst::VstIntPtr Close();

    // A text the plug-in writes into a buffer of `size` bytes (names, labels, vendor). The
    // buffer has room to spare; a plug-in writing past `size` is reported with HostError.
    [[nodiscard]] std::string Text(vst::VstInt32 opcode, vst::VstInt32 index = 0,
                                   std::size_t size = 256);

    // Seeds the plug-in's process-wide random generator through its vendor-specific request.
    // False when the binary does not answer the request.
    [[nodiscard]] bool Seed(std::uint32_t seed);

    // effGetChunk / effSetChunk of the current program (isPreset) or of the bank. The bytes
    // are copied before the call: the plug-in may not keep host memory.
    [[nodiscard]] std::vector<std::uint8_t> GetChunk(bool isPreset);
    vst::VstIntPtr SetChunk(std::span<const std::uint8_t> bytes, bool isPreset);

    void SendEvents(EventBlock& events);
    // One processReplacing call of `frames` samples. The outputs are filled with
    // kUnwrittenSample first, so a plug-in that leaves them alone is seen.
    void Process(std::int32_t frames = 64);
    void Block(EventBlock& events, std::int32_t frames = 64) {
        SendEvents(events);
        Process(frames);
    }
    // Output channel `channel` of the last Process call.
    [[nodiscard]] std::span<const float> Output(std::size_t channel) const {
        return outputs_.at(channel);
    }

    // One block as a sequencer plays it: the transport moved to `transport`, the events
    // (deltaFrames inside the block) through effProcessEvents when there are any, then
    // processReplacing of `frames` (clamped to 1..blockSize). The MIDI the plug-in sends in the
    // block is appended to `out` (hosts whose Receive keeps the base's list). Returns the size
    // of the largest event list the plug-in handed over in the block.
    int Play(std::span<const vst::VstMidiEvent> events, std::int32_t frames,
             const Transport& transport, std::vector<MidiMessage>& out);

    static constexpr float kUnwrittenSample = 0.5f;

private:
    Host& host_;
    vst::AEffect* effect_ = nullptr;
    bool running_ = false;

    // Host-owned memory handed to the plug-in.
    EventBlock block_;
    std::vector<std::vector<float>> inputs_;
    std::vector<std::vector<float>> outputs_;
    std::vector<float*> inputPointers_;
    std::vector<float*> outputPointers_;
};

} // namespace ostinel::vsthost
