#include "host/PluginInstance.h"

#include "host/HostError.h"
#include "ostinel/VendorRequests.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace ostinel::cli {

using namespace vst;

namespace {

// Host requests beyond the ones the plug-in ABI header declares.
constexpr VstInt32 kGetSampleRate = 16;
constexpr VstInt32 kGetBlockSize = 17;
constexpr VstIntPtr kHostVstVersion = 2400;
constexpr const char* kHostProduct = "ostinel command-line host";

// VstTimeInfo flags: which fields hold values.
constexpr VstInt32 kPpqPosValid = 1 << 9;
constexpr VstInt32 kTempoValid = 1 << 10;

thread_local PluginInstance* tCalling = nullptr;

} // namespace

// Marks `instance` as the one the plug-in is being called for on this thread.
class PluginInstance::CallScope {
public:
    explicit CallScope(PluginInstance* instance) : previous_(tCalling) { tCalling = instance; }
    ~CallScope() { tCalling = previous_; }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

private:
    PluginInstance* previous_;
};

PluginInstance::PluginInstance(const PluginLibrary& library, const HostSettings& settings)
    : settings_(settings) {
    timeInfo_.sampleRate = settings_.sampleRate;
    timeInfo_.tempo = 120.0;
    timeInfo_.timeSigNumerator = 4;
    timeInfo_.timeSigDenominator = 4;
    {
        CallScope scope(this);
        effect_ = library.CreateEffect(&PluginInstance::HostCallback);
    }
    if (effect_ == nullptr)
        throw HostError("the plug-in refused to create an instance");
    if (effect_->magic != kEffectMagic || effect_->dispatcher == nullptr) {
        effect_ = nullptr; // not something we can close either
        throw HostError("the plug-in's effect record is not a VST 2.4 record");
    }
    try {
        Dispatch(effOpen);
        Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(settings_.sampleRate));
        Dispatch(effSetBlockSize, 0, settings_.blockSize);
        Dispatch(effMainsChanged, 0, 1);

        const auto frames = static_cast<std::size_t>(settings_.blockSize);
        const auto inputs = static_cast<std::size_t>(std::max(effect_->numInputs, 2));
        const auto outputs = static_cast<std::size_t>(std::max(effect_->numOutputs, 2));
        audio_.assign((inputs + outputs) * frames, 0.0f);
        for (std::size_t i = 0; i < inputs; ++i)
            inputs_.push_back(audio_.data() + i * frames);
        for (std::size_t i = 0; i < outputs; ++i)
            outputs_.push_back(audio_.data() + (inputs + i) * frames);
    } catch (...) {
        // The destructor does not run for a half-made object: close the instance here.
        Dispatch(effClose);
        throw;
    }
}

PluginInstance::~PluginInstance() {
    if (effect_ == nullptr)
        return;
    Dispatch(effMainsChanged, 0, 0);
    Dispatch(effClose);
}

VstIntPtr PluginInstance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    CallScope scope(this);
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginInstance::DispatchText(VstInt32 opcode, VstInt32 index) {
    // Larger than any of the ABI's text limits, for plug-ins that overrun them.
    char buffer[512] = {};
    Dispatch(opcode, index, 0, buffer);
    buffer[sizeof buffer - 1] = '\0';
    return std::string(buffer);
}

bool PluginInstance::Seed(std::uint32_t seed) {
    return Dispatch(effVendorSpecific, kSeedRequest, static_cast<VstIntPtr>(seed)) == 1;
}

void PluginInstance::SetPresetChunk(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end()); // the ABI passes a non-const
    Dispatch(effSetChunk, 1, static_cast<VstIntPtr>(copy.size()), copy.data());
}

std::vector<std::uint8_t> PluginInstance::PresetChunk() {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, 1, 0, &data);
    if (size <= 0 || data == nullptr)
        return {};
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

int PluginInstance::Process(std::span<const VstMidiEvent> events, std::int32_t frames,
                            const Transport& transport, std::vector<MidiMessage>& out) {
    frames = std::clamp(frames, 1, settings_.blockSize);
    timeInfo_.samplePos = transport.samplePos;
    timeInfo_.sampleRate = settings_.sampleRate;
    timeInfo_.tempo = transport.tempo;
    timeInfo_.ppqPos = transport.ppqPos;
    timeInfo_.flags = kTempoValid | kPpqPosValid | (transport.playing ? kVstTransportPlaying : 0);

    CallScope scope(this);
    sink_ = &out;
    largestList_ = 0;
    if (!events.empty()) {
        records_.assign(events.begin(), events.end());
        const std::size_t header = offsetof(VstEvents, events);
        eventList_.assign(header + records_.size() * sizeof(VstEvent*), 0);
        const auto count = static_cast<VstInt32>(records_.size());
        std::memcpy(eventList_.data(), &count, sizeof count);
        for (std::size_t i = 0; i < records_.size(); ++i) {
            VstEvent* pointer = reinterpret_cast<VstEvent*>(&records_[i]);
            std::memcpy(eventList_.data() + header + i * sizeof pointer, &pointer, sizeof pointer);
        }
        effect_->dispatcher(effect_, effProcessEvents, 0, 0, eventList_.data(), 0.0f);
    }
    effect_->processReplacing(effect_, inputs_.data(), outputs_.data(), frames);
    sink_ = nullptr;
    return largestList_;
}

void PluginInstance::Collect(const VstEvents& events) {
    largestList_ = std::max(largestList_, static_cast<int>(events.numEvents));
    if (sink_ == nullptr)
        return; // output outside a block: nothing to place it at
    for (VstInt32 i = 0; i < events.numEvents; ++i) {
        const VstEvent* event = events.events[i];
        if (event == nullptr || event->type != kVstMidiType)
            continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        sink_->push_back(
            {midi->midiData[0], midi->midiData[1], midi->midiData[2], midi->deltaFrames});
    }
}

VstIntPtr PluginInstance::Answer(VstInt32 opcode, VstIntPtr, void* ptr) {
    switch (opcode) {
    case audioMasterVersion:
        return kHostVstVersion;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(&timeInfo_);
    case audioMasterProcessEvents:
        if (ptr != nullptr)
            Collect(*static_cast<const VstEvents*>(ptr));
        return 1;
    case audioMasterGetProductString:
        if (ptr != nullptr)
            std::strncpy(static_cast<char*>(ptr), kHostProduct, kVstMaxProductStrLen - 1);
        return 1;
    case audioMasterWantMidi:
    case audioMasterUpdateDisplay:
        return 1;
    case kGetSampleRate:
        return static_cast<VstIntPtr>(settings_.sampleRate);
    case kGetBlockSize:
        return settings_.blockSize;
    default:
        return 0;
    }
}

VstIntPtr PluginInstance::HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr value,
                                       void* ptr, float) {
    if (tCalling != nullptr)
        return tCalling->Answer(opcode, value, ptr);
    // A call from a thread we do not drive: only the version question has a safe answer.
    return opcode == audioMasterVersion ? kHostVstVersion : 0;
}

} // namespace ostinel::cli
