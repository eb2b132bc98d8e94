#pragma once
// Host-owned events for one effProcessEvents call: the records and the VstEvents list that
// points at them. The list stays valid until the block is changed or destroyed; storage is
// reused, so a block refilled with no more events than before does not allocate.
#include "plugin/VstAbi.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ostinel::vsthost {

class EventBlock {
public:
    void Add(const vst::VstMidiEvent& event) { records_.push_back(event); }
    // A short MIDI message at `deltaFrames` inside the block.
    void AddMidi(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                 std::int32_t deltaFrames = 0);
    void Assign(std::span<const vst::VstMidiEvent> events) {
        records_.assign(events.begin(), events.end());
    }
    void Clear() { records_.clear(); }

    // The list as the plug-in receives it.
    [[nodiscard]] vst::VstEvents* Get();
    [[nodiscard]] std::size_t Size() const { return records_.size(); }
    [[nodiscard]] bool Empty() const { return records_.empty(); }

private:
    std::vector<vst::VstMidiEvent> records_;
    // VstEvents ends in a pointer array longer than its declaration: laid out by hand.
    std::vector<std::uint8_t> list_;
};

} // namespace ostinel::vsthost
