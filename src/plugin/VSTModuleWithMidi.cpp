#include "plugin/VSTModuleWithMidi.h"

#include <cmath>

namespace ostinel {

using namespace vst;

TVSTModuleWithMidi::TVSTModuleWithMidi() {
    for (std::size_t i = 0; i < fRecords.size(); ++i) {
        fRecords[i].type = kVstMidiType;
        fRecords[i].byteSize = 24;
        fOutputEvents.events[i] = reinterpret_cast<VstEvent*>(&fRecords[i]);
    }
}

VstIntPtr TVSTModuleWithMidi::HandleOpcode(VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                           void* ptr, float opt) {
    if (opcode == effProcessEvents)
        return HandleProcessEvents(ptr);
    return TCustomVSTModule::HandleOpcode(opcode, index, value, ptr, opt);
}

void TVSTModuleWithMidi::ProcessEvents(const VstEvents& events) noexcept {
    ForEachMidiEvent(events, [this](const VstMidiEvent& event) { ProcessMidi(event); });
}

void TVSTModuleWithMidi::FlushOutputEvents() noexcept {
    if (fOutputEvents.numEvents > 0) {
        CallHost(audioMasterProcessEvents, 0, 0, &fOutputEvents);
        fOutputEvents.numEvents = 0;
    }
}

std::int32_t TVSTModuleWithMidi::DelaySamples(double seconds) const noexcept {
    const double rate = SampleRate() > 0 ? static_cast<double>(SampleRate()) : 44100.0;
    return static_cast<std::int32_t>(std::lround(seconds * rate));
}

bool TVSTModuleWithMidi::QueueFromGuiThread(const TGuiEvent* events, int count) noexcept {
    return fGuiToAudio.Push(events, count);
}

void TVSTModuleWithMidi::DrainGuiEvents(std::int32_t processedFrames) noexcept {
    fProcessedSamples += processedFrames;
    fGuiToAudio.Drain([this](const TGuiEvent& e) {
        if (e.delaySamples <= 0) {
            Write(e.status, e.data1, e.data2, 0);
            return;
        }
        if (fDelayedCount == fDelayed.size()) {
            // No room to wait: send the earliest now rather than lose it.
            const TPending& oldest = fDelayed[fDelayedHead];
            Write(oldest.status, oldest.data1, oldest.data2, 0);
            fDelayedHead = (fDelayedHead + 1) % fDelayed.size();
            --fDelayedCount;
        }
        TPending& slot = fDelayed[(fDelayedHead + fDelayedCount) % fDelayed.size()];
        slot = {e.status, e.data1, e.data2, fProcessedSamples + e.delaySamples};
        ++fDelayedCount;
    });
    // Delays are measured from the end of the block that took the event in.
    while (fDelayedCount > 0) {
        const TPending& head = fDelayed[fDelayedHead];
        if (head.dueSample > fProcessedSamples)
            break;
        Write(head.status, head.data1, head.data2, 0);
        fDelayedHead = (fDelayedHead + 1) % fDelayed.size();
        --fDelayedCount;
    }
}

} // namespace ostinel
