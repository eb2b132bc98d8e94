#include "vsthost/EventBlock.h"

#include <cstring>

namespace ostinel::vsthost {

using namespace vst;

void EventBlock::AddMidi(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                         std::int32_t deltaFrames) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = deltaFrames;
    e.midiData[0] = status;
    e.midiData[1] = data1;
    e.midiData[2] = data2;
    records_.push_back(e);
}

VstEvents* EventBlock::Get() {
    const std::size_t header = offsetof(VstEvents, events);
    list_.assign(header + records_.size() * sizeof(VstEvent*), 0);
    const auto count = static_cast<VstInt32>(records_.size());
    std::memcpy(list_.data() + offsetof(VstEvents, numEvents), &count, sizeof count);
    for (std::size_t i = 0; i < records_.size(); ++i) {
        VstEvent* pointer = reinterpret_cast<VstEvent*>(&records_[i]);
        std::memcpy(list_.data() + header + i * sizeof pointer, &pointer, sizeof pointer);
    }
    return reinterpret_cast<VstEvents*>(list_.data());
}

} // namespace ostinel::vsthost
