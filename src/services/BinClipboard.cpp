#include "services/BinClipboard.h"

#include "platform/Clipboard.h"
#include "state/ByteOrder.h"
#include "state/MemoryStream.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace ostinel {

namespace {

constexpr const char* kInvalidData = "Invalid data in Clipboard!";
constexpr const char* kNoMemory = "Error! No memory?";
constexpr std::size_t kLengthWordSize = 4;

} // namespace

TBinClipboard::TBinClipboard(platform::IClipboard& clipboard, std::string formatName)
    : clipboard_(clipboard), formatName_(std::move(formatName)) {}

bool TBinClipboard::HasData() const {
    return clipboard_.HasFormat(formatName_);
}

void TBinClipboard::WriteStream(const TMemoryStream& stream) {
    const std::size_t n = stream.Size();
    // The length word is a signed 32-bit count: a larger stream cannot be described.
    if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) - kLengthWordSize)
        throw EBinClipboardError(kNoMemory);
    std::vector<std::uint8_t> block(n + kLengthWordSize);
    codec::StoreLE<std::int32_t>(block.data(), static_cast<std::int32_t>(n));
    const auto bytes = stream.Bytes();
    std::copy(bytes.begin(), bytes.end(), block.begin() + kLengthWordSize);
    clipboard_.SetData(formatName_, block);
}

bool TBinClipboard::ReadStream(TMemoryStream& stream) {
    if (!clipboard_.HasFormat(formatName_))
        return false;
    const std::optional<std::vector<std::uint8_t>> block = clipboard_.GetData(formatName_);
    if (!block)
        throw EBinClipboardError(kNoMemory);
    if (block->size() < kLengthWordSize)
        throw EBinClipboardError(kInvalidData);
    const auto n = codec::LoadLE<std::int32_t>(block->data());
    // A negative length and one reaching past the block are both refused before any copy; the
    // platform may hand back a longer block (rounded up), which is fine.
    if (n < 0 || static_cast<std::size_t>(n) > block->size() - kLengthWordSize)
        throw EBinClipboardError(kInvalidData);
    stream.Clear();
    stream.Write(block->data() + kLengthWordSize, static_cast<std::size_t>(n));
    stream.SetPosition(0);
    return true;
}

} // namespace ostinel
