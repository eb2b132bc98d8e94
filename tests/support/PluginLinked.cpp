// Entry points of the plug-in code linked into the test executable.
#include "ostinel/Exports.h"
#include "ostinel/WinampDsp.h"
#include "support/PluginInstance.h"

namespace ostinel::test {

namespace {
vst::AEffect* OSTINEL_VSTCALL LinkedMain(vst::audioMasterCallback host) {
    return CreateEffect(host);
}
} // namespace

const EntryPoints& Entries() {
    static const EntryPoints entries{&LinkedMain, &LinkedMain,
                                     []() -> void* { return winamp::GetHeader(); }};
    return entries;
}

std::string EntriesDescription() {
    return "linked";
}

} // namespace ostinel::test
