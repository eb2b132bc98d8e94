#pragma once
// Reads tagged values from a byte span that the caller keeps alive. Every read is bounds-checked
// against the span; a read that fails throws and leaves the position where it was. Data
// reaching past the end fails with "Stream read error", an unexpected tag with "Invalid
// property value". Used on the GUI thread only.
#include "state/ValueTag.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ostinel {

class TValueReader {
public:
    explicit TValueReader(std::span<const uint8_t> data) noexcept : data_(data) {}

    // "Invalid stream format" unless the next four bytes are "TPF0" (also when fewer than four
    // bytes remain: such data is not a value stream at all).
    void ReadSignature();
    void ReadListBegin();
    void ReadListEnd();
    // Whether the next tag is an end of list, without consuming it. At the end of the data it
    // fails with "Stream read error", like every read past the end, so a loop over list items
    // cannot end silently on truncated data.
    [[nodiscard]] bool EndOfList() const;
    // The next tag, not consumed; "Stream read error" at the end of the data. The byte need
    // not be a known tag.
    [[nodiscard]] TValueTag NextTag() const;

    // Accepts the 8-, 16- and 32-bit integer tags.
    [[nodiscard]] int32_t ReadInteger();
    // Accepts the 80-bit and 64-bit float tags and all four integer tags (64-bit integers are
    // rounded to the nearest double). Extended values beyond the double range give +-infinity.
    [[nodiscard]] double ReadFloat();
    // ReadFloat narrowed to 32 bits, rounding to nearest; beyond the float range +-infinity.
    [[nodiscard]] float ReadFloat32();
    [[nodiscard]] bool ReadBoolean();
    // UTF-8 result. Single-byte texts are decoded as Windows-1252; malformed UTF-8 or UTF-16
    // becomes U+FFFD. Lengths are unsigned and checked against the data before anything is
    // allocated.
    [[nodiscard]] std::string ReadString();

    // Offset of the next byte from the start of the span.
    [[nodiscard]] size_t Position() const noexcept { return position_; }
    [[nodiscard]] size_t Size() const noexcept { return data_.size(); }

private:
    std::span<const uint8_t> data_;
    size_t position_ = 0;
};

} // namespace ostinel
