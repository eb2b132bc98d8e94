#pragma once
// Drives one plug-in instance through its VST 2.4 entry points, block by block, as a host does.
// The entry points come either from the plug-in binary loaded at run time (host tests) or from
// the same code linked into the test (unit tests).
#include "plugin/VstAbi.h"
#include "support/FakeHost.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ostinel::test {

using MainEntry = vst::AEffect*(OSTINEL_VSTCALL*)(vst::audioMasterCallback);

struct EntryPoints {
    MainEntry vstPluginMain = nullptr;
    MainEntry main = nullptr;
    void* (*winampGetHeader)() = nullptr;
};

// The entry points under test (defined by PluginBinary.cpp or PluginLinked.cpp).
[[nodiscard]] const EntryPoints& Entries();
[[nodiscard]] std::string EntriesDescription();

class Instance {
public:
    // Creates the instance through VSTPluginMain (or `main`), with the fake host.
    explicit Instance(bool open = true, MainEntry entry = nullptr);
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    [[nodiscard]] vst::AEffect* Effect() const { return fEffect; }
    vst::VstIntPtr Dispatch(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f);
    vst::VstIntPtr Close(); // effClose; the instance is gone afterwards

    void SendEvents(EventList& events);
    // One processReplacing call of `frames` samples into two output channels.
    void Process(std::int32_t frames = 64);
    // A block: events, then the processing call.
    void Block(EventList& events, std::int32_t frames = 64) {
        SendEvents(events);
        Process(frames);
    }

    [[nodiscard]] std::vector<std::uint8_t> GetChunk(bool isPreset);
    vst::VstIntPtr SetChunk(const std::vector<std::uint8_t>& bytes, bool isPreset);
    [[nodiscard]] std::string Text(vst::VstInt32 opcode, vst::VstInt32 index = 0,
                                   std::size_t size = 256);

    std::array<std::vector<float>, 2> outputs;

private:
    vst::AEffect* fEffect = nullptr;
};

} // namespace ostinel::test
