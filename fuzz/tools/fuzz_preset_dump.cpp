// libFuzzer target for `ostinel dump`: any bytes either fail with an ostinel::Error or give a
// state whose text and JSON views can be made, and whose JSON builds back the same bytes.
#include "preset/PresetJson.h"
#include "preset/PresetState.h"
#include "preset/PresetText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ostinel::cli;
    PresetState state;
    try {
        state = ReadPreset(std::span<const std::uint8_t>(data, size));
    } catch (const ostinel::Error&) {
        return 0;
    }
    (void)PresetToText(state);
    const std::string json = PresetToJson(state);
    // build accepts only controller numbers a CC can have; the plug-in ignores the others.
    for (const CcAssignment& cc : state.ccAssignments)
        if (cc.number < 0 || cc.number > 127)
            return 0;
    if (WritePreset(PresetFromJson(json)) != WritePreset(state))
        std::abort();
    return 0;
}
