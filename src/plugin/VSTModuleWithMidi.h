#pragma once
// MIDI event intake and the output event queue.
//
// The output queue belongs to the audio thread: the MIDI handler and the processing handler
// write it there and the flush after each processing call hands it to the host. Events from
// the GUI thread (the note preview) go through a separate lock-free FIFO that the audio thread
// drains into the queue just before the flush; delayed events (the preview's note-offs) wait in
// a second FIFO until enough samples have been processed.
#include "plugin/CustomVSTModule.h"
#include "plugin/ThreadHandoffs.h"

#include <array>
#include <cstdint>

namespace ostinel {

class TVSTModuleWithMidi : public TCustomVSTModule {
public:
    static constexpr int kQueueCapacity = 1023;
    static constexpr int kEventRecords = 1024;

    TVSTModuleWithMidi();

    // effProcessEvents comes once per block: it skips the handler chain of the other opcodes.
    vst::VstIntPtr DispatchOpcode(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value,
                                  void* ptr, float opt) override {
        if (opcode == vst::effProcessEvents)
            return HandleProcessEvents(ptr);
        return TCustomVSTModule::DispatchOpcode(opcode, index, value, ptr, opt);
    }
    vst::VstIntPtr HandleOpcode(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value,
                                void* ptr, float opt) override;

    // Walks a host event list in order (audio thread).
    virtual void ProcessEvents(const vst::VstEvents& events) noexcept;
    // The walk itself: calls handle(const VstMidiEvent&) for each MIDI event of the list, in
    // order. SysEx and other event types have no handler in this plug-in.
    template <typename F> static void ForEachMidiEvent(const vst::VstEvents& events, F&& handle) {
        for (vst::VstInt32 i = 0; i < events.numEvents; ++i) {
            const vst::VstEvent* event = events.events[i];
            if (event != nullptr && event->type == vst::kVstMidiType)
                handle(*reinterpret_cast<const vst::VstMidiEvent*>(event));
        }
    }

    // Output writers (audio thread). Channel 0..15 is added to the status base unmasked.
    // Inline: the mapping writes several events per note.
    void SendNoteOn(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity,
                    std::int32_t deltaFrames) noexcept {
        Write(static_cast<std::uint8_t>(0x90 + channel), note, velocity, deltaFrames);
    }
    void SendNoteOff(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity,
                     std::int32_t deltaFrames) noexcept {
        Write(static_cast<std::uint8_t>(0x80 + channel), note, velocity, deltaFrames);
    }
    void SendControlChange(std::uint8_t channel, std::uint8_t controller, std::uint8_t value,
                           std::int32_t deltaFrames) noexcept {
        Write(static_cast<std::uint8_t>(0xB0 + channel), controller, value, deltaFrames);
    }
    void SendPolyPressure(std::uint8_t channel, std::uint8_t note, std::uint8_t pressure,
                          std::int32_t deltaFrames) noexcept {
        Write(static_cast<std::uint8_t>(0xA0 + channel), note, pressure, deltaFrames);
    }
    void SendPitchBend(std::uint8_t channel, std::uint8_t low, std::uint8_t high,
                       std::int32_t deltaFrames) noexcept {
        Write(static_cast<std::uint8_t>(0xE0 + channel), low, high, deltaFrames);
    }
    void SendChannelPressure(std::uint8_t channel, std::uint8_t pressure,
                             std::int32_t deltaFrames) noexcept {
        Write(static_cast<std::uint8_t>(0xD0 + channel), pressure, 0, deltaFrames);
    }

    // Hands the queue to the host and empties it (audio thread, after each processing call).
    void FlushOutputEvents() noexcept;
    [[nodiscard]] int QueuedEventCount() const noexcept { return outputEvents_.numEvents; }

    // GUI thread: queue short MIDI messages for the audio thread. Each message goes out at
    // the first flush that comes its `delaySamples` or more processed samples after the audio
    // thread took it in (0: the next flush). Returns false, queuing nothing, when the FIFO
    // cannot take all of them.
    bool QueueFromGuiThread(const TGuiEvent* events, int count) noexcept;
    [[nodiscard]] std::int32_t DelaySamples(double seconds) const noexcept;

protected:
    // The MIDI handler, called once per MIDI event of the host's list (audio thread).
    virtual void ProcessMidi(const vst::VstMidiEvent& /*event*/) noexcept {}
    // Audio thread: move due GUI events into the output queue; counts processed samples.
    void DrainGuiEvents(std::int32_t processedFrames) noexcept;

private:
    vst::VstIntPtr HandleProcessEvents(void* ptr) noexcept {
        if (ptr != nullptr)
            ProcessEvents(*static_cast<const vst::VstEvents*>(ptr));
        return 1;
    }
    void Write(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
               std::int32_t deltaFrames) noexcept {
        // Beyond 1023 queued events each further write lands in the uncounted last record.
        vst::VstMidiEvent& e = records_[static_cast<std::size_t>(outputEvents_.numEvents)];
        e.type = vst::kVstMidiType;
        e.midiData[0] = status;
        e.midiData[1] = data1;
        e.midiData[2] = data2;
        e.deltaFrames = deltaFrames;
        if (outputEvents_.numEvents < kQueueCapacity)
            ++outputEvents_.numEvents;
    }

    struct TOutputEvents {
        vst::VstInt32 numEvents;
        vst::VstIntPtr reserved;
        vst::VstEvent* events[2048];
    };
    struct TPending {
        std::uint8_t status = 0, data1 = 0, data2 = 0;
        std::int64_t dueSample = 0; // set by the audio thread when taken in
    };

    TOutputEvents outputEvents_{};
    std::array<vst::VstMidiEvent, kEventRecords> records_{};
    TGuiToAudioEvents guiToAudio_;
    std::array<TPending, 512> delayed_{}; // audio thread only, a ring in due order
    std::size_t delayedHead_ = 0, delayedCount_ = 0;
    std::int64_t processedSamples_ = 0; // audio thread only
};

} // namespace ostinel
