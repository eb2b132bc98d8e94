#include "plugin/VSTModuleWithMidi.h"

#include <cmath>

namespace ostinel {

using namespace vst;

TVSTModuleWithMidi::TVSTModuleWithMidi() {
    for (std::size_t i = 0; i < records_.size(); ++i) {
        records_[i].type = kVstMidiType;
        records_[i].byteSize = 24;
        outputEvents_.events[i] = reinterpret_cast<VstEvent*>(&records_[i]);
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
    if (outputEvents_.numEvents > 0) {
        CallHost(audioMasterProcessEvents, 0, 0, &outputEvents_);
        outputEvents_.numEvents = 0;
    }
}

std::int32_t TVSTModuleWithMidi::DelaySamples(double seconds) const noexcept {
    const double rate = SampleRate() > 0 ? static_cast<double>(SampleRate()) : 44100.0;
    return static_cast<std::int32_t>(std::lround(seconds * rate));
}

bool TVSTModuleWithMidi::QueueFromGuiThread(const TGuiEvent* events, int count) noexcept {
    return guiToAudio_.Push(events, count);
}

void TVSTModuleWithMidi::DrainGuiEvents(std::int32_t processedFrames) noexcept {
    processedSamples_ += processedFrames;
    guiToAudio_.Drain([this](const TGuiEvent& e) {
        if (e.delaySamples <= 0) {
            Write(e.status, e.data1, e.data2, 0);
            return;
        }
        if (delayedCount_ == delayed_.size()) {
            // No room to wait: send the earliest now rather than lose it.
            const TPending& oldest = delayed_[delayedHead_];
            Write(oldest.status, oldest.data1, oldest.data2, 0);
            delayedHead_ = (delayedHead_ + 1) % delayed_.size();
            --delayedCount_;
        }
        TPending& slot = delayed_[(delayedHead_ + delayedCount_) % delayed_.size()];
        slot = {e.status, e.data1, e.data2, processedSamples_ + e.delaySamples};
        ++delayedCount_;
    });
    // Delays are measured from the end of the block that took the event in.
    while (delayedCount_ > 0) {
        const TPending& head = delayed_[delayedHead_];
        if (head.dueSample > processedSamples_)
            break;
        Write(head.status, head.data1, head.data2, 0);
        delayedHead_ = (delayedHead_ + 1) % delayed_.size();
        --delayedCount_;
    }
}

} // namespace ostinel
