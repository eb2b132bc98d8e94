#pragma once
// Root of the module class chain: the effect record the host holds, the stored host callback,
// the entry points in the record and the routing of dispatcher calls to one handler per opcode.
//
// Threads: the dispatcher comes mostly on the host's GUI thread, processing on its audio thread,
// parameters on either. Every entry point catches everything: no exception reaches a host.
#include "plugin/VstAbi.h"

#include <atomic>
#include <cstdint>
#include <type_traits>

namespace ostinel {

class TBasicVSTModule;

// The effect record is embedded in the module with a back pointer beside it, so the module is
// found from the record's own address: some hosts overwrite the record's user field.
struct TEffectRecord {
    vst::AEffect effect;
    std::atomic<TBasicVSTModule*> module;
    std::uint32_t cookie;
};
static_assert(std::is_standard_layout_v<TEffectRecord>);

class TBasicVSTModule {
public:
    TBasicVSTModule();
    virtual ~TBasicVSTModule();
    TBasicVSTModule(const TBasicVSTModule&) = delete;
    TBasicVSTModule& operator=(const TBasicVSTModule&) = delete;

    // The module's OnCreate step; runs once after construction (virtual calls are not possible
    // from a constructor).
    virtual void VSTModuleCreate() {}

    [[nodiscard]] vst::AEffect* EffectRecord() noexcept { return &record_.effect; }
    [[nodiscard]] static TBasicVSTModule* FromEffect(vst::AEffect* effect) noexcept;

    // Stores the callback and probes the host; throws EVstError "AudioMaster Error" when the
    // host answers the version probe with 0.
    virtual void ConnectHost(vst::audioMasterCallback callback);
    vst::VstIntPtr CallHost(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f) noexcept;
    [[nodiscard]] bool HasHostCallback() const noexcept { return hostCallback_ != nullptr; }
    [[nodiscard]] bool ModuleInObjectField() const noexcept { return moduleInObjectField_; }

    // Routes opcodes 0..79 to their handlers; anything else answers 0.
    virtual vst::VstIntPtr DispatchOpcode(vst::VstInt32 opcode, vst::VstInt32 index,
                                          vst::VstIntPtr value, void* ptr, float opt);
    // The handler of one opcode. Subclasses override it for the opcodes of their concern and
    // pass the rest on.
    virtual vst::VstIntPtr HandleOpcode(vst::VstInt32 opcode, vst::VstInt32 index,
                                        vst::VstIntPtr value, void* ptr, float opt);

    virtual float GetParameterForHost(vst::VstInt32 /*index*/) noexcept { return 0.0f; }
    virtual void SetParameterFromHost(vst::VstInt32 /*index*/, float /*value*/) noexcept {}

    // Processing operations (accumulating, 32-bit and 64-bit replacing).
    virtual void ProcessAccumulating(float** /*in*/, float** /*out*/, std::int32_t /*n*/) noexcept {
    }
    virtual void ProcessReplacing32(float** /*in*/, float** /*out*/, std::int32_t /*n*/) noexcept {}
    virtual void ProcessReplacing64(double** /*in*/, double** /*out*/,
                                    std::int32_t /*n*/) noexcept {}

    // effOpen: install the direct processing entries.
    void InstallProcessingEntries() noexcept;

    // Direct processing entries, public so the Winamp adapter and the guards can name them.
    static void OSTINEL_VSTCALL DirectProcess(vst::AEffect*, float**, float**, vst::VstInt32);
    static void OSTINEL_VSTCALL DirectProcessReplacing(vst::AEffect*, float**, float**,
                                                       vst::VstInt32);
    static void OSTINEL_VSTCALL DirectProcessDoubleReplacing(vst::AEffect*, double**, double**,
                                                             vst::VstInt32);

protected:
    vst::AEffect& Effect() noexcept { return record_.effect; }
    const vst::AEffect& Effect() const noexcept { return record_.effect; }

private:
    friend struct TEntryPoints;
    void BeginClose() noexcept;

    TEffectRecord record_{};
    vst::audioMasterCallback hostCallback_ = nullptr;
    bool moduleInObjectField_ = false;
};

} // namespace ostinel
