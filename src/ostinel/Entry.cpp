// Creating a module for a host: what the exported entry point does.
#include "ostinel/Exports.h"
#include "ostinel/VSTPlugin.h"

#include <memory>

namespace ostinel {

vst::AEffect* CreateEffect(vst::audioMasterCallback host) noexcept {
    try {
        auto module = std::make_unique<TVSTPlugin>();
        module->VSTModuleCreate();
        module->ConnectHost(host);
        return module.release()->EffectRecord(); // owned by the host until effClose
    } catch (...) {
        return nullptr;
    }
}

} // namespace ostinel
