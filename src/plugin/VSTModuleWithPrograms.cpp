#include "plugin/VSTModuleWithPrograms.h"

#include "common/Error.h"
#include "common/QelCommon.h"
#include "platform/System.h"
#include "state/BankChunk.h"

#include <cstring>

namespace ostinel {

using namespace vst;

namespace {

[[noreturn]] void ThrowIndexOutOfBounds(int index) {
    throw Error("Index out of bounds (" + std::to_string(index) + ")");
}

std::string Cut(std::string text, std::size_t maxChars) {
    if (text.size() > maxChars)
        text.resize(maxChars);
    return text;
}

} // namespace

void TVstProgram::SetDisplayName(std::string name) {
    displayName_ = Cut(std::move(name), 50);
}

TCustomVstParameterProperty::TCustomVstParameterProperty(int index)
    : displayName_("Parameter " + std::to_string(index)) {}

void TCustomVstParameterProperty::SetDisplayName(std::string name) {
    displayName_ = Cut(std::move(name), 64);
}

void TCustomVstParameterProperty::SetShortLabel(std::string label) {
    shortLabel_ = Cut(std::move(label), 7);
}

float TCustomVstParameterProperty::ParameterToHost(float x) const noexcept {
    const float v = (x - Min) / (Max - Min);
    if (!(v >= 0.0f))
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

float TCustomVstParameterProperty::HostToParameter(float v) noexcept {
    if (!(v >= 0.0f))
        v = 0.0f;
    else if (v > 1.0f)
        v = 1.0f;
    float x = Min + (Max - Min) * v;
    x = x + (smoothingState_.load(std::memory_order_relaxed) - x) * SmoothingFactor;
    smoothingState_.store(x, std::memory_order_relaxed);
    return x;
}

TVSTModuleWithPrograms::TVSTModuleWithPrograms() = default;

TVstProgram& TVSTModuleWithPrograms::AddProgram(std::string name) {
    programs_.push_back(std::make_unique<TVstProgram>(std::move(name)));
    Effect().numPrograms = ProgramCount();
    if (currentProgram_ < 0)
        currentProgram_ = 0;
    return *programs_.back();
}

TCustomVstParameterProperty& TVSTModuleWithPrograms::AddParameter() {
    parameters_.push_back(std::make_unique<TCustomVstParameterProperty>(ParameterCount()));
    Effect().numParams = ParameterCount();
    return *parameters_.back();
}

void TVSTModuleWithPrograms::SelectProgram(int index) {
    if (ProgramCount() == 0 || index < 0 || index >= ProgramCount() || index == currentProgram_)
        return;
    const bool hadProgram = currentProgram_ >= 0;
    currentProgram_ = index;
    if (hadProgram) {
        // Program-chunk mode stores no parameter values to apply.
        RequestEditIdle();
        CallHost(audioMasterUpdateDisplay);
    }
}

float TVSTModuleWithPrograms::GetParameter(int index) noexcept {
    return OnGetChunkParameter(index);
}

void TVSTModuleWithPrograms::UpdateParameter(int index, float /*value*/) {
    if (!ValidParameter(index))
        ThrowIndexOutOfBounds(index);
    // Program-chunk mode: the value is not stored by the module; the editor is told to look.
    RequestEditIdle();
}

void TVSTModuleWithPrograms::ReportAutomation(int index, float hostValue) noexcept {
    CallHost(audioMasterAutomate, index, 0, nullptr, hostValue);
}

void TVSTModuleWithPrograms::SetParameter(int index, float value) noexcept {
    if (!ValidParameter(index))
        return;
    RequestEditIdle(); // what UpdateParameter does for a valid index
    TCustomVstParameterProperty& property = *parameters_[static_cast<std::size_t>(index)];
    if (property.CanBeAutomated)
        ReportAutomation(index, property.ParameterToHost(value));
}

void TVSTModuleWithPrograms::SetParameterByName(const std::string& name, float value) {
    if (parameters_.empty())
        throw Error("No parameter available!");
    for (int i = 0; i < ParameterCount(); ++i)
        if (parameters_[static_cast<std::size_t>(i)]->DisplayName() == name) {
            SetParameter(i, value);
            return;
        }
    throw Error("Unknown parameter name: " + name);
}

float TVSTModuleWithPrograms::GetParameterForHost(VstInt32 index) noexcept {
    if (!ValidParameter(index))
        return 0.0f;
    return parameters_[static_cast<std::size_t>(index)]->ParameterToHost(GetParameter(index));
}

void TVSTModuleWithPrograms::SetParameterFromHost(VstInt32 index, float value) noexcept {
    if (!ValidParameter(index))
        return; // the size-failed hook is not set
    // Program-chunk mode stores no value; the conversion only advances the smoothing state.
    (void)parameters_[static_cast<std::size_t>(index)]->HostToParameter(value);
    RequestEditIdle(); // UpdateParameter for a valid index
}

std::string TVSTModuleWithPrograms::GetParameterName(int index) const {
    return ValidParameter(index) ? parameters_[static_cast<std::size_t>(index)]->DisplayName()
                                 : "undefined";
}

std::string TVSTModuleWithPrograms::GetParameterLabel(int index) const {
    return ValidParameter(index) ? parameters_[static_cast<std::size_t>(index)]->Units
                                 : "undefined";
}

std::string TVSTModuleWithPrograms::GetParameterDisplay(int index) {
    if (!ValidParameter(index))
        return "undefined";
    try {
        return FormatSingle(GetParameter(index), false, platform::DecimalSeparator());
    } catch (...) {
        return "error";
    }
}

VstIntPtr TVSTModuleWithPrograms::GetChunk(bool isPreset, void* ptr) {
    if (programs_.empty() || ptr == nullptr)
        return 0;
    if (isPreset) {
        TVstProgram& program = *programs_[static_cast<std::size_t>(currentProgram_)];
        program.ProgramChunk.SetPosition(0);
        OnStoreChunk(program, currentProgram_, true);
        *static_cast<const void**>(ptr) = program.ProgramChunk.Data();
        return static_cast<VstIntPtr>(program.ProgramChunk.Size());
    }
    bankChunk_.clear();
    for (int i = 0; i < ProgramCount(); ++i) {
        TVstProgram& program = *programs_[static_cast<std::size_t>(i)];
        program.ProgramChunk.SetPosition(0);
        OnStoreChunk(program, i, false);
        AppendBankEntry(bankChunk_, program.ProgramChunk.Bytes());
    }
    *static_cast<const void**>(ptr) = bankChunk_.data();
    return static_cast<VstIntPtr>(bankChunk_.size());
}

VstIntPtr TVSTModuleWithPrograms::SetChunk(bool isPreset, VstIntPtr size, const void* ptr) {
    if (programs_.empty() || ptr == nullptr)
        return 0;
    const auto* data = static_cast<const std::uint8_t*>(ptr);
    const std::size_t available = size > 0 ? static_cast<std::size_t>(size) : 0;
    if (isPreset) {
        TVstProgram& program = *programs_[static_cast<std::size_t>(currentProgram_)];
        program.ProgramChunk.Clear();
        program.ProgramChunk.Write(data, available);
        program.ProgramChunk.SetPosition(0);
        OnLoadChunk(program, currentProgram_, true);
    } else {
        // Counts that run past the host's data end the walk: nothing beyond it is read.
        const std::span<const std::uint8_t> bank(data, available);
        std::size_t offset = 0;
        bool currentLoaded = false;
        for (int i = 0; i < ProgramCount(); ++i) {
            const auto entry = BankEntryAt(bank, offset);
            if (!entry)
                break;
            TVstProgram& program = *programs_[static_cast<std::size_t>(i)];
            program.ProgramChunk.Clear();
            program.ProgramChunk.Write(entry->data(), entry->size());
            program.ProgramChunk.SetPosition(0);
            offset += kBankCountSize + entry->size();
            OnLoadChunk(program, i, false);
            currentLoaded = currentLoaded || i == currentProgram_;
        }
        if (currentLoaded)
            OnLoadChunk(*programs_[static_cast<std::size_t>(currentProgram_)], currentProgram_,
                        false);
    }
    RequestEditIdle();
    return size;
}

VstIntPtr TVSTModuleWithPrograms::HandleOpcode(VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                               void* ptr, float opt) {
    switch (opcode) {
    case effSetProgram:
        SelectProgram(static_cast<int>(value));
        return 0;
    case effGetProgram:
        return currentProgram_;
    case effSetProgramName:
        if (ptr != nullptr && currentProgram_ >= 0)
            programs_[static_cast<std::size_t>(currentProgram_)]->SetDisplayName(std::string(
                static_cast<const char*>(ptr), strnlen(static_cast<const char*>(ptr), 256)));
        return 0;
    case effGetProgramName:
        if (ptr != nullptr)
            CopyToHost(ptr,
                       currentProgram_ >= 0
                           ? programs_[static_cast<std::size_t>(currentProgram_)]->DisplayName()
                           : std::string(),
                       kVstMaxProgNameLen);
        return 0;
    case effGetProgramNameIndexed:
        if (ptr == nullptr || index < 0 || index >= ProgramCount())
            return 0;
        CopyToHost(ptr, programs_[static_cast<std::size_t>(index)]->DisplayName(),
                   kVstMaxProgNameLen);
        return 1;
    case effGetParamName:
        CopyToHost(ptr, GetParameterName(index), kVstMaxParamStrLen);
        return 0;
    case effGetParamLabel:
        CopyToHost(ptr, GetParameterLabel(index), kVstMaxParamStrLen);
        return 0;
    case effGetParamDisplay:
        CopyToHost(ptr, GetParameterDisplay(index), kVstMaxParamStrLen);
        return 0;
    case effCanBeAutomated:
        if (ValidParameter(index))
            return parameters_[static_cast<std::size_t>(index)]->CanBeAutomated ? 1 : 0;
        return 1;
    case effString2Parameter: {
        if (ptr == nullptr)
            return 0;
        if (!ValidParameter(index))
            ThrowIndexOutOfBounds(index);
        // No text conversion is set: the current value is applied and reported unchanged.
        SetParameter(index, GetParameter(index));
        return 0;
    }
    case effGetParameterProperties:
        return 0; // ReportVST2Properties is off
    case effGetChunk:
        return GetChunk(index != 0, ptr);
    case effSetChunk:
        return SetChunk(index != 0, value, ptr);
    default:
        return TVSTModuleWithMidi::HandleOpcode(opcode, index, value, ptr, opt);
    }
}

} // namespace ostinel
