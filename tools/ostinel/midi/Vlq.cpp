#include "midi/Vlq.h"

#include "common/Error.h"

#include <string>

namespace ostinel::smf {

VlqRead DecodeVlq(std::span<const uint8_t> bytes) {
    VlqRead result;
    for (std::size_t i = 0; i < kMaxVlqBytes; ++i) {
        if (i >= bytes.size()) {
            result.status = VlqStatus::Truncated;
            return result;
        }
        const uint8_t byte = bytes[i];
        result.value = (result.value << 7) | (byte & 0x7Fu);
        if ((byte & 0x80u) == 0) {
            result.length = i + 1;
            return result;
        }
    }
    result.status = VlqStatus::TooLong;
    return result;
}

std::size_t VlqSize(uint32_t value) {
    std::size_t size = 1;
    while (value > 0x7F) {
        value >>= 7;
        ++size;
    }
    return size;
}

void AppendVlq(std::vector<uint8_t>& out, uint32_t value) {
    if (value > kMaxVlq) {
        throw Error("Value " + std::to_string(value) +
                    " does not fit a MIDI variable-length quantity");
    }
    const std::size_t size = VlqSize(value);
    for (std::size_t i = size; i-- > 0;) {
        auto byte = static_cast<uint8_t>((value >> (7 * i)) & 0x7Fu);
        if (i != 0) {
            byte |= 0x80u;
        }
        out.push_back(byte);
    }
}

} // namespace ostinel::smf
