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

    [[nodiscard]] const std::string& PresetName() const noexcept { return presetName_; }
    void SetPresetName(const std::string& name);
    [[nodiscard]] const std::string& UserFolder() const noexcept { return userFolder_; }
    [[nodiscard]] const std::string& PresetsFolder() const noexcept { return presetsFolder_; }
    [[nodiscard]] std::string PresetPath(const std::string& name) const {
        return presetsFolder_ + name + kPresetExtension;
    }
    [[nodiscard]] const std::string& PluginVersion() const noexcept { return pluginVersion_; }
    [[nodiscard]] const std::string& UserGuideFile() const noexcept { return userGuideFile_; }

    [[nodiscard]] TMidiCCList& MidiCCs() noexcept { return midiCCs_; }
    [[nodiscard]] TVSTParameterValues& ParameterValues() noexcept { return parameterValues_; }
    // Call after changing MidiCCs or ParameterValues so the audio thread sees the change.
    void ResolveCCAssignments() noexcept;

    [[nodiscard]] std::uint8_t LearnState() const noexcept {
        return learnState_.load(std::memory_order_acquire);
    }
    void SetLearnState(std::uint8_t state) noexcept {
        learnState_.store(state, std::memory_order_release);
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
    [[nodiscard]] int LowestOctave() const noexcept { return lowestOctave_; }
    [[nodiscard]] int Style() const noexcept { return style_; }
    void LoadSettings();
    void SaveSettings();
    void SetLowestOctave(int octave);
    void SetStyle(int style);
    // Activates the skin of Style(); runs before every editor opening. Nothing here: the
    // product, which knows the GUI, overrides it.
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
    void SetPluginVersion(std::string v) { pluginVersion_ = std::move(v); }
    void SetUserGuideFile(std::string v) { userGuideFile_ = std::move(v); }

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
        explicit TStateUpdate(TVSTPluginBase& base) : base_(base) { base_.BeginStateUpdate(); }
        ~TStateUpdate() { base_.EndStateUpdate(); }
        TStateUpdate(const TStateUpdate&) = delete;
        TStateUpdate& operator=(const TStateUpdate&) = delete;

    private:
        TVSTPluginBase& base_;
    };

private:
    class TModuleSection;

    std::string presetName_;
    std::string userFolder_;
    int lowestOctave_ = -2;
    TMidiCCList midiCCs_;
    std::atomic<std::uint8_t> learnState_{kLearnNone};
    TVSTParameterValues parameterValues_;
    std::string presetsFolder_;
    int style_ = 0;
    std::string userGuideFile_;
    std::string pluginVersion_;
    std::optional<TMessage> pendingMessage_;
    std::unique_ptr<TMemoryStreamChunk> storeChunk_;
    // Audio thread's view of the CC assignments: parameter index per controller, or -1.
    std::array<std::atomic<std::int16_t>, 128> ccParameter_{};
};

// "Error loading preset." and the like: the sentence, CR LF CR LF, the quoted error.
[[nodiscard]] TMessage ErrorMessage(const std::string& sentence, const std::string& error,
                                    const std::string& caption);

} // namespace ostinel
