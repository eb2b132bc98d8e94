#pragma once
// Reads tagged values from a byte span that the caller keeps alive. Every read is bounds-checked
// against the span; a read that fails throws and leaves the position where it was. Data
// reaching past the end fails with "Stream read error", an unexpected tag with "Invalid
// property value". Used on the GUI thread only.
#include "state/Extended80.h"
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
    // Inline when the expected tag is there: a state is some hundred thousand values.
    void ReadListBegin() {
        if (!TakeTagIf(TValueTag::ListBegin))
            FailTag();
    }
    void ReadListEnd() {
        if (!TakeTagIf(TValueTag::EndOfList))
            FailTag();
    }
    // Whether the next tag is an end of list, without consuming it. At the end of the data it
    // fails with "Stream read error", like every read past the end, so a loop over list items
    // cannot end silently on truncated data.
    [[nodiscard]] bool EndOfList() const {
        if (position_ < data_.size())
            return data_[position_] == static_cast<uint8_t>(TValueTag::EndOfList);
        return NextTag() == TValueTag::EndOfList; // fails
    }
    // The next tag, not consumed; "Stream read error" at the end of the data. The byte need
    // not be a known tag.
    [[nodiscard]] TValueTag NextTag() const;

    // Accepts the 8-, 16- and 32-bit integer tags.
    [[nodiscard]] int32_t ReadInteger();
    // Accepts the 80-bit and 64-bit float tags and all four integer tags (64-bit integers are
    // rounded to the nearest double). Extended values beyond the double range give +-infinity.
    [[nodiscard]] double ReadFloat();
    // ReadFloat narrowed to 32 bits, rounding to nearest; beyond the float range +-infinity.
    // Inline for the usual case, an 80-bit value that a float holds exactly.
    [[nodiscard]] float ReadFloat32() {
        float value = 0.0f;
        if (position_ < data_.size() && data_.size() - position_ > codec::kExtendedSize &&
            data_[position_] == static_cast<uint8_t>(TValueTag::Extended) &&
            codec::ExtendedToFloatIfExact(std::span<const uint8_t, codec::kExtendedSize>(
                                              data_.data() + position_ + 1, codec::kExtendedSize),
                                          value)) {
            position_ += 1 + codec::kExtendedSize;
            return value;
        }
        return ReadFloat32Narrowed();
    }
    [[nodiscard]] bool ReadBoolean();
    // UTF-8 result. Single-byte texts are decoded as Windows-1252; malformed UTF-8 or UTF-16
    // becomes U+FFFD. Lengths are unsigned and checked against the data before anything is
    // allocated.
    [[nodiscard]] std::string ReadString();

    // Offset of the next byte from the start of the span.
    [[nodiscard]] size_t Position() const noexcept { return position_; }
    [[nodiscard]] size_t Size() const noexcept { return data_.size(); }

private:
    // Consumes the next byte when it is `tag`.
    [[nodiscard]] bool TakeTagIf(TValueTag tag) noexcept {
        if (position_ < data_.size() && data_[position_] == static_cast<uint8_t>(tag)) {
            ++position_;
            return true;
        }
        return false;
    }
    // The error of an unexpected tag: "Stream read error" at the end of the data, else
    // "Invalid property value". Leaves the position unchanged.
    [[noreturn]] void FailTag() const;
    [[nodiscard]] float ReadFloat32Narrowed();

    std::span<const uint8_t> data_;
    size_t position_ = 0;
};

} // namespace ostinel
