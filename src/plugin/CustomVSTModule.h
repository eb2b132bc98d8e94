#pragma once
// Names, version, identity, flags and capabilities; sample rate and block size; editor hosting
// and the handlers of the general opcodes.
#include "plugin/BasicVSTModule.h"
#include "plugin/EditorForm.h"
#include "plugin/ThreadHandoffs.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ostinel {

// Capabilities answered through effCanDo, in the order of their bits.
enum class TVstCanDo : std::uint8_t {
    vcdSendVstEvents,
    vcdSendVstMidiEvent,
    vcdSendVstTimeInfo,
    vcdReceiveVstEvents,
    vcdReceiveVstMidiEvent,
    vcdReceiveVstTimeInfo,
    vcdOffline,
    vcdPlugAsChannelInsert,
    vcdPlugAsSend,
    vcdMixDryWet,
    vcdNoRealTime,
    vcdMultipass,
    vcdMetapass,
    vcd1in1out,
    vcd1in2out,
    vcd2in1out,
    vcd2in2out,
    vcd2in4out,
    vcd4in2out,
    vcd4in4out,
    vcd4in8out,
    vcd8in4out,
    vcd8in8out,
    vcdMidiProgramNames,
    vcdLiveWithoutToolbar,
    vcdConformsToWindowRules,
    vcdBypass,
    vcdCockosExtension,
    vcdChainPluginAPI,
};

class TVstCanDos {
public:
    constexpr TVstCanDos() = default;
    constexpr TVstCanDos(std::initializer_list<TVstCanDo> items) {
        for (TVstCanDo item : items)
            bits_ |= Bit(item);
    }
    [[nodiscard]] constexpr bool Contains(TVstCanDo item) const { return (bits_ & Bit(item)) != 0; }

private:
    static constexpr std::uint32_t Bit(TVstCanDo item) {
        return std::uint32_t{1} << static_cast<unsigned>(item);
    }
    std::uint32_t bits_ = 0;
};

// effCanDo's answer for a capability text: 1, -1, 0, or 0xBEEF0000 for "hasCockosExtensions".
[[nodiscard]] std::intptr_t CanDoAnswer(const TVstCanDos& canDos, const char* text) noexcept;

enum class TVstPluginCategory : std::int32_t { vpcUnknown = 0, vpcEffect = 1, vpcSynth = 2 };

class TCustomVSTModule : public TBasicVSTModule {
public:
    TCustomVSTModule();
    ~TCustomVSTModule() override;

    vst::VstIntPtr HandleOpcode(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value,
                                void* ptr, float opt) override;

    // Identity and configuration.
    void SetEffectName(std::string v) { effectName_ = std::move(v); }
    void SetProductName(std::string v) { productName_ = std::move(v); }
    void SetVendorName(std::string v) { vendorName_ = std::move(v); }
    [[nodiscard]] const std::string& EffectName() const noexcept { return effectName_; }
    [[nodiscard]] const std::string& ProductName() const noexcept { return productName_; }
    [[nodiscard]] const std::string& VendorName() const noexcept { return vendorName_; }
    void SetVersion(int major, int minor, int release) noexcept;
    [[nodiscard]] std::int32_t VendorVersion() const noexcept { return vendorVersion_; }
    void SetUniqueID(std::string_view fourChars) noexcept;
    [[nodiscard]] std::string UniqueID() const;
    void SetFlags(std::int32_t flags) noexcept;
    void SetPlugCategory(TVstPluginCategory c) noexcept { plugCategory_ = c; }
    void SetCanDos(TVstCanDos canDos) noexcept { canDos_ = canDos; }
    [[nodiscard]] const TVstCanDos& CanDos() const noexcept { return canDos_; }
    void SetNumInputs(int n) noexcept { Effect().numInputs = n; }
    void SetNumOutputs(int n) noexcept { Effect().numOutputs = n; }
    [[nodiscard]] int NumInputs() const noexcept { return Effect().numInputs; }
    [[nodiscard]] int NumOutputs() const noexcept { return Effect().numOutputs; }
    void SetInitialDelay(int n) noexcept { Effect().initialDelay = n; }
    void SetIORatio(float r) noexcept { Effect().ioRatio = r; }
    void SetTailSize(int n) noexcept { tailSize_ = n; }
    void SetKeysRequired(bool v) noexcept { keysRequired_ = v; }
    void SetNumCategories(int n) noexcept { numCategories_ = n; }

    [[nodiscard]] float SampleRate() const noexcept { return sampleRate_; }
    [[nodiscard]] std::int32_t BlockSize() const noexcept { return blockSize_; }

    // Editor hosting (GUI thread).
    void SetEditorFormClass(TEditorFormFactory factory) noexcept { editorFormClass_ = factory; }
    [[nodiscard]] IEditorForm* EditorForm() const noexcept { return editorForm_.get(); }
    [[nodiscard]] const vst::ERect& EditorRect() const noexcept { return editorRect_; }
    // True while an editor window exists; readable on the audio thread.
    [[nodiscard]] bool EditorOpen() const noexcept {
        return editorOpen_.load(std::memory_order_acquire);
    }

    // Set from any thread when the editor-idle handler should run at the next host idle call.
    void RequestEditIdle() noexcept { idleRequest_.Raise(); }
    [[nodiscard]] bool NeedEditIdle() const noexcept { return idleRequest_.Pending(); }

    void RequestMidi() noexcept;

protected:
    // Hooks. OnEditGetSize returns false when it leaves the size to the defaults.
    virtual bool OnEditGetSize(std::int16_t& /*width*/, std::int16_t& /*height*/) { return false; }
    virtual void OnEditIdle() {}
    virtual void OnEditorOpening() {}
    virtual vst::VstIntPtr OnVendorSpecific(vst::VstInt32 /*index*/, vst::VstIntPtr /*value*/,
                                            void* /*ptr*/, float /*opt*/) {
        return 0;
    }
    virtual void OnSampleRateChange() {}
    virtual void OnBlockSizeChange() {}
    // Releases the editor window (effEditClose and destruction).
    void ReleaseEditor() noexcept;

private:
    vst::VstIntPtr EditGetRect(void* ptr);
    vst::VstIntPtr EditOpen(void* parent);
    vst::VstIntPtr EditIdle();
    vst::VstIntPtr PinProperties(vst::VstInt32 index, void* ptr, bool output) const;
    [[nodiscard]] bool HasEditorFlag() const noexcept {
        return (Effect().flags & vst::effFlagsHasEditor) != 0;
    }
    void SetSampleRate(float rate);
    void SetBlockSize(std::int32_t size);

    std::string effectName_, productName_, vendorName_;
    std::int32_t vendorVersion_ = 0;
    TVstPluginCategory plugCategory_ = TVstPluginCategory::vpcUnknown;
    TVstCanDos canDos_;
    std::int32_t tailSize_ = 0;
    bool keysRequired_ = false;
    std::int32_t numCategories_ = 1;
    float sampleRate_ = 44100.0f;
    std::int32_t blockSize_ = 1024;

    TEditorFormFactory editorFormClass_ = nullptr;
    std::unique_ptr<IEditorForm> editorForm_;
    std::vector<std::unique_ptr<IEditorForm>> replacedEditorForms_; // kept until the module goes
    vst::ERect editorRect_{};
    std::atomic<bool> editorOpen_{false};
    TAnyToGuiIdleRequest idleRequest_;
};

// Copies a text into a host buffer of `size` bytes, cut to fit, always zero-terminated.
void CopyToHost(void* dest, std::string_view text, std::size_t size) noexcept;

} // namespace ostinel
