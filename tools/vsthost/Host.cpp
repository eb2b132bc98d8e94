#include "vsthost/Host.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace ostinel::vsthost {

using namespace vst;

namespace {

// Host requests beyond the ones the plug-in ABI header declares.
constexpr VstInt32 kGetSampleRate = 16;
constexpr VstInt32 kGetBlockSize = 17;
constexpr VstIntPtr kUnknownHostVersion = 2400;

// VstTimeInfo flags: which fields hold values.
constexpr VstInt32 kPpqPosValid = 1 << 9;
constexpr VstInt32 kTempoValid = 1 << 10;

// The host whose entry-point call is running on this thread.
thread_local Host* tCreating = nullptr;

} // namespace

Host::Host(HostSettings settings) : settings_(settings) {
    timeInfo.sampleRate = settings_.sampleRate;
    timeInfo.tempo = 120.0;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
}

VstIntPtr Host::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                         void* ptr, float opt) {
    Host* host = effect != nullptr && effect->resvd1 != 0 ? reinterpret_cast<Host*>(effect->resvd1)
                                                          : tCreating;
    if (host == nullptr)
        return opcode == audioMasterVersion ? kUnknownHostVersion : 0;
    return host->Answer(effect, opcode, index, value, ptr, opt);
}

AEffect* Host::CreateEffect(MainEntry entry) {
    struct CreatingScope {
        explicit CreatingScope(Host* host) : previous(std::exchange(tCreating, host)) {}
        ~CreatingScope() { tCreating = previous; }
        CreatingScope(const CreatingScope&) = delete;
        CreatingScope& operator=(const CreatingScope&) = delete;
        Host* previous;
    };
    AEffect* effect = nullptr;
    {
        const CreatingScope scope(this);
        effect = entry(&Host::Callback);
    }
    if (effect != nullptr && effect->magic == kEffectMagic)
        effect->resvd1 = reinterpret_cast<VstIntPtr>(this);
    return effect;
}

VstIntPtr Host::Answer(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    switch (opcode) {
    case audioMasterVersion:
        return version;
    case audioMasterGetTime:
        return provideTimeInfo ? reinterpret_cast<VstIntPtr>(&timeInfo) : 0;
    case audioMasterProcessEvents:
        if (ptr != nullptr)
            Receive(*static_cast<const VstEvents*>(ptr));
        return 1;
    case audioMasterGetProductString:
        if (ptr != nullptr) {
            const std::size_t n = std::min(productString.size(), kVstMaxProductStrLen - 1);
            std::memcpy(ptr, productString.data(), n);
            static_cast<char*>(ptr)[n] = '\0';
        }
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

void Host::MoveTransport(const Transport& transport) {
    timeInfo.samplePos = transport.samplePos;
    timeInfo.sampleRate = settings_.sampleRate;
    timeInfo.tempo = transport.tempo;
    timeInfo.ppqPos = transport.ppqPos;
    timeInfo.flags = kTempoValid | kPpqPosValid | (transport.playing ? kVstTransportPlaying : 0);
}

void Host::ClearReceived() {
    received_.clear();
    largestList_ = 0;
}

void Host::Receive(const VstEvents& events) {
    largestList_ = std::max(largestList_, static_cast<int>(events.numEvents));
    for (VstInt32 i = 0; i < events.numEvents; ++i) {
        const VstEvent* event = events.events[i];
        if (event == nullptr || event->type != kVstMidiType)
            continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        received_.push_back(
            {midi->midiData[0], midi->midiData[1], midi->midiData[2], midi->deltaFrames});
    }
}

} // namespace ostinel::vsthost
