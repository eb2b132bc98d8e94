#pragma once
// One long-lived plug-in instance per fuzzer process, created with the fuzzer's host callback
// and kept out of the user's folders.
#include "ostinel/Exports.h"
#include "plugin/VstAbi.h"

#include <cstdlib>

namespace ostinel::fuzz {

inline vst::AEffect* SharedPlugin(vst::audioMasterCallback host) {
    static vst::AEffect* effect = [host] {
        setenv("HOME", "/tmp/ostinel-fuzz-home", 1);
        setenv("XDG_CONFIG_HOME", "/tmp/ostinel-fuzz-home/config", 1);
        setenv("XDG_DOCUMENTS_DIR", "/tmp/ostinel-fuzz-home/Documents", 1);
        vst::AEffect* e = CreateEffect(host);
        if (e == nullptr)
            std::abort();
        e->dispatcher(e, vst::effOpen, 0, 0, nullptr, 0);
        return e;
    }();
    return effect;
}

} // namespace ostinel::fuzz
