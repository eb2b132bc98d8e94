#pragma once
// The Ostinel module: the note map, the mapping of MIDI events with the list of sounding notes,
// the transport flush and the note preview.
//
// Threads: the MIDI handler and the processing handler run on the audio thread; they read the
// note map pinned for one event list (TNoteMapStore) and own the sounding-note list. The GUI
// thread edits the map, loads states (published whole), previews rows through the module's
// GUI event FIFO and collects played and learned notes at editor idle.
#include "editor/map/MapEditorModule.h"
#include "engine/NoteMapStore.h"
#include "engine/NoteMapper.h"
#include "services/VSTPluginBase.h"

#include <atomic>

namespace ostinel {

class IMapEditor;

[[nodiscard]] TVSTModuleConfig OstinelConfig();

class TVSTPlugin : public TVSTPluginBase, public IMapEditorModule {
public:
    TVSTPlugin();
    ~TVSTPlugin() override;

    void VSTModuleCreate() override;
    void ApplyStyle() override;

    // GUI thread: the note map to show and edit.
    [[nodiscard]] TOstinel& Mapping() noexcept { return maps_.Edit(); }
    [[nodiscard]] TNoteMapStore& MapStore() noexcept override { return maps_; }
    [[nodiscard]] TVSTPluginBase& PluginBase() noexcept override { return *this; }
    // GUI thread: counts the rewrites of the whole state (host chunks, presets, Init).
    [[nodiscard]] std::uint32_t StateGeneration() const noexcept override {
        return stateGeneration_.load(std::memory_order_acquire);
    }

    // Audio thread (and tests between blocks): the notes started and not yet released.
    [[nodiscard]] const TMidiNoteList& SoundingNotes() const noexcept {
        return mapper_.SoundingNotes();
    }
    [[nodiscard]] int LearnedNote() const noexcept { return learnedNote_.Peek(); }
    [[nodiscard]] double LastSamplePos() const noexcept { return lastSamplePos_; }

    // GUI thread: plays every target of row `note` of `channel` (0-based) now and releases
    // them 250 ms of processed audio later. Never blocks. False when the preview FIFO is full.
    bool PreviewNote(int channel, int note, int velocity) override;

    void ResetState() override;

protected:
    void ProcessEvents(const vst::VstEvents& events) noexcept override;
    void ProcessMidi(const vst::VstMidiEvent& event) noexcept override;
    bool OnProcess32Replacing(float** inputs, float** outputs,
                              std::int32_t frames) noexcept override;
    void OnEditIdle() override;
    vst::VstIntPtr OnVendorSpecific(vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                                    float opt) override;
    void WriteState(TValueWriter& writer) override;
    void ReadState(TValueReader& reader, const std::string& version) override;
    void BeginStateUpdate() override { maps_.BeginBulkUpdate(); }
    void EndStateUpdate() noexcept override {
        maps_.EndBulkUpdate();
        if (!maps_.InBulkUpdate())
            stateGeneration_.fetch_add(1, std::memory_order_acq_rel);
    }

private:
    class TQueueSink final : public IMidiSink {
    public:
        explicit TQueueSink(TVSTModuleWithMidi& module) : module_(module) {}
        void SendNoteOn(std::uint8_t c, std::uint8_t n, std::uint8_t v,
                        std::int32_t d) noexcept override {
            module_.SendNoteOn(c, n, v, d);
        }
        void SendNoteOff(std::uint8_t c, std::uint8_t n, std::uint8_t v,
                         std::int32_t d) noexcept override {
            module_.SendNoteOff(c, n, v, d);
        }

    private:
        TVSTModuleWithMidi& module_;
    };

    void MapMidi(const TOstinel& map, const vst::VstMidiEvent& event) noexcept;
    void NoteOn(const TOstinel& map, int ch, int note, int velocity,
                std::int32_t deltaFrames) noexcept;
    void NoteOff(const TOstinel& map, int ch, int note, int velocity,
                 std::int32_t deltaFrames) noexcept;
    // Only notes of the shown channel while an editor is open are queued for highlighting.
    void Highlight(const TOstinel& map, int ch, int note, bool on) noexcept {
        if (ch == map.SelectedChannel() && EditorOpen())
            QueueHighlight(note, on);
    }
    void QueueHighlight(int note, bool on) noexcept;
    void TransportCheck() noexcept;
    [[nodiscard]] IMapEditor* MapEditor() const noexcept;

    TNoteMapStore maps_;
    TNoteMapper mapper_;
    TQueueSink sink_{*this};
    const TOstinel* audioMap_ = nullptr; // pinned while an event list is mapped
    TAudioToGuiLearnedNote learnedNote_;
    std::atomic<std::uint32_t> stateGeneration_{0};
    double lastSamplePos_ = 0.0;         // audio thread
    TAudioToGuiPlayedNotes playedNotes_; // of the shown channel, for the highlights
};

} // namespace ostinel
