// Host chunks are outside data: feed arbitrary bytes to effSetChunk through the preset path and
// the bank path of one long-lived instance, then check the state still serialises.
#include "FuzzPlugin.h"
#include "plugin/VstAbi.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace ostinel::vst;

VstIntPtr OSTINEL_VSTCALL Host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

AEffect* Plugin() {
    return ostinel::fuzz::SharedPlugin(&Host);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AEffect* e = Plugin();
    if (size == 0)
        return 0;
    // The first byte picks the path; the plug-in must not keep the host's memory.
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    const VstInt32 isPreset = (data[0] & 1) ? 1 : 0;
    e->dispatcher(e, effSetChunk, isPreset, static_cast<VstIntPtr>(bytes.size()),
                  bytes.empty() ? nullptr : bytes.data(), 0);
    // Writing the whole state is slow next to reading a fuzzed one; check it now and then.
    static unsigned inputs = 0;
    if (++inputs % 16 != 0)
        return 0;
    void* chunk = nullptr;
    const VstIntPtr n = e->dispatcher(e, effGetChunk, isPreset, 0, &chunk, 0);
    if (n <= 0 || chunk == nullptr)
        std::abort(); // a state always serialises
    return 0;
}
