#include "plugin/BasicVSTModule.h"

#include "common/Error.h"

#include <cstring>

namespace ostinel {

using namespace vst;

namespace {
constexpr std::uint32_t kRecordCookie = 0x4F73744E; // "OstN"
} // namespace

// The functions whose addresses go into the effect record.
struct TEntryPoints {
    static VstIntPtr OSTINEL_VSTCALL Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                VstIntPtr value, void* ptr, float opt) {
        TBasicVSTModule* module = TBasicVSTModule::FromEffect(effect);
        if (module == nullptr || static_cast<std::uint32_t>(opcode) >= kNumDispatcherOpcodes)
            return 0;
        try {
            if (opcode == effClose) {
                module->BeginClose();
                delete module; // the effect record ends with its module
                return 1;
            }
            return module->DispatchOpcode(opcode, index, value, ptr, opt);
        } catch (...) {
            return 0;
        }
    }

    static float OSTINEL_VSTCALL GetParameter(AEffect* effect, VstInt32 index) {
        TBasicVSTModule* module = TBasicVSTModule::FromEffect(effect);
        return module != nullptr ? module->GetParameterForHost(index) : 0.0f;
    }
    static void OSTINEL_VSTCALL SetParameter(AEffect* effect, VstInt32 index, float value) {
        if (TBasicVSTModule* module = TBasicVSTModule::FromEffect(effect))
            module->SetParameterFromHost(index, value);
    }

    // After effClose: entries that do nothing.
    static float OSTINEL_VSTCALL ClosedGetParameter(AEffect*, VstInt32) { return 0.0f; }
    static void OSTINEL_VSTCALL ClosedSetParameter(AEffect*, VstInt32, float) {}
    static void OSTINEL_VSTCALL ClosedProcess(AEffect*, float**, float**, VstInt32) {}
    static void OSTINEL_VSTCALL ClosedProcessDouble(AEffect*, double**, double**, VstInt32) {}

    // Before effOpen: a guard forwards only once its field holds the direct entry, so a host
    // that saved the pointer early reaches the module after effOpen.
    static void OSTINEL_VSTCALL GuardProcess(AEffect* e, float** in, float** out, VstInt32 n) {
        if (e != nullptr && e->process == &TBasicVSTModule::DirectProcess)
            TBasicVSTModule::DirectProcess(e, in, out, n);
    }
    static void OSTINEL_VSTCALL GuardProcessReplacing(AEffect* e, float** in, float** out,
                                                      VstInt32 n) {
        if (e != nullptr && e->processReplacing == &TBasicVSTModule::DirectProcessReplacing)
            TBasicVSTModule::DirectProcessReplacing(e, in, out, n);
    }
    static void OSTINEL_VSTCALL GuardProcessDoubleReplacing(AEffect* e, double** in, double** out,
                                                            VstInt32 n) {
        if (e != nullptr &&
            e->processDoubleReplacing == &TBasicVSTModule::DirectProcessDoubleReplacing)
            TBasicVSTModule::DirectProcessDoubleReplacing(e, in, out, n);
    }
};

TBasicVSTModule::TBasicVSTModule() {
    AEffect& e = record_.effect;
    e.magic = kEffectMagic;
    e.dispatcher = &TEntryPoints::Dispatcher;
    e.process = &TEntryPoints::GuardProcess;
    e.setParameter = &TEntryPoints::SetParameter;
    e.getParameter = &TEntryPoints::GetParameter;
    e.numPrograms = 0;
    e.numParams = 0;
    e.numInputs = 2;
    e.numOutputs = 2;
    e.flags = effFlagsCanReplacing;
    e.ioRatio = 1.0f;
    e.user = this;
    e.uniqueID = 0x4E6F4566; // "NoEf"
    e.processReplacing = &TEntryPoints::GuardProcessReplacing;
    e.processDoubleReplacing = &TEntryPoints::GuardProcessDoubleReplacing;
    record_.module.store(this, std::memory_order_release);
    record_.cookie = kRecordCookie;
}

