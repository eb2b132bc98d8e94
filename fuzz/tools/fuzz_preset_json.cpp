// libFuzzer target for the JSON side of `ostinel build`: any text either fails with an
// ostinel::Error or gives a state whose bytes survive dump -> build unchanged.
#include "preset/PresetJson.h"
#include "preset/PresetState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ostinel::cli;
    PresetState state;
    try {
        state = PresetFromJson(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const ostinel::Error&) {
        return 0;
    }
    const std::vector<std::uint8_t> bytes = WritePreset(state);
    const PresetState back = PresetFromJson(PresetToJson(ReadPreset(bytes)));
    if (WritePreset(back) != bytes)
        std::abort();
    return 0;
}
