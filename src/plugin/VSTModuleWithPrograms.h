#pragma once
// Programs, parameter properties and chunks. The module runs in program-chunk mode: parameter
// values are supplied by the plug-in and the state lives in each program's chunk stream.
//
// Threads: programs, chunks and parameter texts come on the GUI thread; getParameter and
// setParameter may come on any thread and touch only atomics.
#include "plugin/VSTModuleWithMidi.h"
#include "state/MemoryStream.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace ostinel {

class TVstProgram {
public:
    explicit TVstProgram(std::string name = "Init") { SetDisplayName(std::move(name)); }
    [[nodiscard]] const std::string& DisplayName() const noexcept { return displayName_; }
    void SetDisplayName(std::string name); // keeps the first 50 characters
    TMemoryStream ProgramChunk;

private:
    std::string displayName_;
};

enum class TCurveType { ctLinear };

class TCustomVstParameterProperty {
public:
    explicit TCustomVstParameterProperty(int index);

    [[nodiscard]] const std::string& DisplayName() const noexcept { return displayName_; }
    void SetDisplayName(std::string name); // cut to 64 characters
    void SetShortLabel(std::string label); // cut to 7 characters
    [[nodiscard]] const std::string& ShortLabel() const noexcept { return shortLabel_; }
    std::string Units;
    float Min = 0.0f;
    float Max = 1.0f;
    TCurveType Curve = TCurveType::ctLinear;
    float SmoothingFactor = 0.0f;
    bool CanBeAutomated = true;
    bool ReportVST2Properties = false;
    std::int32_t CC = -1;

    [[nodiscard]] float ParameterToHost(float x) const noexcept;
    // Updates the smoothing state; safe from any thread.
    [[nodiscard]] float HostToParameter(float v) noexcept;

private:
    std::string displayName_;
    std::string shortLabel_;
    std::atomic<float> smoothingState_{0.0f};
};

class TVSTModuleWithPrograms : public TVSTModuleWithMidi {
public:
    TVSTModuleWithPrograms();

    vst::VstIntPtr HandleOpcode(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value,
                                void* ptr, float opt) override;

    TVstProgram& AddProgram(std::string name);
    TCustomVstParameterProperty& AddParameter();
    [[nodiscard]] int ProgramCount() const noexcept { return static_cast<int>(programs_.size()); }
    [[nodiscard]] int ParameterCount() const noexcept {
        return static_cast<int>(parameters_.size());
    }
    [[nodiscard]] int CurrentProgram() const noexcept { return currentProgram_; }
    [[nodiscard]] TVstProgram& Program(int index) {
        return *programs_.at(static_cast<std::size_t>(index));
    }
    [[nodiscard]] TCustomVstParameterProperty& ParameterProperty(int index) {
        return *parameters_.at(static_cast<std::size_t>(index));
    }

    void SelectProgram(int index);

    // Parameter values in parameter units. GetParameter and SetParameter are audio-safe for a
    // valid index.
    [[nodiscard]] float GetParameter(int index) noexcept;
    void SetParameter(int index, float value) noexcept;
    void SetParameterByName(const std::string& name, float value);
    void UpdateParameter(int index, float value); // throws "Index out of bounds (%d)"

    float GetParameterForHost(vst::VstInt32 index) noexcept override;
    void SetParameterFromHost(vst::VstInt32 index, float value) noexcept override;

    [[nodiscard]] std::string GetParameterName(int index) const;
    [[nodiscard]] std::string GetParameterLabel(int index) const;
    [[nodiscard]] std::string GetParameterDisplay(int index);

protected:
    // Program-chunk mode: the plug-in supplies parameter values (OnGetChunkParameter).
    [[nodiscard]] virtual float OnGetChunkParameter(int /*index*/) noexcept { return 0.0f; }
    // A program's chunk events (OnStoreChunk / OnLoadChunk).
    virtual void OnStoreChunk(TVstProgram& /*program*/, int /*index*/, bool /*isPreset*/) {}
    virtual void OnLoadChunk(TVstProgram& /*program*/, int /*index*/, bool /*isPreset*/) {}

private:
    vst::VstIntPtr GetChunk(bool isPreset, void* ptr);
    vst::VstIntPtr SetChunk(bool isPreset, vst::VstIntPtr size, const void* ptr);
    void ReportAutomation(int index, float hostValue) noexcept;
    [[nodiscard]] bool ValidParameter(int index) const noexcept {
        return index >= 0 && index < ParameterCount();
    }

    std::vector<std::unique_ptr<TVstProgram>> programs_;
    std::vector<std::unique_ptr<TCustomVstParameterProperty>> parameters_;
    int currentProgram_ = -1;
    std::vector<std::uint8_t> bankChunk_;
};

} // namespace ostinel
