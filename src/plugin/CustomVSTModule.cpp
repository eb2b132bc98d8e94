#include "plugin/CustomVSTModule.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace ostinel {

using namespace vst;

namespace {

struct CanDoName {
    const char* text;
    TVstCanDo capability;
};

constexpr CanDoName kCanDoNames[] = {
    {"sendVstEvents", TVstCanDo::vcdSendVstEvents},
    {"sendVstMidiEvent", TVstCanDo::vcdSendVstMidiEvent},
    {"sendVstTimeInfo", TVstCanDo::vcdSendVstTimeInfo},
    {"receiveVstEvents", TVstCanDo::vcdReceiveVstEvents},
    {"receiveVstMidiEvent", TVstCanDo::vcdReceiveVstMidiEvent},
    {"receiveVstTimeInfo", TVstCanDo::vcdReceiveVstTimeInfo},
    {"offline", TVstCanDo::vcdOffline},
    {"plugAsChannelInsert", TVstCanDo::vcdPlugAsChannelInsert},
    {"plugAsSend", TVstCanDo::vcdPlugAsSend},
    {"mixDryWet", TVstCanDo::vcdMixDryWet},
    {"noRealTime", TVstCanDo::vcdNoRealTime},
    {"multipass", TVstCanDo::vcdMultipass},
    {"metapass", TVstCanDo::vcdMetapass},
    {"1in1out", TVstCanDo::vcd1in1out},
    {"1in2out", TVstCanDo::vcd1in2out},
    {"2in1out", TVstCanDo::vcd2in1out},
    {"2in2out", TVstCanDo::vcd2in2out},
    {"2in4out", TVstCanDo::vcd2in4out},
    {"4in2out", TVstCanDo::vcd4in2out},
    {"4in4out", TVstCanDo::vcd4in4out},
    {"4in8out", TVstCanDo::vcd4in8out},
    {"8in4out", TVstCanDo::vcd8in4out},
    {"8in8out", TVstCanDo::vcd8in8out},
    {"midiProgramNames", TVstCanDo::vcdMidiProgramNames},
    {"LiveWithoutToolbar", TVstCanDo::vcdLiveWithoutToolbar},
    {"conformsToWindowRules", TVstCanDo::vcdConformsToWindowRules},
    {"bypass", TVstCanDo::vcdBypass},
    {"ChainPluginAPI", TVstCanDo::vcdChainPluginAPI},
};

} // namespace

std::intptr_t CanDoAnswer(const TVstCanDos& canDos, const char* text) noexcept {
    if (text == nullptr)
        return 0;
    if (std::strcmp(text, "hasCockosExtensions") == 0)
        return canDos.Contains(TVstCanDo::vcdCockosExtension)
                   ? static_cast<std::intptr_t>(0xBEEF0000u)
                   : 0;
    for (const CanDoName& entry : kCanDoNames)
        if (std::strcmp(text, entry.text) == 0)
            return canDos.Contains(entry.capability) ? 1 : -1;
    return 0;
}

void CopyToHost(void* dest, std::string_view text, std::size_t size) noexcept {
    if (dest == nullptr || size == 0)
        return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(dest, text.data(), n);
    static_cast<char*>(dest)[n] = '\0';
}

TCustomVSTModule::TCustomVSTModule() = default;

TCustomVSTModule::~TCustomVSTModule() {
    ReleaseEditor();
}

void TCustomVSTModule::SetVersion(int major, int minor, int release) noexcept {
    vendorVersion_ = release < 100 ? release + major * 1000 + minor * 100
                                   : release + major * 65536 + minor * 256;
    Effect().version = vendorVersion_;
}

void TCustomVSTModule::SetUniqueID(std::string_view fourChars) noexcept {
    std::uint32_t id = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto c = i < fourChars.size() ? static_cast<std::uint8_t>(fourChars[i]) : 0u;
        id |= static_cast<std::uint32_t>(c) << (24 - 8 * i);
    }
    Effect().uniqueID = static_cast<VstInt32>(id);
}

std::string TCustomVSTModule::UniqueID() const {
    std::string text;
    const auto id = static_cast<std::uint32_t>(Effect().uniqueID);
    for (int shift = 24; shift >= 0; shift -= 8)
        if (const auto c = static_cast<char>((id >> shift) & 0xFF))
            text.push_back(c);
    return text;
}

void TCustomVSTModule::SetFlags(std::int32_t flags) noexcept {
    Effect().flags = flags & 0xFFFF;
}

void TCustomVSTModule::RequestMidi() noexcept {
    CallHost(audioMasterWantMidi, 0, 1);
}

void TCustomVSTModule::SetSampleRate(float rate) {
    if (rate != sampleRate_) {
        sampleRate_ = rate;
        OnSampleRateChange();
    }
}

void TCustomVSTModule::SetBlockSize(std::int32_t size) {
    if (size != blockSize_) {
        blockSize_ = size;
        OnBlockSizeChange();
    }
}

VstIntPtr TCustomVSTModule::PinProperties(VstInt32 index, void* ptr, bool output) const {
    const int count = output ? NumOutputs() : NumInputs();
    if (ptr == nullptr || index < 0 || index >= count)
        return 0;
    auto* pin = static_cast<VstPinProperties*>(ptr);
    char text[64];
    std::snprintf(text, sizeof text, "%s%d", output ? "Output #" : "Input #", index + 1);
    CopyToHost(pin->label, text, sizeof pin->label);
    std::snprintf(text, sizeof text, "%s%d", output ? "Out" : "In", index + 1);
    CopyToHost(pin->shortLabel, text, sizeof pin->shortLabel);
    if (count == 1)
        pin->arrangementType = 0;
    else if (count == 2)
        pin->arrangementType = 1;
    else if (count == 4)
        pin->arrangementType = 11;
    pin->flags = kVstPinIsActive | (count == 2 ? kVstPinIsStereo : 0);
    return 1;
}

