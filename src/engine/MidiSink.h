#pragma once
// Where the engine writes its MIDI output: the module's output queue on the audio thread.
// Channels are 0-based; data bytes are passed through unmasked, as the writers store them.
#include <cstdint>

namespace ostinel {

class IMidiSink {
public:
    virtual void SendNoteOn(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity,
                            std::int32_t deltaFrames) noexcept = 0;
    virtual void SendNoteOff(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity,
                             std::int32_t deltaFrames) noexcept = 0;

protected:
    ~IMidiSink() = default;
};

} // namespace ostinel
