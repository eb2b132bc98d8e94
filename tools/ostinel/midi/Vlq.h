#pragma once
// Variable-length quantities of Standard MIDI Files: 7 bits per byte, most significant first,
// bit 7 set on every byte but the last, at most 4 bytes (values up to 0x0FFFFFFF).
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ostinel::smf {

inline constexpr uint32_t kMaxVlq = 0x0FFFFFFF;
inline constexpr std::size_t kMaxVlqBytes = 4;

enum class VlqStatus : uint8_t { Ok, Truncated, TooLong };

struct VlqRead {
    uint32_t value = 0;
    std::size_t length = 0; // bytes consumed when Ok
    VlqStatus status = VlqStatus::Ok;
};

// Decodes the quantity at the start of bytes; never reads past bytes.
[[nodiscard]] VlqRead DecodeVlq(std::span<const uint8_t> bytes);

// Number of bytes AppendVlq writes for value (value <= kMaxVlq).
[[nodiscard]] std::size_t VlqSize(uint32_t value);

// Throws ostinel::Error when value exceeds kMaxVlq.
void AppendVlq(std::vector<uint8_t>& out, uint32_t value);

} // namespace ostinel::smf
