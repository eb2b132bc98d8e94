#include "vsthost/PluginInstance.h"

#include "ostinel/VendorRequests.h"
#include "vsthost/HostError.h"

#include <algorithm>
#include <cstring>

namespace ostinel::vsthost {

using namespace vst;

PluginInstance::PluginInstance(MainEntry entry, Host& host, Startup startup) : host_(host) {
    effect_ = host_.CreateEffect(entry);
    if (effect_ == nullptr)
        throw HostError("the plug-in refused to create an instance");
    if (effect_->magic != kEffectMagic || effect_->dispatcher == nullptr) {
        effect_ = nullptr; // not something we can close either
        throw HostError("the plug-in's effect record is not a VST 2.4 record");
    }
    const auto channels = [](VstInt32 n) { return static_cast<std::size_t>(std::max(n, 2)); };
    inputs_.resize(channels(effect_->numInputs));
    outputs_.resize(channels(effect_->numOutputs));
    inputPointers_.resize(inputs_.size());
    outputPointers_.resize(outputs_.size());
    if (startup == Startup::Created)
        return;
    try {
        Dispatch(effOpen);
        if (startup == Startup::Running) {
            const HostSettings& settings = host_.Settings();
            Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(settings.sampleRate));
            Dispatch(effSetBlockSize, 0, settings.blockSize);
            Dispatch(effMainsChanged, 0, 1);
            running_ = true;
        }
    } catch (...) {
        // The destructor does not run for a half-made object: close the instance here.
        Close();
        throw;
    }
}

PluginInstance::~PluginInstance() {
    if (effect_ != nullptr)
        Close();
}

VstIntPtr PluginInstance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    if (effect_ == nullptr)
        return 0;
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

VstIntPtr PluginInstance::Close() {
    if (running_)
        Dispatch(effMainsChanged, 0, 0);
    running_ = false;
    const VstIntPtr result = Dispatch(effClose);
    effect_ = nullptr;
    return result;
}

std::string PluginInstance::Text(VstInt32 opcode, VstInt32 index, std::size_t size) {
    constexpr std::size_t kSpare = 256;
    constexpr char kUntouched = '\x7f';
    std::vector<char> buffer(size + kSpare, kUntouched);
    Dispatch(opcode, index, 0, buffer.data());
    for (std::size_t i = size; i < buffer.size(); ++i)
        if (buffer[i] != kUntouched)
            throw HostError("the plug-in wrote a text past its buffer");
    return std::string(buffer.data(), strnlen(buffer.data(), size));
}

bool PluginInstance::Seed(std::uint32_t seed) {
    return Dispatch(effVendorSpecific, kSeedRequest, static_cast<VstIntPtr>(seed)) == 1;
}

std::vector<std::uint8_t> PluginInstance::GetChunk(bool isPreset) {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr)
        return {};
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return {bytes, bytes + size};
}

VstIntPtr PluginInstance::SetChunk(std::span<const std::uint8_t> bytes, bool isPreset) {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end()); // the ABI passes a non-const
    return Dispatch(effSetChunk, isPreset ? 1 : 0, static_cast<VstIntPtr>(copy.size()),
                    copy.empty() ? nullptr : copy.data());
}

void PluginInstance::SendEvents(EventBlock& events) {
    Dispatch(effProcessEvents, 0, 0, events.Get());
}

void PluginInstance::Process(std::int32_t frames) {
    if (effect_ == nullptr)
        return;
    const auto n = static_cast<std::size_t>(std::max(frames, 0));
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        inputs_[i].assign(n, 0.0f);
        inputPointers_[i] = inputs_[i].data();
    }
    for (std::size_t i = 0; i < outputs_.size(); ++i) {
        outputs_[i].assign(n, kUnwrittenSample);
        outputPointers_[i] = outputs_[i].data();
    }
    effect_->processReplacing(effect_, inputPointers_.data(), outputPointers_.data(), frames);
}

int PluginInstance::Play(std::span<const VstMidiEvent> events, std::int32_t frames,
                         const Transport& transport, std::vector<MidiMessage>& out) {
    frames = std::clamp(frames, 1, host_.Settings().blockSize);
    host_.MoveTransport(transport);
    host_.ClearReceived(); // output outside a block has no place in it
    if (!events.empty()) {
        block_.Assign(events);
        SendEvents(block_);
    }
    Process(frames);
    out.insert(out.end(), host_.Received().begin(), host_.Received().end());
    const int largest = host_.LargestList();
    host_.ClearReceived();
    return largest;
}

} // namespace ostinel::vsthost
