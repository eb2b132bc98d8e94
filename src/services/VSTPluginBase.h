#pragma once
// The maker's common plug-in module: per-user folders, the current preset name, the state
// reset and the state stream around the concrete module's part, MIDI CC assignments, the two
// per-user settings, silent output and the editor-side handlers.
//
// Threads: state, presets, settings and editor handlers run on the GUI thread. The audio
// thread runs the MIDI and processing handlers and reads only atomics kept here for it (the
// learn state and the resolved CC table).
#include "plugin/VSTModule.h"
#include "services/PluginEditor.h"
#include "services/VSTParameterValues.h"
#include "state/MidiCCList.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

namespace ostinel {

class TMemoryStreamChunk;
class TValueReader;
class TValueWriter;

inline constexpr const char* kPresetExtension = ".quorvatp";
inline constexpr std::uint8_t kLearnNone = 0;
inline constexpr std::uint8_t kLearnNote = 3;

class TVSTPluginBase : public TVSTModule {
public:
    explicit TVSTPluginBase(const TVSTModuleConfig& config);
    ~TVSTPluginBase() override;

    // Creation (the base part): folders, settings, the start state.
    void VSTModuleCreate() override;

    [[nodiscard]] const std::string& PresetName() const noexcept { return fPresetName; }
    void SetPresetName(const std::string& name);
    [[nodiscard]] const std::string& UserFolder() const noexcept { return fUserFolder; }
    [[nodiscard]] const std::string& PresetsFolder() const noexcept { return fPresetsFolder; }
    [[nodiscard]] std::string PresetPath(const std::string& name) const {
        return fPresetsFolder + name + kPresetExtension;
    }
    [[nodiscard]] const std::string& PluginVersion() const noexcept { return fPluginVersion; }
    [[nodiscard]] const std::string& UserGuideFile() const noexcept { return fUserGuideFile; }

    [[nodiscard]] TMidiCCList& MidiCCs() noexcept { return fMidiCCs; }
    [[nodiscard]] TVSTParameterValues& ParameterValues() noexcept { return fParameterValues; }
    // Call after changing MidiCCs or ParameterValues so the audio thread sees the change.
    void ResolveCCAssignments() noexcept;

    [[nodiscard]] std::uint8_t LearnState() const noexcept {
        return fLearnState.load(std::memory_order_acquire);
    }
    void SetLearnState(std::uint8_t state) noexcept {
        fLearnState.store(state, std::memory_order_release);
    }

    // Tells the host the state changed: parameter 0 set to its own value.
    void NotifyHostOfChange();
    // The start state: the "init" preset when there is one, else the reset state.
    void LoadInitPreset();
    virtual void ResetState();
    void ResetAllParameterValues();

    // The state stream. Both report their errors as messages and return false.
    bool SaveToChunk(TMemoryStreamChunk& chunk);
    bool LoadFromChunk(TMemoryStreamChunk& chunk, bool checkPresetFile);
    // Reads a chunk file written by SaveToChunk; throws on file or header errors.
    static void LoadChunkFile(TMemoryStreamChunk& chunk, const std::string& path);
    static void SaveChunkFile(const TMemoryStreamChunk& chunk, const std::string& path);

    // Settings.
    [[nodiscard]] int LowestOctave() const noexcept { return fLowestOctave; }
    [[nodiscard]] int Style() const noexcept { return fStyle; }
    void LoadSettings();
    void SaveSettings();
    void SetLowestOctave(int octave);
    void SetStyle(int style);
    virtual void ApplyStyle();

    // Messages for the user. With an editor open they show there at once; otherwise the last
    // one waits for the editor (nothing may block a host while it loads a project).
    void ShowMessageDialog(const TMessage& message);
    [[nodiscard]] std::optional<TMessage> TakePendingMessage();

    // The editor as this layer knows it, or nullptr.
    [[nodiscard]] IPluginEditor* PluginEditor() const noexcept;

    // Audio thread: false until the transport was seen playing.
    bool WasPlaying = false;

protected:
    void SetPluginVersion(std::string v) { fPluginVersion = std::move(v); }
    void SetUserGuideFile(std::string v) { fUserGuideFile = std::move(v); }

    // The concrete module's part of the state.
    virtual void WriteState(TValueWriter& /*writer*/) {}
    virtual void ReadState(TValueReader& /*reader*/, const std::string& /*version*/) {}
    // Bracket a rewrite of the whole state (reset, loads), so the concrete module can build
    // it off to the side and publish it at once.
    virtual void BeginStateUpdate() {}
    virtual void EndStateUpdate() noexcept {}

    // Module handlers.
    void ProcessMidi(const vst::VstMidiEvent& event) noexcept override;
    bool OnProcess32Replacing(float** inputs, float** outputs,
                              std::int32_t frames) noexcept override;
    bool OnEditGetSize(std::int16_t& width, std::int16_t& height) override;
    void OnEditIdle() override;
    void OnEditorOpening() override;
    vst::VstIntPtr OnVendorSpecific(vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                                    float opt) override;
    float OnGetChunkParameter(int index) noexcept override;
    void OnStoreChunk(TVstProgram& program, int index, bool isPreset) override;
    void OnLoadChunk(TVstProgram& program, int index, bool isPreset) override;

    // RAII bracket of BeginStateUpdate/EndStateUpdate; nested brackets join the outermost.
    class TStateUpdate {
    public:
        explicit TStateUpdate(TVSTPluginBase& base) : fBase(base) { fBase.BeginStateUpdate(); }
        ~TStateUpdate() { fBase.EndStateUpdate(); }
        TStateUpdate(const TStateUpdate&) = delete;
        TStateUpdate& operator=(const TStateUpdate&) = delete;

    private:
        TVSTPluginBase& fBase;
    };

private:
    class TModuleSection;

    std::string fPresetName;
    std::string fUserFolder;
    int fLowestOctave = -2;
    TMidiCCList fMidiCCs;
    std::atomic<std::uint8_t> fLearnState{kLearnNone};
    TVSTParameterValues fParameterValues;
    std::string fPresetsFolder;
    int fStyle = 0;
    std::string fUserGuideFile;
    std::string fPluginVersion;
    std::optional<TMessage> fPendingMessage;
    std::unique_ptr<TMemoryStreamChunk> fStoreChunk;
    // Audio thread's view of the CC assignments: parameter index per controller, or -1.
    std::array<std::atomic<std::int16_t>, 128> fCCParameter{};
};

// "Error loading preset." and the like: the sentence, CR LF CR LF, the quoted error.
[[nodiscard]] TMessage ErrorMessage(const std::string& sentence, const std::string& error,
                                    const std::string& caption);

} // namespace ostinel
