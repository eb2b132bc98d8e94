// The library's exported entry points: VST 2.4 (`VSTPluginMain`, also exported as `main`) and
// Winamp DSP (`winampDSPGetHeader2`). Only the plug-in binary contains this file.
#include "ostinel/Exports.h"
#include "ostinel/WinampDsp.h"

extern "C" OSTINEL_EXPORT ostinel::vst::AEffect* OSTINEL_VSTCALL
VSTPluginMain(ostinel::vst::audioMasterCallback host) {
    return ostinel::CreateEffect(host);
}

#if !defined(_WIN32)
// The same function under the name some hosts look for; Windows exports it through the .def
// file instead.
extern "C" OSTINEL_EXPORT ostinel::vst::AEffect*
OstinelMainAlias(ostinel::vst::audioMasterCallback host) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif

extern "C" OSTINEL_EXPORT ostinel::winamp::winampDSPHeader* winampDSPGetHeader2() {
    return ostinel::winamp::GetHeader();
}
