#include "state/BankChunk.h"

#include "state/ByteOrder.h"

namespace ostinel {

void AppendBankEntry(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> program) {
    const std::size_t at = out.size();
    out.resize(at + kBankCountSize);
    codec::StoreLE<std::uint32_t>(out.data() + at, static_cast<std::uint32_t>(program.size()));
    out.insert(out.end(), program.begin(), program.end());
}

std::optional<std::span<const std::uint8_t>> BankEntryAt(std::span<const std::uint8_t> data,
                                                         std::size_t offset) noexcept {
    if (offset > data.size() || data.size() - offset < kBankCountSize)
        return std::nullopt;
    const std::size_t n = codec::LoadLE<std::uint32_t>(data.data() + offset);
    if (n > data.size() - offset - kBankCountSize)
        return std::nullopt;
    return data.subspan(offset + kBankCountSize, n);
}

} // namespace ostinel
