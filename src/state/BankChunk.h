#pragma once
// Bank chunk framing: per program a 32-bit little-endian byte count, then that many bytes of
// the program's chunk. Used by the module's bank chunk and by tools that read or write one.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ostinel {

inline constexpr std::size_t kBankCountSize = 4;

// Appends the count and the program's bytes.
void AppendBankEntry(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> program);

// The program bytes of the entry at `offset`, or nullopt when its count or its bytes run past
// the data (a truncated bank ends the walk there).
[[nodiscard]] std::optional<std::span<const std::uint8_t>>
BankEntryAt(std::span<const std::uint8_t> data, std::size_t offset) noexcept;

} // namespace ostinel