VstIntPtr TCustomVSTModule::EditGetRect(void* ptr) {
    if (ptr == nullptr)
        return 0;
    *static_cast<ERect**>(ptr) = &editorRect_;
    editorRect_.top = 0;
    editorRect_.left = 0;
    if (!OnEditGetSize(editorRect_.right, editorRect_.bottom)) {
        editorRect_.bottom = 32;
        editorRect_.right = 64;
    }
    if (editorForm_ == nullptr)
        return 0;
    editorRect_.bottom =
        static_cast<std::int16_t>(std::max<int>(editorRect_.bottom, editorForm_->ClientHeight()));
    editorRect_.right =
        static_cast<std::int16_t>(std::max<int>(editorRect_.right, editorForm_->ClientWidth()));
    return 1;
}

VstIntPtr TCustomVSTModule::EditOpen(void* parent) {
    try {
        OnEditorOpening();
    } catch (...) {
        // Reported by the plug-in itself; the opening goes on.
    }
    if (!HasEditorFlag() || parent == nullptr)
        return 0;
    if (editorFormClass_ != nullptr) {
        std::unique_ptr<IEditorForm> form = editorFormClass_(*this);
        if (editorForm_ != nullptr)
            replacedEditorForms_.push_back(std::move(editorForm_));
        editorForm_ = std::move(form);
    }
    if (editorForm_ == nullptr)
        return 0;
    editorOpen_.store(true, std::memory_order_release);
    try {
        editorForm_->PlaceInParent(parent);
    } catch (...) {
        // The window exists; the host still gets 1.
    }
    return 1;
}

VstIntPtr TCustomVSTModule::EditIdle() {
    if (editorForm_ != nullptr)
        editorForm_->HostIdle();
    if (HasEditorFlag() && editorForm_ != nullptr && idleRequest_.Take()) {
        OnEditIdle();
    }
    return 0;
}

void TCustomVSTModule::ReleaseEditor() noexcept {
    editorOpen_.store(false, std::memory_order_release);
    std::unique_ptr<IEditorForm> form = std::move(editorForm_);
    form.reset();
}

VstIntPtr TCustomVSTModule::HandleOpcode(VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                         void* ptr, float opt) {
    switch (opcode) {
    case effSetSampleRate:
        SetSampleRate(opt);
        return 1;
    case effSetBlockSize:
        SetBlockSize(static_cast<std::int32_t>(value));
        return 0;
    case effSetBlockSizeAndSampleRate:
        SetBlockSize(static_cast<std::int32_t>(value));
        SetSampleRate(opt);
        return 1;
    case effMainsChanged:
        if (value != 0)
            RequestMidi();
        return 0;
    case effEditGetRect:
        return EditGetRect(ptr);
    case effEditOpen:
        return EditOpen(ptr);
    case effEditClose:
        if (HasEditorFlag())
            ReleaseEditor();
        return 0;
    case effEditIdle:
        return EditIdle();
    case effIdentify:
        return 0x4E764566; // "NvEf"
    case effGetNumProgramCategories:
        return numCategories_;
    case effConnectInput:
    case effConnectOutput:
        return 1;
    case effGetInputProperties:
        return PinProperties(index, ptr, false);
    case effGetOutputProperties:
        return PinProperties(index, ptr, true);
    case effGetPlugCategory:
        return static_cast<VstIntPtr>(plugCategory_);
    case effSetSpeakerArrangement:
        return value != 0 && ptr != nullptr ? 1 : 0;
    case effGetEffectName:
        if (ptr == nullptr)
            return 0;
        CopyToHost(ptr, effectName_, kVstMaxEffectNameLen);
        return 1;
    case effGetVendorString:
        if (ptr == nullptr)
            return 0;
        CopyToHost(ptr, vendorName_, kVstMaxVendorStrLen);
        return 1;
    case effGetProductString:
        if (ptr == nullptr)
            return 0;
        CopyToHost(ptr, productName_.empty() ? effectName_ : productName_, kVstMaxProductStrLen);
        return 1;
    case effGetVendorVersion:
        return vendorVersion_;
    case effVendorSpecific:
        return OnVendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return CanDoAnswer(canDos_, static_cast<const char*>(ptr));
    case effGetTailSize:
        return tailSize_;
    case effKeysRequired:
        return 1;
    case effGetVstVersion:
        return 2400;
    case effEditKeyDown:
    case effEditKeyUp:
        return keysRequired_ ? 0 : -1;
    case effGetCurrentMidiProgram:
        return -1;
    case effSetTotalSampleToProcess:
        return value;
    case effBeginLoadBank:
    case effBeginLoadProgram:
        if (ptr == nullptr)
            return 0;
        return static_cast<const VstPatchChunkInfo*>(ptr)->pluginUniqueID == Effect().uniqueID ? 1
                                                                                               : -1;
    default:
        return TBasicVSTModule::HandleOpcode(opcode, index, value, ptr, opt);
    }
}

} // namespace ostinel