TBasicVSTModule::~TBasicVSTModule() {
    record_.module.store(nullptr, std::memory_order_release);
    record_.cookie = 0;
}

TBasicVSTModule* TBasicVSTModule::FromEffect(AEffect* effect) noexcept {
    if (effect == nullptr)
        return nullptr;
    auto* record = reinterpret_cast<TEffectRecord*>(effect);
    if (record->cookie != kRecordCookie)
        return nullptr;
    return record->module.load(std::memory_order_acquire);
}

void TBasicVSTModule::ConnectHost(audioMasterCallback callback) {
    hostCallback_ = callback;
    if (CallHost(audioMasterVersion) == 0)
        throw EVstError("AudioMaster Error");

    char product[256] = {};
    CallHost(audioMasterGetProductString, 0, 0, product);
    product[sizeof product - 1] = '\0';
    const std::size_t length = std::strlen(product);
    // Hosts that carry the module in the object field; any non-empty part of these names
    // selects the mode, a longer name does not.
    const bool objectFieldHost =
        length > 0 && (std::strstr("energyXT", product) != nullptr ||
                       std::strstr("Sound Forge Pro 10.0", product) != nullptr);
    if (objectFieldHost) {
        moduleInObjectField_ = true;
        record_.effect.object = this;
        record_.effect.user = nullptr;
    }
}

VstIntPtr TBasicVSTModule::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                    float opt) noexcept {
    if (hostCallback_ == nullptr)
        return 0;
    try {
        return hostCallback_(&record_.effect, opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

VstIntPtr TBasicVSTModule::DispatchOpcode(VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt) {
    if (static_cast<std::uint32_t>(opcode) >= kNumDispatcherOpcodes)
        return 0;
    return HandleOpcode(opcode, index, value, ptr, opt);
}

VstIntPtr TBasicVSTModule::HandleOpcode(VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == effOpen)
        InstallProcessingEntries();
    return 0;
}

void TBasicVSTModule::InstallProcessingEntries() noexcept {
    // Also in object-field mode: the direct entries find the module from the record's address.
    AEffect& e = record_.effect;
    e.setParameter = &TEntryPoints::SetParameter;
    e.getParameter = &TEntryPoints::GetParameter;
    e.process = &TBasicVSTModule::DirectProcess;
    e.processReplacing = &TBasicVSTModule::DirectProcessReplacing;
    e.processDoubleReplacing = &TBasicVSTModule::DirectProcessDoubleReplacing;
}

void TBasicVSTModule::BeginClose() noexcept {
    AEffect& e = record_.effect;
    e.getParameter = &TEntryPoints::ClosedGetParameter;
    e.setParameter = &TEntryPoints::ClosedSetParameter;
    e.process = &TEntryPoints::ClosedProcess;
    e.processReplacing = &TEntryPoints::ClosedProcess;
    e.processDoubleReplacing = &TEntryPoints::ClosedProcessDouble;
    if (moduleInObjectField_)
        e.object = nullptr;
    else
        e.user = nullptr;
    // Calls arriving while the module is being destroyed find no module.
    record_.module.store(nullptr, std::memory_order_release);
}

void TBasicVSTModule::DirectProcess(AEffect* e, float** in, float** out, VstInt32 n) {
    if (e == nullptr || n <= 0 || (in == nullptr && out == nullptr))
        return;
    if (TBasicVSTModule* module = FromEffect(e))
        module->ProcessAccumulating(in, out, n);
}

void TBasicVSTModule::DirectProcessReplacing(AEffect* e, float** in, float** out, VstInt32 n) {
    if (e == nullptr || n <= 0 || (in == nullptr && out == nullptr))
        return;
    if (TBasicVSTModule* module = FromEffect(e))
        module->ProcessReplacing32(in, out, n);
}

void TBasicVSTModule::DirectProcessDoubleReplacing(AEffect* e, double** in, double** out,
                                                   VstInt32 n) {
    if (e == nullptr || n <= 0 || (in == nullptr && out == nullptr))
        return;
    if (TBasicVSTModule* module = FromEffect(e))
        module->ProcessReplacing64(in, out, n);
}

} // namespace ostinel
