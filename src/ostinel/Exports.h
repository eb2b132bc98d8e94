#pragma once
#include "plugin/VstAbi.h"

#if defined(_WIN32)
#define OSTINEL_EXPORT
#else
#define OSTINEL_EXPORT __attribute__((visibility("default")))
#endif

namespace ostinel {
// Creates, configures and connects one module; null when that fails.
[[nodiscard]] vst::AEffect* CreateEffect(vst::audioMasterCallback host) noexcept;
} // namespace ostinel
